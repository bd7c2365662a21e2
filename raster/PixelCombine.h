#pragma once

// Per-pixel arithmetic shared by the fill, the blits and the primitives. All
// divisions truncate toward zero, as C++ integer division does; results are
// saturated to 0-255 before packing so that weights above 1.0 cannot carry
// into a neighbouring channel.

#include <cmath>

#include "core/NumericConversions.h"
#include "raster/LICE_IBitmap.h"
#include "raster/LICE_Pixel.h"

namespace lice
{
// Integer weights above this behave exactly like it (every formula already
// saturates), and the cap keeps the products small enough to compute.
constexpr int kMaxIntWeight = 65536;

// w = trunc(weight x 256), capped; NaN and negatives come out <= 0.
inline int IntWeight(float weight)
{
  const float v = weight * 256.0f;
  if (v >= static_cast<float>(kMaxIntWeight)) return kMaxIntWeight;
  if (!(v > -1.0f)) return 0;
  return static_cast<int>(v);
}

inline int Clamp255(int v)
{
  return v < 0 ? 0 : (v > 255 ? 255 : v);
}

inline LICE_pixel Pack(int r, int g, int b, int a)
{
  return LICE_RGBA(static_cast<unsigned>(Clamp255(r)), static_cast<unsigned>(Clamp255(g)),
                   static_cast<unsigned>(Clamp255(b)), static_cast<unsigned>(Clamp255(a)));
}

// Unknown combine modes (the reserved values) draw as copy.
inline int CombineOf(int mode)
{
  const int c = mode & LICE_BLIT_MODE_MASK;
  return (c == LICE_BLIT_MODE_ADD || c == LICE_BLIT_MODE_DODGE) ? c : LICE_BLIT_MODE_COPY;
}

inline int DodgeChannel(int d, int k)
{
  return Clamp255(k > 254 ? d * 256 : d * 256 / (256 - k));
}

// ---- Colour into pixel (rectangle fill, outlines, text) ----

// Copy at a general weight: each colour channel moves toward the colour, the
// alpha byte toward the weight itself.
inline LICE_pixel FillCopy(LICE_pixel d, LICE_pixel c, int w)
{
  const int iw = 256 - w;
  const int cr = static_cast<int>(LICE_GETR(c)), cg = static_cast<int>(LICE_GETG(c)),
            cb = static_cast<int>(LICE_GETB(c));
  const int dr = static_cast<int>(LICE_GETR(d)), dg = static_cast<int>(LICE_GETG(d)),
            db = static_cast<int>(LICE_GETB(d)), da = static_cast<int>(LICE_GETA(d));
  if (w <= 255)
  {
    // Every result lies between its two inputs: nothing to saturate.
    return LICE_RGBA(static_cast<unsigned>(cr + (dr - cr) * iw / 256), static_cast<unsigned>(cg + (dg - cg) * iw / 256),
                     static_cast<unsigned>(cb + (db - cb) * iw / 256), static_cast<unsigned>(w + (da - w) * iw / 256));
  }
  const long long a = w + static_cast<long long>(da - w) * iw / 256;
  return Pack(cr + (dr - cr) * iw / 256, cg + (dg - cg) * iw / 256, cb + (db - cb) * iw / 256,
              a < 0 ? 0 : (a > 255 ? 255 : static_cast<int>(a)));
}

// The exact copy shortcuts of the fill, whole pixels at a time.
inline LICE_pixel FillCopyHalf(LICE_pixel d, LICE_pixel c)
{
  return ((c >> 1) & 0x7F7F7F7Fu) + ((d >> 1) & 0x7F7F7F7Fu);
}
inline LICE_pixel FillCopyQuarter(LICE_pixel d, LICE_pixel c)
{
  return ((d >> 1) & 0x7F7F7F7Fu) + ((d >> 2) & 0x3F3F3F3Fu) + ((c >> 2) & 0x3F3F3F3Fu);
}
inline LICE_pixel FillCopyThreeQuarters(LICE_pixel d, LICE_pixel c)
{
  return ((c >> 1) & 0x7F7F7F7Fu) + ((c >> 2) & 0x3F3F3F3Fu) + ((d >> 2) & 0x3F3F3F3Fu);
}

inline LICE_pixel FillAdd(LICE_pixel d, LICE_pixel c, int w)
{
  const long long aw = static_cast<long long>(w) * w / 256;
  const int da = static_cast<int>(LICE_GETA(d));
  return Pack(static_cast<int>(LICE_GETR(d)) + static_cast<int>(LICE_GETR(c)) * w / 256,
              static_cast<int>(LICE_GETG(d)) + static_cast<int>(LICE_GETG(c)) * w / 256,
              static_cast<int>(LICE_GETB(d)) + static_cast<int>(LICE_GETB(c)) * w / 256,
              aw > 255 ? 255 : da + static_cast<int>(aw));
}

inline LICE_pixel FillDodge(LICE_pixel d, LICE_pixel c, int w)
{
  const long long ka = static_cast<long long>(w) * w / 256;
  return Pack(DodgeChannel(static_cast<int>(LICE_GETR(d)), static_cast<int>(LICE_GETR(c)) * w / 256),
              DodgeChannel(static_cast<int>(LICE_GETG(d)), static_cast<int>(LICE_GETG(c)) * w / 256),
              DodgeChannel(static_cast<int>(LICE_GETB(d)), static_cast<int>(LICE_GETB(c)) * w / 256),
              DodgeChannel(static_cast<int>(LICE_GETA(d)), ka > 255 ? 255 : static_cast<int>(ka)));
}

// One pixel of a fill by its combine mode, copy shortcuts included. w > 0.
inline LICE_pixel FillPixel(LICE_pixel d, LICE_pixel c, int w, int combine)
{
  switch (combine)
  {
  case LICE_BLIT_MODE_ADD: return FillAdd(d, c, w);
  case LICE_BLIT_MODE_DODGE: return FillDodge(d, c, w);
  default: break;
  }
  switch (w)
  {
  case 256: return c;
  case 128: return FillCopyHalf(d, c);
  case 64: return FillCopyQuarter(d, c);
  case 192: return FillCopyThreeQuarters(d, c);
  default: return FillCopy(d, c, w);
  }
}

// ---- Source pixel into destination pixel (blits, rotated copies) ----

// Copy ignoring alpha: all four channels move toward the source.
inline LICE_pixel BlitCopy(LICE_pixel d, LICE_pixel s, int w)
{
  const int iw = 256 - w;
  const int sr = static_cast<int>(LICE_GETR(s)), sg = static_cast<int>(LICE_GETG(s)),
            sb = static_cast<int>(LICE_GETB(s)), sa = static_cast<int>(LICE_GETA(s));
  return Pack(sr + (static_cast<int>(LICE_GETR(d)) - sr) * iw / 256,
              sg + (static_cast<int>(LICE_GETG(d)) - sg) * iw / 256,
              sb + (static_cast<int>(LICE_GETB(d)) - sb) * iw / 256,
              sa + (static_cast<int>(LICE_GETA(d)) - sa) * iw / 256);
}

inline LICE_pixel BlitCopyHalf(LICE_pixel d, LICE_pixel s)
{
  return ((s >> 1) & 0x7F7F7F7Fu) + ((d >> 1) & 0x7F7F7F7Fu);
}

// Alpha-aware copy at full weight. The destination alpha accumulates rather
// than blends, so an image composed on an opaque background stays opaque.
inline LICE_pixel BlitCopyAlphaFull(LICE_pixel d, LICE_pixel s)
{
  const int sa = static_cast<int>(LICE_GETA(s));
  if (sa == 0) return d;
  if (sa == 255) return LICE_RGBA(LICE_GETR(s), LICE_GETG(s), LICE_GETB(s), 255);
  const int ia = 255 - sa;
  const int sr = static_cast<int>(LICE_GETR(s)), sg = static_cast<int>(LICE_GETG(s)),
            sb = static_cast<int>(LICE_GETB(s));
  const int da = static_cast<int>(LICE_GETA(d)) + sa;
  // Each channel lands between source and destination: no clamping needed.
  return LICE_RGBA(static_cast<unsigned>(sr + (static_cast<int>(LICE_GETR(d)) - sr) * ia / 256),
                   static_cast<unsigned>(sg + (static_cast<int>(LICE_GETG(d)) - sg) * ia / 256),
                   static_cast<unsigned>(sb + (static_cast<int>(LICE_GETB(d)) - sb) * ia / 256),
                   static_cast<unsigned>(da > 255 ? 255 : da));
}

inline LICE_pixel BlitCopyAlpha(LICE_pixel d, LICE_pixel s, int w)
{
  const int sa = static_cast<int>(LICE_GETA(s));
  if (sa == 0) return d;
  const int a = w * (sa + 1) / 256;
  const int ia = 256 - a;
  const int sr = static_cast<int>(LICE_GETR(s)), sg = static_cast<int>(LICE_GETG(s)),
            sb = static_cast<int>(LICE_GETB(s));
  const int da = static_cast<int>(LICE_GETA(d)) + a;
  return Pack(sr + (static_cast<int>(LICE_GETR(d)) - sr) * ia / 256,
              sg + (static_cast<int>(LICE_GETG(d)) - sg) * ia / 256,
              sb + (static_cast<int>(LICE_GETB(d)) - sb) * ia / 256, da > 255 ? 255 : da);
}

// Add: with source alpha the amount is the weighted source alpha, without it
// the weight alone (and then the alpha channel adds like the others).
inline LICE_pixel BlitAdd(LICE_pixel d, LICE_pixel s, int w, bool useAlpha)
{
  const int sa = static_cast<int>(LICE_GETA(s));
  if (useAlpha && sa == 0) return d;
  const int a = useAlpha ? w * (sa + 1) / 256 : w;
  return Pack(static_cast<int>(LICE_GETR(d)) + a * static_cast<int>(LICE_GETR(s)) / 256,
              static_cast<int>(LICE_GETG(d)) + a * static_cast<int>(LICE_GETG(s)) / 256,
              static_cast<int>(LICE_GETB(d)) + a * static_cast<int>(LICE_GETB(s)) / 256,
              static_cast<int>(LICE_GETA(d)) + sa * a / 256);
}

inline LICE_pixel BlitDodge(LICE_pixel d, LICE_pixel s, int w, bool useAlpha)
{
  const int sa = static_cast<int>(LICE_GETA(s));
  const int a = useAlpha ? w * (sa + 1) / 256 : w;
  return Pack(DodgeChannel(static_cast<int>(LICE_GETR(d)), static_cast<int>(LICE_GETR(s)) * a / 256),
              DodgeChannel(static_cast<int>(LICE_GETG(d)), static_cast<int>(LICE_GETG(s)) * a / 256),
              DodgeChannel(static_cast<int>(LICE_GETB(d)), static_cast<int>(LICE_GETB(s)) * a / 256),
              DodgeChannel(static_cast<int>(LICE_GETA(d)), sa * a / 256));
}

// Address of the image row y (top to bottom), honouring a flipped bitmap.
inline LICE_pixel* RowOf(LICE_pixel* bits, int span, int height, bool flipped, int y)
{
  return bits + static_cast<long long>(flipped ? height - 1 - y : y) * span;
}
} // namespace lice
