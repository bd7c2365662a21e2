#include <cstring>
#include <vector>

#include "raster/LICE_Blend.h"
#include "raster/PixelCombine.h"

namespace
{
// The clipped copy: w x h pixels from source row pointers to destination row
// pointers, both walked in image order with their own row step.
struct BlitRows
{
  LICE_pixel* dst;
  long long dstStep;
  const LICE_pixel* src;
  long long srcStep;
  int w;
  int h;
};

template <class Op>
void ForEachPixel(const BlitRows& r, Op op)
{
  LICE_pixel* d = r.dst;
  const LICE_pixel* s = r.src;
  for (int row = 0; row < r.h; ++row, d += r.dstStep, s += r.srcStep)
    for (int i = 0; i < r.w; ++i) d[i] = op(d[i], s[i]);
}

void CombineRows(const BlitRows& r, float alpha, int mode)
{
  const int combine = lice::CombineOf(mode);
  const bool useAlpha = (mode & LICE_BLIT_USE_ALPHA) != 0;

  if (combine == LICE_BLIT_MODE_COPY && !useAlpha && !(mode & LICE_BLIT_MODE_MASK))
  {
    if (alpha == 1.0f)
    {
      LICE_pixel* d = r.dst;
      const LICE_pixel* s = r.src;
      for (int row = 0; row < r.h; ++row, d += r.dstStep, s += r.srcStep)
        std::memcpy(d, s, static_cast<size_t>(r.w) * sizeof(LICE_pixel));
      return;
    }
    if (alpha == 0.5f)
    {
      ForEachPixel(r, [](LICE_pixel d, LICE_pixel s) { return lice::BlitCopyHalf(d, s); });
      return;
    }
  }

  const int w = lice::IntWeight(alpha);
  if (w <= 0) return;

  switch (combine)
  {
  case LICE_BLIT_MODE_ADD:
    ForEachPixel(r, [w, useAlpha](LICE_pixel d, LICE_pixel s) { return lice::BlitAdd(d, s, w, useAlpha); });
    break;
  case LICE_BLIT_MODE_DODGE:
    ForEachPixel(r, [w, useAlpha](LICE_pixel d, LICE_pixel s) { return lice::BlitDodge(d, s, w, useAlpha); });
    break;
  default:
    if (!useAlpha)
      ForEachPixel(r, [w](LICE_pixel d, LICE_pixel s) { return lice::BlitCopy(d, s, w); });
    else if (w == 256)
      ForEachPixel(r, [](LICE_pixel d, LICE_pixel s) { return lice::BlitCopyAlphaFull(d, s); });
    else
      ForEachPixel(r, [w](LICE_pixel d, LICE_pixel s) { return lice::BlitCopyAlpha(d, s, w); });
    break;
  }
}
} // namespace

void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, const IRECT* srcrect,
               float alpha, int mode)
{
  if (!src) return;
  if (srcrect)
    LICE_Blit(dest, src, dstx, dsty, srcrect->L, srcrect->T, srcrect->W(), srcrect->H(), alpha, mode);
  else
    LICE_Blit(dest, src, dstx, dsty, 0, 0, src->getWidth(), src->getHeight(), alpha, mode);
}

void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int srcx, int srcy,
               int srcw, int srch, float alpha, int mode)
{
  if (!dest || !src || alpha == 0.0f) return;

  // Clipping in 64 bits so extreme positions cannot wrap.
  long long sx = srcx, sy = srcy, w = srcw, h = srch, dx = dstx, dy = dsty;
  const long long srcW = src->getWidth(), srcH = src->getHeight();
  const long long dstW = dest->getWidth(), dstH = dest->getHeight();
  if (sx < 0)
  {
    dx -= sx;
    w += sx;
    sx = 0;
  }
  if (sy < 0)
  {
    dy -= sy;
    h += sy;
    sy = 0;
  }
  if (sx + w > srcW) w = srcW - sx;
  if (sy + h > srcH) h = srcH - sy;
  if (dx < 0)
  {
    sx -= dx;
    w += dx;
    dx = 0;
  }
  if (dy < 0)
  {
    sy -= dy;
    h += dy;
    dy = 0;
  }
  if (dx + w > dstW) w = dstW - dx;
  if (dy + h > dstH) h = dstH - dy;
  if (w <= 0 || h <= 0) return;

  LICE_pixel* dbits = dest->getBits();
  LICE_pixel* sbits = src->getBits();
  const int dspan = dest->getRowSpan(), sspan = src->getRowSpan();
  if (!dbits || !sbits || dspan == 0 || sspan == 0) return;

  const bool dflip = dest->isFlipped(), sflip = src->isFlipped();
  BlitRows rows;
  rows.w = static_cast<int>(w);
  rows.h = static_cast<int>(h);
  rows.dst = lice::RowOf(dbits, dspan, static_cast<int>(dstH), dflip, static_cast<int>(dy)) + dx;
  rows.dstStep = dflip ? -dspan : dspan;
  rows.src = lice::RowOf(sbits, sspan, static_cast<int>(srcH), sflip, static_cast<int>(sy)) + sx;
  rows.srcStep = sflip ? -sspan : sspan;

  // A copy within one bitmap reads from a snapshot, so overlapping areas do
  // not read pixels already written.
  std::vector<LICE_pixel> snapshot;
  if (dest == src)
  {
    snapshot.resize(static_cast<size_t>(w * h));
    const LICE_pixel* s = rows.src;
    for (int row = 0; row < rows.h; ++row, s += rows.srcStep)
      std::memcpy(&snapshot[static_cast<size_t>(row) * rows.w], s, static_cast<size_t>(rows.w) * sizeof(LICE_pixel));
    rows.src = snapshot.data();
    rows.srcStep = rows.w;
  }

  CombineRows(rows, alpha, mode);
}
