#pragma once

#include <cstdint>
#include <vector>

#include "core/wdl/WDL_HeapBuf.h"
#include "raster/LICE_IFont.h"

// A font that renders each character once into an 8-bit coverage mask and
// from then on only composites the stored mask, because the editor redraws
// its read-outs many times a second. [UI thread]
class LICE_CachedFont : public LICE_IFont
{
public:
  LICE_CachedFont();
  ~LICE_CachedFont() override;

  LICE_CachedFont(const LICE_CachedFont&) = delete;
  LICE_CachedFont& operator=(const LICE_CachedFont&) = delete;

  void SetFromHFont(LICE_FontHandle font, int flags = 0) override;
  LICE_pixel SetTextColor(LICE_pixel color) override;
  LICE_pixel SetBkColor(LICE_pixel color) override;
  LICE_pixel SetEffectColor(LICE_pixel color) override;
  int SetBkMode(int mode) override;
  void SetCombineMode(int mode, float alpha = 1.0f) override;
  int DrawText(LICE_IBitmap* bm, const char* str, int len, IRECT* rect, unsigned int flags) override;
  LICE_pixel GetTextColor() override { return m_fg; }
  LICE_FontHandle GetHFont() override { return m_font; }
  int GetLineHeight() override { return m_line_height; }

  int GetFlags() const { return m_flags; }
  // How many glyphs have been rasterised since the font was last set.
  int GetRenderedGlyphCount() const { return m_rendered; }

private:
  struct Glyph
  {
    int32_t store = -1;    // offset of the mask in the glyph store; -1: not cached
    int16_t advance = 0;
    int16_t left = 0;      // mask placement relative to the pen and line top
    int16_t top = 0;
    uint16_t width = 0;
    uint16_t height = 0;
  };

  void ClearCache();
  void ReleaseFont();
  // The cached glyph for a character, rendering it on first use. Null when
  // the font cannot render it.
  const Glyph* GlyphFor(uint32_t cp);
  bool RenderInto(uint32_t cp, Glyph* g);
  // Width of one line of text in pixels.
  int LineWidth(const char* s, int n);
  void DrawLine(LICE_IBitmap* bm, const char* s, int n, int x, int y, const IRECT& clip, int weight);

  LICE_FontHandle m_font = nullptr;
  int m_flags = 0;
  int m_line_height = 0;
  LICE_pixel m_fg = 0;
  LICE_pixel m_bg = static_cast<LICE_pixel>(-1);
  int m_bgmode = LICE_BKMODE_TRANSPARENT;
  LICE_pixel m_effectcol = static_cast<LICE_pixel>(-1);
  float m_comb_alpha = 1.0f;
  int m_comb_mode = 0x10000;
  Glyph m_lowchars[256];               // characters 0-255 by code
  std::vector<std::pair<uint32_t, Glyph>> m_extended; // others, sorted by code
  WDL_HeapBuf m_cachestore{4096};      // the masks, back to back
  int m_rendered = 0;
};
