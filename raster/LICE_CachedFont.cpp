#include "raster/LICE_CachedFont.h"

#include <algorithm>
#include <cstring>

#include "raster/PixelCombine.h"
#include "raster/PlatformFont.h"
#include "raster/Utf8.h"

LICE_CachedFont::LICE_CachedFont() = default;

LICE_CachedFont::~LICE_CachedFont()
{
  ReleaseFont();
}

void LICE_CachedFont::ReleaseFont()
{
  if (m_font && (m_flags & LICE_FONT_FLAG_OWNS_HFONT)) delete m_font;
  m_font = nullptr;
}

void LICE_CachedFont::ClearCache()
{
  for (Glyph& g : m_lowchars) g = Glyph();
  m_extended.clear();
  m_cachestore.Resize(0);
  m_rendered = 0;
}

void LICE_CachedFont::SetFromHFont(LICE_FontHandle font, int flags)
{
  if (font != m_font) ReleaseFont();
  m_font = font;
  m_flags = flags;
  m_line_height = font ? font->LineHeight() : 0;
  ClearCache();
}

LICE_pixel LICE_CachedFont::SetTextColor(LICE_pixel color)
{
  const LICE_pixel old = m_fg;
  m_fg = color;
  return old;
}

LICE_pixel LICE_CachedFont::SetBkColor(LICE_pixel color)
{
  const LICE_pixel old = m_bg;
  m_bg = color;
  return old;
}

LICE_pixel LICE_CachedFont::SetEffectColor(LICE_pixel color)
{
  const LICE_pixel old = m_effectcol;
  m_effectcol = color;
  return old;
}

int LICE_CachedFont::SetBkMode(int mode)
{
  const int old = m_bgmode;
  m_bgmode = mode;
  return old;
}

void LICE_CachedFont::SetCombineMode(int mode, float alpha)
{
  m_comb_mode = mode;
  m_comb_alpha = alpha;
}

bool LICE_CachedFont::RenderInto(uint32_t cp, Glyph* g)
{
  GlyphImage image;
  if (!m_font->RenderGlyph(cp, &image)) return false;
  ++m_rendered;
  // Masks are kept small; a glyph that does not fit the record is clamped
  // to what it can describe rather than overflowing it.
  const int w = std::min(image.width, 0xFFFF), h = std::min(image.height, 0xFFFF);
  const int offset = m_cachestore.GetSize();
  const long long bytes = static_cast<long long>(w) * h;
  if (bytes > 0x7FFFFFFF - offset) return false;
  unsigned char* store = static_cast<unsigned char*>(m_cachestore.Resize(offset + static_cast<int>(bytes)));
  for (int y = 0; y < h && store; ++y)
    std::memcpy(store + offset + static_cast<size_t>(y) * w, image.coverage.data() + static_cast<size_t>(y) * image.width,
                static_cast<size_t>(w));
  g->store = offset;
  g->advance = static_cast<int16_t>(std::clamp(image.advance, -32768, 32767));
  g->left = static_cast<int16_t>(std::clamp(image.left, -32768, 32767));
  g->top = static_cast<int16_t>(std::clamp(image.top, -32768, 32767));
  g->width = static_cast<uint16_t>(w);
  g->height = static_cast<uint16_t>(h);
  return true;
}

const LICE_CachedFont::Glyph* LICE_CachedFont::GlyphFor(uint32_t cp)
{
  if (cp < 256)
  {
    Glyph& g = m_lowchars[cp];
    if (g.store < 0 && !RenderInto(cp, &g)) return nullptr;
    return &g;
  }
  auto it = std::lower_bound(m_extended.begin(), m_extended.end(), cp,
                             [](const std::pair<uint32_t, Glyph>& e, uint32_t c) { return e.first < c; });
  if (it != m_extended.end() && it->first == cp) return &it->second;
  Glyph g;
  if (!RenderInto(cp, &g)) return nullptr;
  it = m_extended.insert(it, std::make_pair(cp, g));
  return &it->second;
}

int LICE_CachedFont::LineWidth(const char* s, int n)
{
  int width = 0;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(s);
  for (int i = 0; i < n;)
  {
    uint32_t cp = 0;
    i += DecodeUtf8(p + i, n - i, &cp);
    if (cp == '\r') continue;
    if (const Glyph* g = GlyphFor(cp)) width += g->advance;
  }
  return width;
}

