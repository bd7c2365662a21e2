#include "tools/kestrane-artwork/Canvas.h"

#include <algorithm>
#include <cmath>

namespace art
{
namespace
{
unsigned Channel(float v)
{
  return static_cast<unsigned>(std::lround(std::clamp(v, 0.0f, 255.0f)));
}

// One horizontal box pass of the given half width, kept inside the mask.
void BoxPass(std::vector<float>& v, int w, int h, int half, bool horizontal)
{
  const int n = horizontal ? w : h, lines = horizontal ? h : w;
  std::vector<float> line(n);
  const float scale = 1.0f / static_cast<float>(2 * half + 1);
  for (int l = 0; l < lines; ++l)
  {
    auto at = [&](int i) -> float& { return horizontal ? v[static_cast<size_t>(l) * w + i] : v[static_cast<size_t>(i) * w + l]; };
    for (int i = 0; i < n; ++i) line[i] = at(i);
    float sum = 0.0f;
    for (int i = -half; i <= half; ++i) sum += (i >= 0 && i < n) ? line[i] : 0.0f;
    for (int i = 0; i < n; ++i)
    {
      at(i) = sum * scale;
      const int add = i + half + 1, drop = i - half;
      if (add < n) sum += line[add];
      if (drop >= 0) sum -= line[drop];
    }
  }
}
} // namespace

Mask Mask::Of(const Shape& shape, int w, int h, int originX, int originY)
{
  Mask m(w, h);
  const int x0 = std::max(0, static_cast<int>(std::floor(shape.bounds.l)) - originX);
  const int y0 = std::max(0, static_cast<int>(std::floor(shape.bounds.t)) - originY);
  const int x1 = std::min(w, static_cast<int>(std::ceil(shape.bounds.r)) + 1 - originX);
  const int y1 = std::min(h, static_cast<int>(std::ceil(shape.bounds.b)) + 1 - originY);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      m.At(x, y) = CoverageOf(shape.distance(static_cast<float>(x + originX) + 0.5f,
                                             static_cast<float>(y + originY) + 0.5f));
  return m;
}

void Mask::Blur(float radius)
{
  if (radius <= 0.0f) return;
  // Three box passes of width 2 * half + 1 approximate a Gaussian whose
  // standard deviation is about radius / 2.
  const int half = std::max(1, static_cast<int>(std::lround(radius / 2.0f)));
  for (int pass = 0; pass < 3; ++pass)
  {
    BoxPass(mValues, mW, mH, half, true);
    BoxPass(mValues, mW, mH, half, false);
  }
}

Canvas::Canvas(int w, int h, Rgba fill) : mW(w), mH(h), mBitmap(w, h)
{
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Set(x, y, fill);
}

Canvas::Canvas(const Canvas& other) : Canvas(other.mW, other.mH)
{
  Replace(other, 0, 0);
}

Rgba Canvas::Get(int x, int y) const
{
  LICE_MemBitmap& bm = const_cast<LICE_MemBitmap&>(mBitmap); // the bitmap's readers are not const
  const LICE_pixel p = bm.getBits()[static_cast<long long>(y) * bm.getRowSpan() + x];
  return Rgba{static_cast<float>(LICE_GETR(p)), static_cast<float>(LICE_GETG(p)), static_cast<float>(LICE_GETB(p)),
              static_cast<float>(LICE_GETA(p)) / 255.0f};
}

void Canvas::Set(int x, int y, const Rgba& c)
{
  mBitmap.getBits()[static_cast<long long>(y) * mBitmap.getRowSpan() + x] =
      LICE_RGBA(Channel(c.r), Channel(c.g), Channel(c.b), Channel(c.a * 255.0f));
}

void Canvas::Over(int x, int y, const Rgba& c, float coverage)
{
  if (x < 0 || y < 0 || x >= mW || y >= mH) return;
  const float sa = std::clamp(c.a * coverage, 0.0f, 1.0f);
  if (sa <= 0.0f) return;
  const Rgba d = Get(x, y);
  const float da = d.a * (1.0f - sa);
  const float oa = sa + da;
  Set(x, y, Rgba{(c.r * sa + d.r * da) / oa, (c.g * sa + d.g * da) / oa, (c.b * sa + d.b * da) / oa, oa});
}

void Canvas::Fill(const Shape& shape, const Paint& paint, float opacity)
{
  const int x0 = std::max(0, static_cast<int>(std::floor(shape.bounds.l)));
  const int y0 = std::max(0, static_cast<int>(std::floor(shape.bounds.t)));
  const int x1 = std::min(mW, static_cast<int>(std::ceil(shape.bounds.r)) + 1);
  const int y1 = std::min(mH, static_cast<int>(std::ceil(shape.bounds.b)) + 1);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
    {
      const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
      const float cov = CoverageOf(shape.distance(px, py));
      if (cov > 0.0f) Over(x, y, paint(px, py), cov * opacity);
    }
}

void Canvas::FillMask(const Mask& mask, int x, int y, const Paint& paint, float opacity)
{
  for (int my = 0; my < mask.Height(); ++my)
    for (int mx = 0; mx < mask.Width(); ++mx)
    {
      const float cov = mask.At(mx, my);
      if (cov <= 0.0f) continue;
      const int px = x + mx, py = y + my;
      Over(px, py, paint(static_cast<float>(px) + 0.5f, static_cast<float>(py) + 0.5f), cov * opacity);
    }
}

void Canvas::Shadow(const Shape& shape, float radius, float dx, float dy, Rgba color)
{
  const int pad = static_cast<int>(std::ceil(radius * 1.5f)) + 2;
  const int ox = static_cast<int>(std::floor(shape.bounds.l)) - pad;
  const int oy = static_cast<int>(std::floor(shape.bounds.t)) - pad;
  const int w = static_cast<int>(std::ceil(shape.bounds.r)) + pad - ox;
  const int h = static_cast<int>(std::ceil(shape.bounds.b)) + pad - oy;
  Mask m = Mask::Of(Offset(shape, dx, dy), w, h, ox, oy);
  m.Blur(radius);
  FillMask(m, ox, oy, Solid(color));
}

void Canvas::InnerShadow(const Shape& shape, float radius, float dx, float dy, Rgba color)
{
  const int pad = static_cast<int>(std::ceil(radius * 1.5f)) + 2;
  const int ox = static_cast<int>(std::floor(shape.bounds.l)) - pad;
  const int oy = static_cast<int>(std::floor(shape.bounds.t)) - pad;
  const int w = static_cast<int>(std::ceil(shape.bounds.r)) + pad - ox;
  const int h = static_cast<int>(std::ceil(shape.bounds.b)) + pad - oy;
  // The blurred outside of the moved shape, seen through the shape itself.
  Mask outside = Mask::Of(Offset(shape, dx, dy), w, h, ox, oy);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) outside.At(x, y) = 1.0f - outside.At(x, y);
  outside.Blur(radius);
  const Mask inside = Mask::Of(shape, w, h, ox, oy);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) outside.At(x, y) *= inside.At(x, y);
  FillMask(outside, ox, oy, Solid(color));
}

