#include "editor/FontCache.h"

#include <cstring>

#include "raster/LICE_IFont.h"

FontCache& FontCache::Instance()
{
  static FontCache cache;
  return cache;
}

FontCache::~FontCache()
{
  for (Entry& entry : mEntries) delete entry.font;
}

LICE_IFont* FontCache::FindOrMake(const IText& text, const std::function<LICE_IFont*()>& make)
{
  std::lock_guard<std::mutex> guard(mLock);
  for (const Entry& entry : mEntries)
    if (entry.size == text.mSize && entry.orientation == text.mOrientation && entry.style == text.mStyle &&
        std::strncmp(entry.name, text.mFont, IText::kFontNameSize) == 0)
      return entry.font;

  LICE_IFont* font = make ? make() : nullptr;
  if (!font) return nullptr;
  Entry entry{text.mSize, text.mOrientation, text.mStyle, {}, font};
  // The style's name field need not be terminated; copy what it holds.
  std::memcpy(entry.name, text.mFont, sizeof entry.name);
  mEntries.push_back(entry);
  return font;
}

int FontCache::Count()
{
  std::lock_guard<std::mutex> guard(mLock);
  return static_cast<int>(mEntries.size());
}
