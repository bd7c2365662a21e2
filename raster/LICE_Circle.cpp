#include <algorithm>
#include <cmath>
#include <vector>

#include "raster/LICE_Primitives.h"
#include "raster/PixelCombine.h"

namespace
{
constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = 6.2831855f;
constexpr float kHalfPi = 1.5707964f;
// Far beyond any editor; bounds the work a single call can cause.
constexpr float kMaxRadius = 65536.0f;

// One outline pixel of the first octant, (a, b) with a <= b, and its
// coverage; it stands for up to eight pixels around the centre.
struct OctantPixel
{
  int a;
  int b;
  float coverage;
};

// The outline as first-octant pixels. A pixel reached twice (near the
// diagonal or the axes) appears once, with the coverages added, so every
// drawn pixel is blended exactly once and the eight octants come out equal.
std::vector<OctantPixel> OutlinePixels(float r, bool aa)
{
  std::vector<OctantPixel> out;
  // Negative, NaN and absurdly large radii draw nothing.
  if (!(r >= 0.0f && r <= kMaxRadius)) return out;
  out.reserve(static_cast<size_t>(std::min(std::fabs(r), 4096.0f)) * 2 + 8);
  // Two steps can reach the same pixel only next to each other (near the
  // diagonal), or anywhere on a circle of a few pixels: looking back over the
  // last eight entries finds every repeat.
  auto add = [&out](int p, int q, float cov) {
    const int a = std::min(p, q), b = std::max(p, q);
    const size_t back = std::min<size_t>(out.size(), 8);
    for (size_t k = out.size() - back; k < out.size(); ++k)
      if (out[k].a == a && out[k].b == b)
      {
        out[k].coverage = std::min(1.0f, out[k].coverage + cov);
        return;
      }
    out.push_back({a, b, cov});
  };

  if (aa)
  {
    const float h = std::floor(r);
    const float frac = r - h;
    const int ih = static_cast<int>(h);
    add(0, ih + 1, frac);
    add(0, ih, 1.0f - frac);
    for (int i = 1;; ++i)
    {
      const float y2 = r * r - static_cast<float>(i) * static_cast<float>(i);
      if (y2 < 0.0f) break;
      const float y = std::sqrt(y2);
      if (std::floor(y + 0.5f) < static_cast<float>(i)) break;
      const float fy = std::floor(y);
      const float f = y - fy;
      add(i, static_cast<int>(fy), 1.0f - f);
      add(i, static_cast<int>(fy) + 1, f);
    }
  }
  else
  {
    // Midpoint rasterisation of the rounded radius.
    const int rr = TruncToInt32(r + 0.5f);
    if (rr < 0) return out;
    int x = 0, y = rr, d = 1 - rr;
    while (x <= y)
    {
      add(x, y, 1.0f);
      if (d < 0)
        d += 2 * x + 3;
      else
      {
        d += 2 * (x - y) + 5;
        --y;
      }
      ++x;
    }
  }

  return out;
}

// Plots outline pixels into one clip rectangle of stored-row coordinates.
struct OutlinePlotter
{
  LICE_pixel* bits;
  int span;
  LICE_pixel color;
  float weight;   // colour alpha already applied
  int combine;
  int cx, cy;
  int clipL, clipT, clipR, clipB;