void Canvas::Draw(const Canvas& src, int x, int y, float opacity)
{
  for (int sy = 0; sy < src.mH; ++sy)
    for (int sx = 0; sx < src.mW; ++sx) Over(x + sx, y + sy, src.Get(sx, sy), opacity);
}

void Canvas::Replace(const Canvas& src, int x, int y)
{
  for (int sy = 0; sy < src.mH; ++sy)
    for (int sx = 0; sx < src.mW; ++sx)
    {
      const int dx = x + sx, dy = y + sy;
      if (dx >= 0 && dy >= 0 && dx < mW && dy < mH) Set(dx, dy, src.Get(sx, sy));
    }
}

Canvas Canvas::Crop(int x, int y, int w, int h) const
{
  Canvas out(w, h);
  out.Replace(*this, -x, -y);
  return out;
}

void Canvas::ClipTo(const Shape& shape)
{
  for (int y = 0; y < mH; ++y)
    for (int x = 0; x < mW; ++x)
    {
      Rgba c = Get(x, y);
      c.a *= CoverageOf(shape.distance(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f));
      Set(x, y, c);
    }
}

Canvas Canvas::RotatedLeft() const
{
  Canvas out(mH, mW);
  for (int y = 0; y < mH; ++y)
    for (int x = 0; x < mW; ++x) out.Set(y, mW - 1 - x, Get(x, y));
  return out;
}

void Canvas::BleedIntoTransparent()
{
  // Grow the visible colours outward one ring of pixels at a time.
  std::vector<bool> known(static_cast<size_t>(mW) * mH);
  for (int y = 0; y < mH; ++y)
    for (int x = 0; x < mW; ++x) known[static_cast<size_t>(y) * mW + x] = Get(x, y).a > 0.0f;
  for (bool grew = true; grew;)
  {
    grew = false;
    std::vector<bool> next = known;
    for (int y = 0; y < mH; ++y)
      for (int x = 0; x < mW; ++x)
      {
        if (known[static_cast<size_t>(y) * mW + x]) continue;
        float r = 0, g = 0, b = 0, n = 0;
        for (int j = -1; j <= 1; ++j)
          for (int i = -1; i <= 1; ++i)
          {
            const int nx = x + i, ny = y + j;
            if (nx < 0 || ny < 0 || nx >= mW || ny >= mH || !known[static_cast<size_t>(ny) * mW + nx]) continue;
            const Rgba c = Get(nx, ny);
            r += c.r, g += c.g, b += c.b, n += 1;
          }
        if (n == 0) continue;
        Set(x, y, Rgba{r / n, g / n, b / n, 0.0f});
        next[static_cast<size_t>(y) * mW + x] = true;
        grew = true;
      }
    known.swap(next);
  }
}
} // namespace art
