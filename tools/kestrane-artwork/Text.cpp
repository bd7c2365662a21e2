#include "tools/kestrane-artwork/Text.h"

#include <cctype>
#include <cmath>
#include <map>
#include <memory>
#include <stdexcept>
#include <tuple>

#include "raster/LICE_CachedFont.h"
#include "raster/LICE_MemBitmap.h"
#include "raster/PlatformFont.h"

namespace art
{
namespace
{
bool SameFamily(const char* a, const char* b)
{
  for (; *a && *b; ++a, ++b)
    if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) return false;
  return *a == *b;
}

struct LoadedFont
{
  LICE_CachedFont font;
  int ascent = 0;    // line top to baseline
  int capHeight = 0;
};

// Fonts live for the whole run: the tool draws a few hundred strings.
LoadedFont& Load(const Font& info)
{
  static std::map<std::tuple<std::string, int, bool>, std::unique_ptr<LoadedFont>> cache;
  auto key = std::make_tuple(std::string(info.family), info.em, info.bold);
  auto it = cache.find(key);
  if (it != cache.end()) return *it->second;

  PlatformFontRequest req;
  req.name = info.family;
  req.size = -info.em;
  req.weight = info.bold ? 700 : 400;
  req.quality = 2;
  PlatformFont* pf = CreatePlatformFont(req);
  if (!pf) throw std::runtime_error(std::string("no font for ") + info.family);
  if (!SameFamily(pf->FamilyName(), info.family))
  {
    const std::string got = pf->FamilyName();
    delete pf;
    throw std::runtime_error(std::string("font family ") + info.family + " is not installed (fontconfig offers " +
                             got + ")");
  }
  auto loaded = std::make_unique<LoadedFont>();
  GlyphImage h;
  if (pf->RenderGlyph('H', &h))
  {
    loaded->ascent = h.top + h.height;
    loaded->capHeight = h.height;
  }
  loaded->font.SetFromHFont(pf, LICE_FONT_FLAG_OWNS_HFONT);
  loaded->font.SetTextColor(LICE_RGBA(255, 255, 255, 255));
  return *cache.emplace(key, std::move(loaded)).first->second;
}

// Length in bytes of the UTF-8 sequence starting with byte c.
size_t SequenceLength(unsigned char c)
{
  return c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
}

int AdvanceOf(LoadedFont& f, const std::string& s)
{
  IRECT r(0, 0, 0, 0);
  f.font.DrawText(nullptr, s.c_str(), static_cast<int>(s.size()), &r, LICE_DT_CALCRECT | LICE_DT_SINGLELINE);
  return r.W();
}

TextMetrics MeasureLoaded(LoadedFont& f, const Font& info, const std::string& text)
{
  TextMetrics m;
  m.capHeight = f.capHeight;
  if (info.tracking == 0.0f)
  {
    m.width = AdvanceOf(f, text);
    return m;
  }
  float w = 0.0f;
  int count = 0;
  for (size_t i = 0; i < text.size();)
  {
    const size_t n = SequenceLength(static_cast<unsigned char>(text[i]));
    w += static_cast<float>(AdvanceOf(f, text.substr(i, n)));
    i += n;
    ++count;
  }
  m.width = static_cast<int>(std::lround(w + info.tracking * static_cast<float>(count > 0 ? count - 1 : 0)));
  return m;
}
} // namespace

TextMetrics Measure(const Font& font, const std::string& text)
{
  return MeasureLoaded(Load(font), font, text);
}

void DrawText(Canvas& canvas, const Font& font, const std::string& text, float x, int baseline, Align align,
              const Paint& paint, float opacity)
{
  LoadedFont& f = Load(font);
  const TextMetrics m = MeasureLoaded(f, font, text);
  float left = x;
  if (align == Align::Centre) left = x - static_cast<float>(m.width) * 0.5f;
  else if (align == Align::Right) left = x - static_cast<float>(m.width);
  const int originX = static_cast<int>(std::lround(left));
  const int lineTop = baseline - f.ascent;

  // White text on transparent black: the red channel is the coverage.
  const int pad = 4;
  const int w = m.width + 2 * pad, h = f.font.GetLineHeight() + 2 * pad;
  LICE_MemBitmap scratch(w, h);
  for (int y = 0; y < h; ++y)
    for (int i = 0; i < w; ++i) scratch.getBits()[static_cast<long long>(y) * scratch.getRowSpan() + i] = 0;
  float pen = static_cast<float>(pad);
  for (size_t i = 0; i < text.size();)
  {
    const size_t n = font.tracking == 0.0f ? text.size() : SequenceLength(static_cast<unsigned char>(text[i]));
    const std::string piece = text.substr(i, n);
    IRECT r(static_cast<int>(std::lround(pen)), pad, w, h);
    f.font.DrawText(&scratch, piece.c_str(), static_cast<int>(piece.size()), &r, LICE_DT_SINGLELINE | LICE_DT_NOCLIP);
    pen += static_cast<float>(AdvanceOf(f, piece)) + font.tracking;
    i += n;
  }
  Mask mask(w, h);
  for (int y = 0; y < h; ++y)
    for (int i = 0; i < w; ++i)
      mask.At(i, y) = static_cast<float>(LICE_GETR(scratch.getBits()[static_cast<long long>(y) * scratch.getRowSpan() + i])) / 255.0f;
  canvas.FillMask(mask, originX - pad, lineTop - pad, paint, opacity);
}

void DrawTextCapCentred(Canvas& canvas, const Font& font, const std::string& text, float x, float cy, Align align,
                        const Paint& paint, float opacity)
{
  const int cap = Load(font).capHeight;
  DrawText(canvas, font, text, x, static_cast<int>(std::lround(cy + static_cast<float>(cap) * 0.5f)), align, paint,
           opacity);
}
} // namespace art
