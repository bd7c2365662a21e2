#pragma once

#include <vector>

#include "raster/LICE_MemBitmap.h"
#include "tools/kestrane-artwork/Paint.h"
#include "tools/kestrane-artwork/Shape.h"

namespace art
{
// Per-pixel coverage (0..1) over a rectangle of w x h pixels.
class Mask
{
public:
  Mask(int w, int h) : mW(w), mH(h), mValues(static_cast<size_t>(w) * h, 0.0f) {}
  // The shape's coverage, with the mask's pixel (0, 0) at (originX, originY).
  static Mask Of(const Shape& shape, int w, int h, int originX = 0, int originY = 0);

  int Width() const { return mW; }
  int Height() const { return mH; }
  float At(int x, int y) const { return mValues[static_cast<size_t>(y) * mW + x]; }
  float& At(int x, int y) { return mValues[static_cast<size_t>(y) * mW + x]; }
  // Approximately Gaussian blur (three box passes each way) of the given
  // radius; the total coverage is kept.
  void Blur(float radius);

private:
  int mW, mH;
  std::vector<float> mValues;
};

// An image being drawn: a LICE bitmap with straight alpha, painted by
// compositing paints through shapes, masks and other canvases "over" what is
// there. The raster library's own blends treat the destination as opaque;
// these blends are exact on transparent pixels too, which the images with an
// alpha channel need (no dark fringes where a shape meets nothing).
class Canvas
{
public:
  Canvas(int w, int h, Rgba fill = Rgba{});
  Canvas(const Canvas& other);
  Canvas& operator=(const Canvas&) = delete;

  int Width() const { return mW; }
  int Height() const { return mH; }
  LICE_MemBitmap& Bitmap() { return mBitmap; }

  Rgba Get(int x, int y) const;
  void Set(int x, int y, const Rgba& c);

  // Composites the paint over the pixels the shape covers.
  void Fill(const Shape& shape, const Paint& paint, float opacity = 1.0f);
  // The same through a mask whose pixel (0, 0) lies at (x, y).
  void FillMask(const Mask& mask, int x, int y, const Paint& paint, float opacity = 1.0f);
  // A soft shadow of the shape, blurred by radius and moved by (dx, dy).
  void Shadow(const Shape& shape, float radius, float dx, float dy, Rgba color);
  // A shadow cast inside the shape by its own edge, as if the shape were
  // pressed in, light coming from (-dx, -dy).
  void InnerShadow(const Shape& shape, float radius, float dx, float dy, Rgba color);
  // Composites another canvas with its top-left corner at (x, y).
  void Draw(const Canvas& src, int x, int y, float opacity = 1.0f);
  // Copies another canvas's pixels as they are, alpha included.
  void Replace(const Canvas& src, int x, int y);
  Canvas Crop(int x, int y, int w, int h) const;
  // Scales every pixel's alpha by the shape's coverage: nothing remains
  // outside the shape.
  void ClipTo(const Shape& shape);
  // The image turned a quarter turn anticlockwise.
  Canvas RotatedLeft() const;
  // Gives fully transparent pixels the colour of their nearest visible
  // neighbour, so filtering (rotation, scaling) never blends toward black.
  void BleedIntoTransparent();

private:
  void Over(int x, int y, const Rgba& c, float coverage);

  int mW, mH;
  LICE_MemBitmap mBitmap;
};
} // namespace art
