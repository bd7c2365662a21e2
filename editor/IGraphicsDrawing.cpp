// The editor's images, fonts and drawing calls, on top of the raster layer.
#include <cstring>
#include <mutex>

#include "editor/BitmapCache.h"
#include "editor/FontCache.h"
#include "editor/IBitmapControl.h"
#include "editor/IGraphics.h"
#include "raster/LICE_CachedFont.h"
#include "raster/LICE_Blend.h"
#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_Primitives.h"
#include "raster/LICE_SysBitmap.h"
#include "raster/PlatformFont.h"

namespace
{
constexpr double kAlphaToWeight = 0.00392156862745098; // 1 / 255
constexpr int kFontWeightNormal = 400;
constexpr int kFontWeightBold = 700;
// The editor's fonts own their platform handle and prefer the platform's
// own text drawing where there is one.
constexpr int kEditorFontFlags = LICE_FONT_FLAG_OWNS_HFONT | LICE_FONT_FLAG_FORCE_NATIVE;
} // namespace

// ---- Images ----

IBitmap IGraphics::LoadEditorImage(int id, const char* name, int nStates)
{
  LICE_IBitmap* bitmap = BitmapCache::Instance().FindOrLoad(id, [&] { return LoadPlatformImage(id, name); });
  if (!bitmap) return IBitmap(nullptr, 0, 0, nStates);
  return IBitmap(bitmap, bitmap->getWidth(), bitmap->getHeight(), nStates);
}

void IGraphics::SetBackgroundImage(int id, const char* name)
{
  const IBitmap background = LoadEditorImage(id, name, 1);
  IControl* control = new IBitmapControl(mPlug, IRECT(0, 0, background.W, background.H), -1, background, true,
                                         IChannelBlend(IChannelBlend::kBlendClobber, 1.0f));
  {
    WDL_MutexLock lock(&mControlListLock);
    mControlList.Insert(0, control);
  }
  // Indices held for the mouse now point one further.
  if (mCapture >= 0) ++mCapture;
  if (mHoverIndex >= 0) ++mHoverIndex;
}

IBitmap IGraphics::CutBitmap(const IBitmap* src, const IRECT* r)
{
  if (!src || !src->mData || !r) return IBitmap(nullptr, 0, 0, src ? src->N : 1);
  LICE_MemBitmap* cut = new LICE_MemBitmap(r->W(), r->H(), 4);
  // Parts of the rectangle outside the source stay transparent rather than
  // showing whatever the fresh allocation held.
  if (LICE_pixel* bits = cut->getBits())
    std::memset(bits, 0, sizeof(LICE_pixel) * static_cast<size_t>(cut->getRowSpan()) * cut->getHeight());
  LICE_Blit(cut, src->mData, 0, 0, r->L, r->T, r->W(), r->H(), 1.0f, LICE_BLIT_MODE_COPY);
  BitmapCache::Instance().Add(BitmapCache::kUnnamedId, cut);
  return IBitmap(cut, cut->getWidth(), cut->getHeight(), src->N);
}

// ---- Drawing ----

bool IGraphics::BlitBitmap(const IBitmap* bitmap, const IRECT* dest, int srcX, int srcY, const IChannelBlend* blend)
{
  if (!bitmap || !dest) return true;
  const IRECT r = dest->Intersect(mDirtyArea);
  if (r.Empty()) return true;
  LICE_Blit(mBackBuffer, bitmap->mData, r.L, r.T, srcX + r.L - dest->L, srcY + r.T - dest->T, r.W(), r.H(),
            BlendWeight(blend), BlendMode(blend));
  return true;
}

bool IGraphics::BlitBitmap(const IBitmap* bitmap, const IRECT* dest, int frame, const IChannelBlend* blend,
                           bool framesVertical)
{
  if (!bitmap) return true;
  int srcX = 0;
  int srcY = 0;
  if (bitmap->N >= 2 && frame >= 2)
  {
    const int extent = framesVertical ? bitmap->H : bitmap->W;
    const int offset = static_cast<int>(static_cast<double>(extent) * (frame - 1) / bitmap->N + 0.5);
    (framesVertical ? srcY : srcX) = offset;
  }
  return BlitBitmap(bitmap, dest, srcX, srcY, blend);
}

bool IGraphics::BlitRotated(const IBitmap* bitmap, int cx, int cy, double angle, const IChannelBlend* blend,
                            float srcX, float srcY)
{
  if (!bitmap) return true;
  const int w = bitmap->W;
  const int h = bitmap->H;
  LICE_RotatedBlit(mBackBuffer, bitmap->mData, cx - w / 2, cy - h / 2, w, h, srcX, srcY, static_cast<float>(w),
                   static_cast<float>(h), static_cast<float>(angle), false, BlendWeight(blend),
                   BlendMode(blend) | LICE_BLIT_FILTER_BILINEAR, 0.0f, 0.0f);
  return true;
}

bool IGraphics::StrokeArc(const IColor* color, float cx, float cy, float r, float startAngle, float endAngle,
                          const IChannelBlend* blend, bool antialias)
{
  if (!color) return true;
  // The colour's alpha is the arc's weight; the blend only chooses the mode.
  const float weight = static_cast<float>(color->A * kAlphaToWeight);
  LICE_Arc(mBackBuffer, cx, cy, r, startAngle, endAngle, color->ToPixel(), weight, BlendMode(blend), antialias);
  return true;
}

bool IGraphics::FillRectColor(const IColor* color, const IRECT* r, const IChannelBlend* blend)
{
  if (!color || !r) return true;
  LICE_FillRect(mBackBuffer, r->L, r->T, r->W(), r->H(), color->ToPixel(), BlendWeight(blend), BlendMode(blend));
  return true;
}

bool IGraphics::DrawTextIn(IText* text, const char* str, const IRECT* r)
{
  if (!str || !*str) return true;
  if (!text) return false;
  LICE_IFont* font = text->mCached ? text->mCached : FontForText(text);
  if (!font) return false;
  if (!r || !mBackBuffer) return true;

  unsigned int flags = LICE_DT_NOCLIP;
  if (text->mColor.A != 255) flags |= LICE_DT_USEFGALPHA;
  if (text->mAlign == IText::kAlignCenter)
    flags |= LICE_DT_CENTER;
  else if (text->mAlign == IText::kAlignFar)
    flags |= LICE_DT_RIGHT;
  IRECT area = *r;
  std::lock_guard<std::mutex> drawing(FontCache::Instance().DrawingLock());
  font->SetTextColor(text->mColor.ToPixel());
  font->DrawText(mBackBuffer, str, -1, &area, flags);
  return true;
}

LICE_IFont* IGraphics::FontForText(IText* text)
{
  if (!text) return nullptr;
  LICE_IFont* font = FontCache::Instance().FindOrMake(*text, [text]() -> LICE_IFont* {
    char name[IText::kFontNameSize + 1] = {};
    std::memcpy(name, text->mFont, IText::kFontNameSize);
    PlatformFontRequest request;
    request.name = name;
    request.size = text->mSize;
    request.weight = (text->mStyle & IText::kStyleBold) ? kFontWeightBold : kFontWeightNormal;
    request.italic = (text->mStyle & IText::kStyleItalic) != 0;
    request.orientation = text->mOrientation;
    request.quality = text->mQuality;

    LICE_CachedFont* cached = new LICE_CachedFont();
    PlatformFont* platformFont = CreatePlatformFont(request);
    if (!platformFont)
    {
      delete cached;
      return nullptr;
    }
    cached->SetFromHFont(platformFont, kEditorFontFlags);
    return cached;
  });
  text->mCached = font;
  return font;
}
