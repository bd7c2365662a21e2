// Fonts on Windows: GDI makes the font (so the system's font mapper chooses
// the face, as for every other Windows program), draws text natively into the
// system bitmap's device context, and rasterises single glyphs for the glyph
// cache on a shared scratch bitmap.
#include <windows.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "raster/LICE_SysBitmap.h"
#include "raster/PlatformFont.h"
#include "raster/win/WineDetection.h"

namespace
{
// The glyph rasteriser's scratch surface: a system bitmap of at least
// 256 x 256 pixels on which one glyph at a time is drawn in white on opaque
// black. Shared by every font of the process, so it is used under its lock.
class GlyphScratch
{
public:
  static GlyphScratch& Instance()
  {
    static GlyphScratch scratch;
    return scratch;
  }
  std::mutex& Lock() { return mLock; }
  // The surface, grown to at least w x h; null if it cannot be. [mLock held]
  LICE_SysBitmap* Surface(int w, int h)
  {
    const int needW = std::max(256, w), needH = std::max(256, h);
    if (mBitmap.getAllocWidth() < needW || mBitmap.getAllocHeight() < needH)
      mBitmap.resize(std::max(needW, mBitmap.getAllocWidth()), std::max(needH, mBitmap.getAllocHeight()));
    return mBitmap.getBits() ? &mBitmap : nullptr;
  }

private:
  std::mutex mLock;
  LICE_SysBitmap mBitmap{256, 256};
};

BYTE QualityOf(int quality)
{
  switch (quality)
  {
  case 1: return NONANTIALIASED_QUALITY;
  case 2: return ANTIALIASED_QUALITY;
  case 3: return CLEARTYPE_QUALITY;
  default: return DEFAULT_QUALITY;
  }
}

// UTF-8 to UTF-16 into a stack buffer of 1024 characters, or an allocated
// one for longer text.
class Utf16Text
{
public:
  Utf16Text(const char* utf8, int len)
  {
    const int needed = MultiByteToWideChar(CP_UTF8, 0, utf8, len, nullptr, 0);
    if (needed <= 0) return;
    wchar_t* out = mLocal;
    if (needed > 999)
    {
      mHeap.resize(static_cast<size_t>(needed) + 1);
      out = mHeap.data();
    }
    mLength = MultiByteToWideChar(CP_UTF8, 0, utf8, len, out, needed);
    mText = out;
  }
  const wchar_t* Text() const { return mText; }
  int Length() const { return mLength; }

private:
  wchar_t mLocal[1024];
  std::vector<wchar_t> mHeap;
  const wchar_t* mText = mLocal;
  int mLength = 0;
};

class WinFont : public PlatformFont
{
public:
  explicit WinFont(HFONT font) : mFont(font)
  {
    std::lock_guard<std::mutex> guard(GlyphScratch::Instance().Lock());
    LICE_SysBitmap* scratch = GlyphScratch::Instance().Surface(256, 256);
    HDC dc = scratch ? static_cast<HDC>(scratch->getDC()) : nullptr;
    if (!dc) return;
    HGDIOBJ old = SelectObject(dc, mFont);
    TEXTMETRICA metrics{};
    if (GetTextMetricsA(dc, &metrics)) mLineHeight = metrics.tmHeight;
    char face[LF_FACESIZE] = {};
    if (GetTextFaceA(dc, LF_FACESIZE, face) > 0) mFamily = face;
    SelectObject(dc, old);
  }
  ~WinFont() override { DeleteObject(mFont); }

  int LineHeight() const override { return mLineHeight; }
  const char* FamilyName() const override { return mFamily.c_str(); }

