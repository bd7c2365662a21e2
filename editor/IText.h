#pragma once

#include "core/NumericConversions.h"
#include "editor/IColor.h"

class LICE_IFont;

// A text style. The font is looked up (and made on first use) by the editor
// and remembered here; it belongs to the editor's process-wide font cache.
struct IText
{
  static constexpr int kFontNameSize = 32;

  enum EStyle
  {
    kStyleNormal = 0,
    kStyleBold = 1,
    kStyleItalic = 2
  };
  enum EAlign
  {
    kAlignNear = 0,   // left
    kAlignCenter = 1,
    kAlignFar = 2     // right
  };
  enum EQuality
  {
    kQualityDefault = 0,
    kQualityNonAntiAliased = 1,
    kQualityAntiAliased = 2,
    kQualityClearType = 3
  };

  char mFont[kFontNameSize] = "Arial";
  int mSize = 14;          // pixels
  IColor mColor;
  int mStyle = kStyleNormal;
  int mAlign = kAlignNear;
  int mOrientation = 0;    // degrees
  int mQuality = kQualityDefault;
  LICE_IFont* mCached = nullptr;

  IText() = default;
  IText(const char* font, int size, const IColor& color, int style = kStyleNormal, int align = kAlignNear,
        int orientation = 0, int quality = kQualityDefault)
      : mSize(size), mColor(color), mStyle(style), mAlign(align), mOrientation(orientation), mQuality(quality)
  {
    CopyBounded(mFont, font);
  }
};
