#include <algorithm>
#include <cmath>
#include <cstdint>

#include "raster/LICE_Primitives.h"
#include "raster/PixelCombine.h"

namespace
{
// Integer part of a 16.16 position, rounding toward minus infinity.
inline long long FixedFloor(long long v)
{
  return v >= 0 ? v >> 16 : -((-v + 0xFFFF) >> 16);
}

inline long long ToFixed(double v)
{
  return std::llround(v * 65536.0);
}

struct SampleArea
{
  const LICE_pixel* bits;
  long long span;   // signed: negative for a flipped source
  int x0, y0, x1, y1; // sampling limits, [x0, x1) x [y0, y1)
};

inline const LICE_pixel* SourceAt(const SampleArea& a, long long x, long long y)
{
  return a.bits + y * a.span + x;
}

// Channels spread into 32-bit lanes of a 64-bit word, two words per pixel,
// so one multiply weighs two channels at once. Every lane's sum stays below
// 2^24 (weights add up to 65536), so the lanes never interact and the result
// is exactly the per-channel (sum of weight x channel) >> 16.
struct Lanes
{
  uint64_t lo; // channels at shifts 0 and 16 of the pixel
  uint64_t hi; // channels at shifts 8 and 24
};

inline Lanes Spread(LICE_pixel p)
{
  return {(p & 0xFFu) | (static_cast<uint64_t>(p & 0xFF0000u) << 16),
          ((p >> 8) & 0xFFu) | (static_cast<uint64_t>((p >> 8) & 0xFF0000u) << 16)};
}

inline LICE_pixel Gather(uint64_t lo, uint64_t hi)
{
  lo = (lo >> 16) & 0x000000FF000000FFull;
  hi = (hi >> 16) & 0x000000FF000000FFull;
  return static_cast<LICE_pixel>(lo | (lo >> 16)) | (static_cast<LICE_pixel>(hi | (hi >> 16)) << 8);
}

inline LICE_pixel Mix2(LICE_pixel p, LICE_pixel q, uint32_t wq)
{
  const uint64_t wp = 65536 - wq;
  const Lanes a = Spread(p), b = Spread(q);
  return Gather(a.lo * wp + b.lo * wq, a.hi * wp + b.hi * wq);
}

inline LICE_pixel Mix4(LICE_pixel p00, LICE_pixel p10, LICE_pixel p01, LICE_pixel p11, uint32_t fx, uint32_t fy)
{
  const uint64_t w11 = (fx * fy) >> 16;
  const uint64_t w10 = fx - w11;
  const uint64_t w01 = fy - w11;
  const uint64_t w00 = 65536 - fx - fy + w11;
  const Lanes a = Spread(p00), b = Spread(p10), c = Spread(p01), d = Spread(p11);
  return Gather(a.lo * w00 + b.lo * w10 + c.lo * w01 + d.lo * w11,
                a.hi * w00 + b.hi * w10 + c.hi * w01 + d.hi * w11);
}

// Bilinear sample in the last column or row of the area: only the neighbour
// that exists is blended.
LICE_pixel SampleEdge(const SampleArea& a, const LICE_pixel* p, long long ix, long long iy, uint32_t fx, uint32_t fy)
{
  const bool right = ix + 1 < a.x1;
  const bool below = iy + 1 < a.y1;
  if (below) return Mix2(p[0], p[a.span], fy);
  if (right) return Mix2(p[0], p[1], fx);
  return p[0];
}

template <class Combine>
void Walk(LICE_pixel* dbits, int dspan, int dH, bool dflip, int x0, int y0, int x1, int y1,
          long long rowX, long long rowY, long long stepXx, long long stepXy, long long stepYx,
          long long stepYy, const SampleArea& area, bool bilinear, Combine combine)
{
  for (int y = y0; y < y1; ++y, rowX += stepYx, rowY += stepYy)
  {
    LICE_pixel* d = lice::RowOf(dbits, dspan, dH, dflip, y);
    long long px = rowX, py = rowY;
    for (int x = x0; x < x1; ++x, px += stepXx, py += stepXy)
    {
      const long long ix = FixedFloor(px), iy = FixedFloor(py);
      if (ix < area.x0 || ix >= area.x1 || iy < area.y0 || iy >= area.y1) continue;
      LICE_pixel s;
      if (!bilinear)
      {
        s = *SourceAt(area, ix, iy);
      }
      else
      {
        const uint32_t fx = static_cast<uint32_t>(px & 0xFFFF), fy = static_cast<uint32_t>(py & 0xFFFF);
        const LICE_pixel* p = SourceAt(area, ix, iy);
        if (ix + 1 < area.x1 && iy + 1 < area.y1) // the common case: all four neighbours
          s = Mix4(p[0], p[1], p[area.span], p[area.span + 1], fx, fy);
        else
          s = SampleEdge(area, p, ix, iy, fx, fy);
      }
      d[x] = combine(d[x], s);
    }
  }
}
} // namespace