  bool RenderGlyph(uint32_t codepoint, GlyphImage* out) override
  {
    wchar_t units[2];
    int count = 1;
    if (codepoint >= 0x10000 && codepoint <= 0x10FFFF)
    {
      units[0] = static_cast<wchar_t>(0xD800 + ((codepoint - 0x10000) >> 10));
      units[1] = static_cast<wchar_t>(0xDC00 + ((codepoint - 0x10000) & 0x3FF));
      count = 2;
    }
    else
      units[0] = static_cast<wchar_t>(codepoint <= 0xFFFF ? codepoint : 0xFFFD);

    GlyphScratch& shared = GlyphScratch::Instance();
    std::lock_guard<std::mutex> guard(shared.Lock());
    // Room on both sides of the pen for glyphs that overhang their advance
    // (italics, some letters' tails).
    const int pad = std::max(1, mLineHeight);
    LICE_SysBitmap* scratch = shared.Surface(1, mLineHeight);
    HDC dc = scratch ? static_cast<HDC>(scratch->getDC()) : nullptr;
    if (!dc || mLineHeight <= 0) return false;
    HGDIOBJ old = SelectObject(dc, mFont);
    SIZE extent{};
    const bool measured = GetTextExtentPoint32W(dc, units, count, &extent) != 0;
    const int cellW = std::min(scratch->getAllocWidth(), static_cast<int>(extent.cx) + 2 * pad);
    const int cellH = std::min(scratch->getAllocHeight(), mLineHeight);
    RECT cell{0, 0, cellW, cellH};
    FillRect(dc, &cell, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    const bool drawn = ExtTextOutW(dc, pad, 0, 0, nullptr, units, static_cast<UINT>(count), nullptr) != 0;
    GdiFlush();
    SelectObject(dc, old);
    if (!measured || !drawn) return false;

    // Coverage is the grey level of the white-on-black drawing (the mean of
    // the three channels, so ClearType's coloured fringes become grey).
    const LICE_pixel* bits = scratch->getBits();
    const int span = scratch->getRowSpan();
    auto coverageAt = [&](int x, int y) {
      const LICE_pixel p = bits[static_cast<long>(y) * span + x];
      return static_cast<uint8_t>((LICE_GETR(p) + LICE_GETG(p) + LICE_GETB(p)) / 3);
    };
    int x0 = cellW, y0 = cellH, x1 = -1, y1 = -1;
    for (int y = 0; y < cellH; ++y)
      for (int x = 0; x < cellW; ++x)
        if (coverageAt(x, y))
        {
          x0 = std::min(x0, x), x1 = std::max(x1, x);
          y0 = std::min(y0, y), y1 = std::max(y1, y);
        }
    out->advance = static_cast<int>(extent.cx);
    out->coverage.clear();
    if (x1 < 0)
    {
      out->left = out->top = out->width = out->height = 0;
      return true;
    }
    out->left = x0 - pad;
    out->top = y0;
    out->width = x1 - x0 + 1;
    out->height = y1 - y0 + 1;
    out->coverage.resize(static_cast<size_t>(out->width) * out->height);
    for (int y = 0; y < out->height; ++y)
      for (int x = 0; x < out->width; ++x)
        out->coverage[static_cast<size_t>(y) * out->width + x] = coverageAt(x0 + x, y0 + y);
    return true;
  }

  bool DrawTextNative(LICE_IBitmap* dest, const char* utf8, int len, IRECT* rect, unsigned int flags,
                      bool measureOnly, int* heightOut, LICE_pixel color) override
  {
    if (LICE_RunningUnderWine() || !dest || !rect) return false;
    HDC dc = static_cast<HDC>(dest->getDC());
    if (!dc) return false;
    const Utf16Text text(utf8, len);
    if (text.Length() <= 0) return false;
    // The LICE_DT_ flags are GDI's DT_ values.
    UINT format = (flags & 0xFFFu) | DT_NOPREFIX;
    if (measureOnly) format |= DT_CALCRECT;
    RECT r{rect->L, rect->T, rect->R, rect->B};
    HGDIOBJ old = SelectObject(dc, mFont);
    SetTextColor(dc, RGB(LICE_GETR(color), LICE_GETG(color), LICE_GETB(color)));
    SetBkMode(dc, TRANSPARENT);
    const int height = DrawTextW(dc, text.Text(), text.Length(), &r, format);
    SelectObject(dc, old);
    GdiFlush();
    if (measureOnly) *rect = IRECT(r.left, r.top, r.right, r.bottom);
    if (heightOut) *heightOut = height;
    return true;
  }

private:
  HFONT mFont;
  int mLineHeight = 0;
  std::string mFamily;
};
} // namespace

PlatformFont* CreatePlatformFont(const PlatformFontRequest& request)
{
  if (request.size == 0) return nullptr;
  HFONT font = CreateFontA(request.size, 0, request.orientation * 10, request.orientation * 10, request.weight,
                           request.italic ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, QualityOf(request.quality), DEFAULT_PITCH,
                           request.name ? request.name : "");
  if (!font) return nullptr;
  WinFont* result = new WinFont(font);
  if (result->LineHeight() <= 0)
  {
    delete result;
    return nullptr;
  }
  return result;
}
