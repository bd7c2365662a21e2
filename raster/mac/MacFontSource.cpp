// Fonts on macOS: Core Text finds the family by name (falling back to the
// system's choice for unknown names) and draws each glyph into an 8-bit
// coverage mask for the raster layer's glyph cache. Only compiled on a Mac.
#include <CoreGraphics/CoreGraphics.h>
#include <CoreText/CoreText.h>

#include <cmath>
#include <string>

#include "raster/PlatformFont.h"

namespace
{
std::string Utf8Of(CFStringRef text)
{
  if (!text) return "";
  char buffer[256] = {};
  if (!CFStringGetCString(text, buffer, sizeof buffer, kCFStringEncodingUTF8)) return "";
  return buffer;
}

class MacFont : public PlatformFont
{
public:
  ~MacFont() override
  {
    if (mFont) CFRelease(mFont);
  }

  bool Open(const PlatformFontRequest& req)
  {
    if (req.size == 0) return false;
    CFStringRef name = CFStringCreateWithCString(nullptr, req.name ? req.name : "", kCFStringEncodingUTF8);
    if (!name) return false;
    // A positive size is the cell height (ascent + descent), a negative one
    // the em height: measure the face at one point to tell them apart.
    CTFontRef unit = CTFontCreateWithName(name, 1.0, nullptr);
    CFRelease(name);
    if (!unit) return false;
    const double cell = CTFontGetAscent(unit) + CTFontGetDescent(unit);
    const double em = req.size > 0 ? (cell > 0 ? req.size / cell : 0.0) : -static_cast<double>(req.size);
    CTFontSymbolicTraits traits = 0;
    if (req.weight >= 600) traits |= kCTFontBoldTrait;
    if (req.italic) traits |= kCTFontItalicTrait;
    CTFontRef sized = em > 0.0 && em < 4096.0 ? CTFontCreateCopyWithAttributes(unit, em, nullptr, nullptr) : nullptr;
    CFRelease(unit);
    if (!sized) return false;
    mFont = sized;
    if (traits)
    {
      // A family without the style keeps its regular face.
      if (CTFontRef styled = CTFontCreateCopyWithSymbolicTraits(sized, 0.0, nullptr, traits, traits))
      {
        CFRelease(mFont);
        mFont = styled;
      }
    }
    mAscent = static_cast<int>(std::lround(CTFontGetAscent(mFont)));
    mLineHeight = mAscent + static_cast<int>(std::lround(CTFontGetDescent(mFont)));
    mAntialias = req.quality != 1;
    CFStringRef family = CTFontCopyFamilyName(mFont);
    mFamily = Utf8Of(family);
    if (family) CFRelease(family);
    return mLineHeight > 0;
  }

  int LineHeight() const override { return mLineHeight; }
  const char* FamilyName() const override { return mFamily.c_str(); }

  bool RenderGlyph(uint32_t codepoint, GlyphImage* out) override
  {
    UniChar units[2] = {};
    CFIndex count = 1;
    if (codepoint >= 0x10000 && codepoint <= 0x10FFFF)
    {
      units[0] = static_cast<UniChar>(0xD800 + ((codepoint - 0x10000) >> 10));
      units[1] = static_cast<UniChar>(0xDC00 + ((codepoint - 0x10000) & 0x3FF));
      count = 2;
    }
    else
    {
      units[0] = static_cast<UniChar>(codepoint);
    }
    CGGlyph glyphs[2] = {};
    CTFontGetGlyphsForCharacters(mFont, units, glyphs, count);
    CGSize advance = CGSizeZero;
    CTFontGetAdvancesForGlyphs(mFont, kCTFontOrientationHorizontal, glyphs, &advance, 1);
    const CGRect box = CTFontGetBoundingRectsForGlyphs(mFont, kCTFontOrientationHorizontal, glyphs, nullptr, 1);
    out->advance = static_cast<int>(std::lround(advance.width));
    // One pixel of margin for antialiasing on every side.
    const int left = static_cast<int>(std::floor(box.origin.x)) - 1;
    const int bottom = static_cast<int>(std::floor(box.origin.y)) - 1;
    const int width = static_cast<int>(std::ceil(box.origin.x + box.size.width)) + 1 - left;
    const int height = static_cast<int>(std::ceil(box.origin.y + box.size.height)) + 1 - bottom;
    out->left = left;
    out->top = mAscent - (bottom + height);
    out->width = width > 0 && height > 0 ? width : 0;
    out->height = width > 0 && height > 0 ? height : 0;
    out->coverage.assign(static_cast<size_t>(out->width) * out->height, 0);
    if (out->coverage.empty()) return true;

    CGColorSpaceRef gray = CGColorSpaceCreateDeviceGray();
    CGContextRef context = CGBitmapContextCreate(out->coverage.data(), static_cast<size_t>(width),
                                                 static_cast<size_t>(height), 8, static_cast<size_t>(width), gray,
                                                 kCGImageAlphaNone);
    CGColorSpaceRelease(gray);
    if (!context) return false;
    CGContextSetShouldAntialias(context, mAntialias);
    CGContextSetGrayFillColor(context, 1.0, 1.0);
    const CGPoint origin = CGPointMake(-left, -bottom);
    CTFontDrawGlyphs(mFont, glyphs, &origin, 1, context);
    CGContextRelease(context);
    return true;
  }

private:
  CTFontRef mFont = nullptr;
  std::string mFamily;
  int mAscent = 0;
  int mLineHeight = 0;
  bool mAntialias = true;
};
} // namespace

PlatformFont* CreatePlatformFont(const PlatformFontRequest& request)
{
  auto* font = new MacFont;
  if (!font->Open(request))
  {
    delete font;
    return nullptr;
  }
  return font;
}
