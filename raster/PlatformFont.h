#pragma once

#include <cstdint>
#include <vector>

#include "core/IRECT.h"
#include "raster/LICE_Pixel.h"

class LICE_IBitmap;

// What a platform font is made from: the editor's text style.
struct PlatformFontRequest
{
  const char* name = "";
  int size = 0;         // > 0: cell height in pixels (ascent + descent); < 0: em height
  int weight = 400;     // 400 normal, 700 bold
  bool italic = false;
  int orientation = 0;  // degrees
  int quality = 0;      // 0 default, 1 non-antialiased, 2 antialiased, 3 ClearType
};

// One rendered glyph: an 8-bit coverage mask placed relative to the pen
// position on the line's top edge.
struct GlyphImage
{
  int advance = 0;  // pen movement in pixels
  int left = 0;     // mask column 0 relative to the pen
  int top = 0;      // mask row 0 relative to the line's top
  int width = 0;
  int height = 0;
  std::vector<uint8_t> coverage; // width x height, row by row, 0..255
};

// The platform half of a font: the only part of text drawing that differs by
// platform. Each platform provides CreatePlatformFont in its own file
// (raster/linux/LinuxFontSource.cpp: fontconfig and FreeType;
// raster/win/WinFontSource.cpp: GDI; raster/mac/MacFontSource.cpp: Core
// Text).
class PlatformFont
{
public:
  virtual ~PlatformFont() = default;

  // The font's text-metric height: one line, in pixels.
  virtual int LineHeight() const = 0;
  // Rasterises one character. False if the font cannot.
  virtual bool RenderGlyph(uint32_t codepoint, GlyphImage* out) = 0;
  // The family the platform chose for the requested name.
  virtual const char* FamilyName() const = 0;
  // Draws with the platform's own text engine where it has one that writes
  // into the destination's drawing context; false hands the text to the
  // glyph cache. With measureOnly only the extent is written to rect.
  // color is the text colour (a packed pixel; its alpha is not used).
  virtual bool DrawTextNative(LICE_IBitmap* dest, const char* utf8, int len, IRECT* rect,
                              unsigned int flags, bool measureOnly, int* heightOut, LICE_pixel color)
  {
    (void)dest, (void)utf8, (void)len, (void)rect, (void)flags, (void)measureOnly, (void)heightOut, (void)color;
    return false;
  }
};

// Null when no font can be made.
PlatformFont* CreatePlatformFont(const PlatformFontRequest& request);
