#pragma once

#include "core/IRECT.h"
#include "raster/LICE_IBitmap.h"

class PlatformFont;
// The platform font a LICE font draws with.
typedef PlatformFont* LICE_FontHandle;

// Text-drawing flags.
constexpr unsigned int LICE_DT_CENTER = 0x1;
constexpr unsigned int LICE_DT_RIGHT = 0x2;
constexpr unsigned int LICE_DT_VCENTER = 0x4;
constexpr unsigned int LICE_DT_BOTTOM = 0x8;
constexpr unsigned int LICE_DT_SINGLELINE = 0x20;
constexpr unsigned int LICE_DT_NOCLIP = 0x100;
constexpr unsigned int LICE_DT_CALCRECT = 0x400;
constexpr unsigned int LICE_DT_NOPREFIX = 0x800;
// Scale the glyph coverage by the text colour's alpha.
constexpr unsigned int LICE_DT_USEFGALPHA = 0x40000000;

// Font flags.
constexpr int LICE_FONT_FLAG_OWNS_HFONT = 0x200;
constexpr int LICE_FONT_FLAG_FORCE_NATIVE = 0x400;
constexpr int LICE_FONT_FLAGS_NO_NATIVE = 0x1F7;

// Background modes.
constexpr int LICE_BKMODE_TRANSPARENT = 1;
constexpr int LICE_BKMODE_OPAQUE = 2;

class LICE_IFont
{
public:
  virtual ~LICE_IFont() = default;

  // Takes a platform font; with LICE_FONT_FLAG_OWNS_HFONT the font deletes it
  // when it is replaced or the font is destroyed.
  virtual void SetFromHFont(LICE_FontHandle font, int flags = 0) = 0;
  virtual LICE_pixel SetTextColor(LICE_pixel color) = 0;
  virtual LICE_pixel SetBkColor(LICE_pixel color) = 0;
  virtual LICE_pixel SetEffectColor(LICE_pixel color) = 0;
  virtual int SetBkMode(int mode) = 0;
  virtual void SetCombineMode(int mode, float alpha = 1.0f) = 0;
  // Draws UTF-8 text (len < 0: up to the terminating zero) into rect with the
  // LICE_DT_ flags and returns the height of the text. With LICE_DT_CALCRECT
  // nothing is drawn; the text's extent is written into rect.
  virtual int DrawText(LICE_IBitmap* bm, const char* str, int len, IRECT* rect, unsigned int flags) = 0;
  virtual LICE_pixel GetTextColor() = 0;
  virtual LICE_FontHandle GetHFont() = 0;
  virtual int GetLineHeight() = 0;
};