  void PlotAll(const std::vector<OctantPixel>& pixels) const
  {
    // Most mirrored positions fall outside a quarter's clip rectangle, so the
    // test is kept inline and cheap.
    auto Plot = [this](int x, int y, int w) {
      if (x < clipL || x >= clipR || y < clipT || y >= clipB) return;
      LICE_pixel* p = bits + static_cast<long long>(y) * span + x;
      *p = lice::FillPixel(*p, color, w, combine);
    };
    for (const OctantPixel& px : pixels)
    {
      // Pixels whose every mirror image misses the clip rectangle are skipped.
      if (cx + px.b < clipL || cx - px.b >= clipR || cy + px.b < clipT || cy - px.b >= clipB) continue;
      const int w = lice::IntWeight(weight * px.coverage);
      if (w <= 0) continue;
      const int a = px.a, b = px.b;
      // (a, b) mirrored into all eight octants, each distinct pixel once.
      if (b == 0)
      {
        Plot(cx, cy, w);
      }
      else if (a == 0)
      {
        Plot(cx, cy - b, w);
        Plot(cx + b, cy, w);
        Plot(cx, cy + b, w);
        Plot(cx - b, cy, w);
      }
      else if (a == b)
      {
        Plot(cx + a, cy - a, w);
        Plot(cx + a, cy + a, w);
        Plot(cx - a, cy + a, w);
        Plot(cx - a, cy - a, w);
      }
      else
      {
        Plot(cx + a, cy - b, w);
        Plot(cx + b, cy - a, w);
        Plot(cx + b, cy + a, w);
        Plot(cx + a, cy + b, w);
        Plot(cx - a, cy + b, w);
        Plot(cx - b, cy + a, w);
        Plot(cx - b, cy - a, w);
        Plot(cx - a, cy - b, w);
      }
    }
  }
};

// Whether an outline of radius r around (cx, cy) can reach a w x h bitmap:
// its centre lies within r plus the antialiased rim of the bitmap. Decided
// in floating point, so a centre far away (or NaN, or infinite) is refused
// before it becomes a pixel coordinate near the ends of the int range, where
// adding the radius would overflow.
bool OutlineMayReach(float cx, float cy, float r, int w, int h)
{
  if (!(r >= 0.0f && r <= kMaxRadius)) return false;
  const float reach = r + 2.0f;
  return cx >= -reach && cx <= static_cast<float>(w) + reach && cy >= -reach && cy <= static_cast<float>(h) + reach;
}

// Everything the outline drawing needs, in stored-row coordinates; false
// when nothing can be drawn.
bool MakePlotter(LICE_IBitmap* dest, float cx, float cy, float r, LICE_pixel color, float alpha, int mode,
                 OutlinePlotter* out)
{
  if (!dest) return false;
  LICE_pixel* bits = dest->getBits();
  const int span = dest->getRowSpan();
  if (!bits || span == 0 || dest->getWidth() <= 0 || dest->getHeight() <= 0) return false;
  if (!OutlineMayReach(cx, cy, r, dest->getWidth(), dest->getHeight())) return false;
  if (mode & LICE_BLIT_USE_ALPHA) alpha *= static_cast<float>(LICE_GETA(color)) * 0.003921569f;
  if (lice::IntWeight(alpha) <= 0) return false;
  out->bits = bits;
  out->span = span;
  out->color = color;
  out->weight = alpha;
  out->combine = lice::CombineOf(mode);
  out->cx = TruncToInt32(cx + 0.5f);
  out->cy = TruncToInt32(cy + 0.5f);
  out->clipL = 0;
  out->clipT = 0;
  out->clipR = dest->getWidth();
  out->clipB = dest->getHeight();
  return true;
}

// Rounded end point coordinate of an arc piece, and how far the clip must
// reach past it: one pixel, or two when the exact point lies between pixels.
struct PieceEdge
{
  int pos;
  int reach;
};

PieceEdge EdgeOf(float v)
{
  const float rounded = std::floor(v + 0.5f);
  return {TruncToInt32(rounded), v == std::floor(v) ? 1 : 2};
}
} // namespace

void LICE_Circle(LICE_IBitmap* dest, float cx, float cy, float r, LICE_pixel color, float alpha,
                 int mode, bool aa)
{
  if (!dest) return;
  if (dest->isFlipped()) cy = static_cast<float>(dest->getHeight() - 1) - cy;
  OutlinePlotter plotter;
  if (!MakePlotter(dest, cx, cy, r, color, alpha, mode, &plotter)) return;
  plotter.PlotAll(OutlinePixels(r, aa));
}

void LICE_Arc(LICE_IBitmap* dest, float cx, float cy, float r, float minAngle, float maxAngle,
              LICE_pixel color, float alpha, int mode, bool aa)
{
  if (!dest) return;
  if (dest->isFlipped())
  {
    minAngle = kPi - minAngle;
    maxAngle = kPi - maxAngle;
    cy = static_cast<float>(dest->getHeight() - 1) - cy;
  }
  if (minAngle > maxAngle) std::swap(minAngle, maxAngle);

  OutlinePlotter plotter;
  if (maxAngle - minAngle >= kTwoPi)
  {
    if (MakePlotter(dest, cx, cy, r, color, alpha, mode, &plotter)) plotter.PlotAll(OutlinePixels(r, aa));
    return;
  }
  if (!(maxAngle - minAngle >= 0.0f)) return; // NaN angles

  // Start brought into [0, 2 pi); the end keeps its distance from it.
  const float span = maxAngle - minAngle;
  float start = std::fmod(minAngle, kTwoPi);
  if (start < 0.0f) start += kTwoPi;
  const float end = start + span;

  if (lice::IntWeight(alpha) <= 0) return;
  if (!MakePlotter(dest, cx, cy, r, color, alpha, mode, &plotter)) return;
  const std::vector<OctantPixel> pixels = OutlinePixels(r, aa);
  const int bmW = plotter.clipR, bmH = plotter.clipB;

  // One piece per quadrant: each is drawn as the whole outline clipped to
  // the rectangle spanned by its two end points.
  float a0 = start;
  while (a0 < end)
  {
    float a1 = (std::floor(a0 / kHalfPi) + 1.0f) * kHalfPi;
    if (a1 <= a0) a1 = a0 + kHalfPi; // guards a float floor landing on a0
    if (a1 > end) a1 = end;

    const float x0 = cx + r * std::sin(a0), y0 = cy - r * std::cos(a0);
    const float x1 = cx + r * std::sin(a1), y1 = cy - r * std::cos(a1);
    const PieceEdge ex0 = EdgeOf(x0), ex1 = EdgeOf(x1), ey0 = EdgeOf(y0), ey1 = EdgeOf(y1);
    plotter.clipL = std::max(0, std::min(ex0.pos, ex1.pos));
    plotter.clipT = std::max(0, std::min(ey0.pos, ey1.pos));
    plotter.clipR = std::min(bmW, std::max(ex0.pos + ex0.reach, ex1.pos + ex1.reach));
    plotter.clipB = std::min(bmH, std::max(ey0.pos + ey0.reach, ey1.pos + ey1.reach));
    if (plotter.clipL < plotter.clipR && plotter.clipT < plotter.clipB) plotter.PlotAll(pixels);

    a0 = a1;
  }
}