void LICE_CachedFont::DrawLine(LICE_IBitmap* bm, const char* s, int n, int x, int y, const IRECT& clip, int weight)
{
  LICE_pixel* bits = bm->getBits();
  const int span = bm->getRowSpan(), bmH = bm->getHeight();
  const bool flipped = bm->isFlipped();
  const int combine = lice::CombineOf(m_comb_mode);
  const unsigned char* p = reinterpret_cast<const unsigned char*>(s);
  int pen = x;
  for (int i = 0; i < n;)
  {
    uint32_t cp = 0;
    i += DecodeUtf8(p + i, n - i, &cp);
    if (cp == '\r') continue;
    const Glyph* g = GlyphFor(cp);
    if (!g) continue;
    if (g->width > 0 && g->height > 0)
    {
      const unsigned char* mask = static_cast<const unsigned char*>(m_cachestore.Get()) + g->store;
      const int gx = pen + g->left, gy = y + g->top;
      const int cx0 = std::max(gx, clip.L), cx1 = std::min(gx + static_cast<int>(g->width), clip.R);
      const int cy0 = std::max(gy, clip.T), cy1 = std::min(gy + static_cast<int>(g->height), clip.B);
      for (int py = cy0; py < cy1; ++py)
      {
        LICE_pixel* row = lice::RowOf(bits, span, bmH, flipped, py);
        const unsigned char* mrow = mask + static_cast<size_t>(py - gy) * g->width;
        for (int px = cx0; px < cx1; ++px)
        {
          const int c = mrow[px - gx];
          if (c == 0) continue;
          const int w = weight * c / 255;
          if (w > 0) row[px] = lice::FillPixel(row[px], m_fg, w, combine);
        }
      }
    }
    pen += g->advance;
  }
}

int LICE_CachedFont::DrawText(LICE_IBitmap* bm, const char* str, int len, IRECT* rect, unsigned int flags)
{
  flags &= 0x7FFFFFFFu;
  if (!m_font || !str || !rect) return 0;
  const int maxLen = len < 0 ? 0x7FFFFFFF : len;
  int n = 0;
  while (n < maxLen && str[n]) ++n;
  if (n == 0) return 0;
  const bool measureOnly = (flags & LICE_DT_CALCRECT) != 0;

  const bool native = ((m_flags & LICE_FONT_FLAG_FORCE_NATIVE) && !(m_flags & LICE_FONT_FLAGS_NO_NATIVE) &&
                       !(flags & LICE_DT_USEFGALPHA)) ||
                      m_line_height > 255;
  int nativeHeight = 0;
  if (native && m_font->DrawTextNative(bm, str, n, rect, flags | LICE_DT_NOPREFIX, measureOnly, &nativeHeight, m_fg))
    return nativeHeight;

  // Lines and the block they make.
  struct Line
  {
    int start, length, width;
  };
  std::vector<Line> lines;
  for (int start = 0;;)
  {
    int end = start;
    if (!(flags & LICE_DT_SINGLELINE))
      while (end < n && str[end] != '\n') ++end;
    else
      end = n;
    lines.push_back({start, end - start, LineWidth(str + start, end - start)});
    if (end >= n) break;
    start = end + 1;
  }
  int blockW = 0;
  for (const Line& l : lines) blockW = std::max(blockW, l.width);
  const int blockH = static_cast<int>(lines.size()) * m_line_height;

  if (measureOnly)
  {
    rect->R = rect->L + blockW;
    rect->B = rect->T + blockH;
    return blockH;
  }
  if (!bm || !bm->getBits() || bm->getRowSpan() == 0) return 0;

  int x = rect->L, y = rect->T;
  if (flags & LICE_DT_RIGHT) x = rect->R - blockW;
  else if (flags & LICE_DT_CENTER) x = (rect->L + rect->R) / 2 - blockW / 2;
  if (flags & LICE_DT_BOTTOM) y = rect->B - blockH;
  else if (flags & LICE_DT_VCENTER) y = (rect->T + rect->B) / 2 - blockH / 2;

  IRECT clip(0, 0, bm->getWidth(), bm->getHeight());
  if (!(flags & LICE_DT_NOCLIP))
  {
    clip.L = std::max(clip.L, rect->L);
    clip.T = std::max(clip.T, rect->T);
    clip.R = std::min(clip.R, rect->R);
    clip.B = std::min(clip.B, rect->B);
  }
  if (clip.L >= clip.R || clip.T >= clip.B) return blockH;

  if (m_bgmode == LICE_BKMODE_OPAQUE)
  {
    const int l = std::max(x, clip.L), t = std::max(y, clip.T);
    const int r = std::min(x + blockW, clip.R), b = std::min(y + blockH, clip.B);
    if (l < r && t < b)
    {
      for (int py = t; py < b; ++py)
      {
        LICE_pixel* row = lice::RowOf(bm->getBits(), bm->getRowSpan(), bm->getHeight(), bm->isFlipped(), py);
        for (int px = l; px < r; ++px) row[px] = m_bg;
      }
    }
  }

  int weight = lice::IntWeight(m_comb_alpha);
  if (flags & LICE_DT_USEFGALPHA) weight = weight * static_cast<int>(LICE_GETA(m_fg)) / 255;
  if (weight <= 0) return blockH;

  for (size_t i = 0; i < lines.size(); ++i)
  {
    const Line& l = lines[i];
    // Each line sits within the block by the same alignment.
    int lx = x;
    if (flags & LICE_DT_RIGHT) lx = x + blockW - l.width;
    else if (flags & LICE_DT_CENTER) lx = x + (blockW - l.width) / 2;
    DrawLine(bm, str + l.start, l.length, lx, y + static_cast<int>(i) * m_line_height, clip, weight);
  }
  return blockH;
}
