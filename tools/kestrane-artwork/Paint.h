#pragma once

#include <functional>

// Colours and paints of the artwork. Channels are floats: r, g, b on the
// 0..255 scale, a (opacity) 0..1, so gradients and blends lose nothing before
// the final rounding into a pixel.
namespace art
{
struct Rgba
{
  float r = 0.0f, g = 0.0f, b = 0.0f, a = 0.0f;
};

constexpr Rgba Rgb(int r, int g, int b, float a = 1.0f)
{
  return Rgba{static_cast<float>(r), static_cast<float>(g), static_cast<float>(b), a};
}
inline Rgba WithAlpha(Rgba c, float a)
{
  c.a = a;
  return c;
}
// t = 0 gives a, t = 1 gives b; t is clamped to 0..1.
Rgba Mix(const Rgba& a, const Rgba& b, float t);
// Moves the colour toward white (amount > 0) or black (amount < 0).
Rgba Lighten(const Rgba& c, float amount);

// The colour a fill puts at a point (pixel centres are at +0.5).
using Paint = std::function<Rgba(float x, float y)>;

Paint Solid(Rgba c);
// From c0 at (x0, y0) to c1 at (x1, y1), constant beyond the ends.
Paint Linear(float x0, float y0, Rgba c0, float x1, float y1, Rgba c1);
inline Paint Vertical(float y0, Rgba c0, float y1, Rgba c1)
{
  return Linear(0.0f, y0, c0, 0.0f, y1, c1);
}
// From c0 at the centre to c1 at radius r and beyond.
Paint Radial(float cx, float cy, float r, Rgba c0, Rgba c1);
} // namespace art
