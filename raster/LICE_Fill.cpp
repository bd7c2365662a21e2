#include "raster/LICE_Blend.h"
#include "raster/PixelCombine.h"

namespace
{
template <class Op>
void ForEachPixel(LICE_pixel* bits, int span, int bmH, bool flipped, int x, int y, int w, int h, Op op)
{
  for (int row = 0; row < h; ++row)
  {
    LICE_pixel* p = lice::RowOf(bits, span, bmH, flipped, y + row) + x;
    for (int i = 0; i < w; ++i) p[i] = op(p[i]);
  }
}
} // namespace

void LICE_FillRect(LICE_IBitmap* dest, int x, int y, int w, int h, LICE_pixel color, float alpha,
                   int mode)
{
  if (!dest) return;
  if (mode & LICE_BLIT_USE_ALPHA) alpha *= static_cast<float>(LICE_GETA(color)) * 0.003921569f;

  long long cx = x, cy = y, cw = w, ch = h;
  if (cx < 0)
  {
    cw += cx;
    cx = 0;
  }
  if (cy < 0)
  {
    ch += cy;
    cy = 0;
  }
  LICE_pixel* bits = dest->getBits();
  const int span = dest->getRowSpan();
  const int bmW = dest->getWidth(), bmH = dest->getHeight();
  if (alpha == 0.0f || !bits || span == 0 || cw <= 0 || ch <= 0 || cx >= bmW || cy >= bmH) return;
  if (cx + cw > bmW) cw = bmW - cx;
  if (cy + ch > bmH) ch = bmH - cy;

  const int px = static_cast<int>(cx), py = static_cast<int>(cy);
  const int pw = static_cast<int>(cw), ph = static_cast<int>(ch);
  const bool flipped = dest->isFlipped();
  const int iw = lice::IntWeight(alpha);
  const int combine = lice::CombineOf(mode);

  if (combine == LICE_BLIT_MODE_COPY)
  {
    switch (iw)
    {
    case 256:
      ForEachPixel(bits, span, bmH, flipped, px, py, pw, ph, [color](LICE_pixel) { return color; });
      return;
    case 128:
      ForEachPixel(bits, span, bmH, flipped, px, py, pw, ph,
                   [color](LICE_pixel d) { return lice::FillCopyHalf(d, color); });
      return;
    case 64:
      ForEachPixel(bits, span, bmH, flipped, px, py, pw, ph,
                   [color](LICE_pixel d) { return lice::FillCopyQuarter(d, color); });
      return;
    case 192:
      ForEachPixel(bits, span, bmH, flipped, px, py, pw, ph,
                   [color](LICE_pixel d) { return lice::FillCopyThreeQuarters(d, color); });
      return;
    default: break;
    }
  }
  if (iw <= 0) return;

  switch (combine)
  {
  case LICE_BLIT_MODE_ADD:
    ForEachPixel(bits, span, bmH, flipped, px, py, pw, ph,
                 [color, iw](LICE_pixel d) { return lice::FillAdd(d, color, iw); });
    break;
  case LICE_BLIT_MODE_DODGE:
    ForEachPixel(bits, span, bmH, flipped, px, py, pw, ph,
                 [color, iw](LICE_pixel d) { return lice::FillDodge(d, color, iw); });
    break;
  default:
    ForEachPixel(bits, span, bmH, flipped, px, py, pw, ph,
                 [color, iw](LICE_pixel d) { return lice::FillCopy(d, color, iw); });
    break;
  }
}