void LICE_RotatedBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int dstw, int dsth,
                      float srcx, float srcy, float srcw, float srch, float angle,
                      bool cliptosourcerect, float alpha, int mode, float rotxcent, float rotycent)
{
  if (!dest || !src || dstw == 0 || dsth == 0) return;

  // Positions and sizes widened so mirroring an extreme rectangle cannot wrap.
  long long dx = dstx, dy = dsty, dw = dstw, dh = dsth;
  if (dw < 0)
  {
    dw = -dw;
    dx -= dw;
    srcx += srcw;
    srcw = -srcw;
  }
  if (dh < 0)
  {
    dh = -dh;
    dy -= dh;
    srcy += srch;
    srch = -srch;
  }

  LICE_pixel* dbits = dest->getBits();
  LICE_pixel* sbits = src->getBits();
  const int dspan = dest->getRowSpan(), sspan = src->getRowSpan();
  const int dW = dest->getWidth(), dH = dest->getHeight();
  const int sW = src->getWidth(), sH = src->getHeight();
  if (!dbits || !sbits || dspan == 0 || sspan == 0) return;

  // Destination area clipped to the bitmap.
  const int x0 = static_cast<int>(std::min<long long>(std::max(dx, 0LL), dW));
  const int y0 = static_cast<int>(std::min<long long>(std::max(dy, 0LL), dH));
  const int x1 = static_cast<int>(std::max<long long>(std::min(dx + dw, static_cast<long long>(dW)), 0));
  const int y1 = static_cast<int>(std::max<long long>(std::min(dy + dh, static_cast<long long>(dH)), 0));
  if (x0 >= x1 || y0 >= y1) return;

  // Where samples may come from.
  SampleArea area;
  area.x0 = 0;
  area.y0 = 0;
  area.x1 = sW;
  area.y1 = sH;
  if (cliptosourcerect)
  {
    const float lx = std::min(srcx, srcx + srcw), hx = std::max(srcx, srcx + srcw);
    const float ly = std::min(srcy, srcy + srch), hy = std::max(srcy, srcy + srch);
    area.x0 = std::max(area.x0, TruncToInt32(std::floor(lx)));
    area.y0 = std::max(area.y0, TruncToInt32(std::floor(ly)));
    area.x1 = std::min(area.x1, TruncToInt32(std::ceil(hx)));
    area.y1 = std::min(area.y1, TruncToInt32(std::ceil(hy)));
  }
  if (area.x0 >= area.x1 || area.y0 >= area.y1) return;
  const bool sflip = src->isFlipped();
  area.span = sflip ? -sspan : sspan;
  area.bits = sflip ? sbits + static_cast<long long>(sH - 1) * sspan : sbits;

  // Source steps per destination pixel to the right and per row downward.
  const float c = std::cos(angle), s = std::sin(angle);
  const float kx = srcw / static_cast<float>(dw), ky = srch / static_cast<float>(dh);
  const double xStepX = kx * c, xStepY = -ky * s;
  const double yStepX = kx * s, yStepY = ky * c;
  // Sizes or angles so extreme (or NaN) that no sample could land in the
  // source would also overflow the 16.16 accumulators: nothing to draw.
  const double kLimit = 1e9;
  for (double v : {xStepX, xStepY, yStepX, yStepY, static_cast<double>(srcx), static_cast<double>(srcy),
                   static_cast<double>(srcw), static_cast<double>(srch), static_cast<double>(rotxcent),
                   static_cast<double>(rotycent)})
    if (!(std::fabs(v) < kLimit)) return;
  const long long fxStepX = ToFixed(xStepX), fxStepY = ToFixed(xStepY);
  const long long fyStepX = ToFixed(yStepX), fyStepY = ToFixed(yStepY);

  // The centre of the destination rectangle maps to the source point at the
  // rectangle's centre plus the offsets. Pixels are sampled at their centres;
  // the bilinear filter measures from the source pixels' centres as well, so
  // an unturned, unscaled copy lands exactly on source pixels either way.
  const bool bilinear = (mode & LICE_BLIT_FILTER_BILINEAR) != 0;
  const double centreX = static_cast<double>(srcx) + srcw * 0.5 + rotxcent;
  const double centreY = static_cast<double>(srcy) + srch * 0.5 + rotycent;
  const double u = x0 + 0.5 - (static_cast<double>(dx) + static_cast<double>(dw) * 0.5);
  const double v = y0 + 0.5 - (static_cast<double>(dy) + static_cast<double>(dh) * 0.5);
  const double bias = bilinear ? 0.5 : 0.0;
  const long long startX = ToFixed(centreX + u * xStepX + v * yStepX - bias);
  const long long startY = ToFixed(centreY + u * xStepY + v * yStepY - bias);

  const int combine = lice::CombineOf(mode);
  const bool useAlpha = (mode & LICE_BLIT_USE_ALPHA) != 0;
  const bool dflip = dest->isFlipped();
  auto walk = [&](auto op) {
    Walk(dbits, dspan, dH, dflip, x0, y0, x1, y1, startX, startY, fxStepX, fxStepY, fyStepX,
         fyStepY, area, bilinear, op);
  };

  if (combine == LICE_BLIT_MODE_COPY && !useAlpha && !(mode & LICE_BLIT_MODE_MASK))
  {
    if (alpha == 1.0f) return walk([](LICE_pixel, LICE_pixel sp) { return sp; });
    if (alpha == 0.5f) return walk([](LICE_pixel d, LICE_pixel sp) { return lice::BlitCopyHalf(d, sp); });
  }
  const int w = lice::IntWeight(alpha);
  if (w <= 0) return;
  switch (combine)
  {
  case LICE_BLIT_MODE_ADD:
    walk([w, useAlpha](LICE_pixel d, LICE_pixel sp) { return lice::BlitAdd(d, sp, w, useAlpha); });
    break;
  case LICE_BLIT_MODE_DODGE:
    walk([w, useAlpha](LICE_pixel d, LICE_pixel sp) { return lice::BlitDodge(d, sp, w, useAlpha); });
    break;
  default:
    if (!useAlpha)
      walk([w](LICE_pixel d, LICE_pixel sp) { return lice::BlitCopy(d, sp, w); });
    else if (w == 256)
      walk([](LICE_pixel d, LICE_pixel sp) { return lice::BlitCopyAlphaFull(d, sp); });
    else
      walk([w](LICE_pixel d, LICE_pixel sp) { return lice::BlitCopyAlpha(d, sp, w); });
    break;
  }
}
