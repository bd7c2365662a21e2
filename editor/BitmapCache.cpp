#include "editor/BitmapCache.h"

#include "raster/LICE_IBitmap.h"

BitmapCache& BitmapCache::Instance()
{
  static BitmapCache cache;
  return cache;
}

BitmapCache::~BitmapCache()
{
  for (auto& entry : mEntries) delete entry.second;
}

LICE_IBitmap* BitmapCache::FindLocked(int id) const
{
  if (id == kUnnamedId) return nullptr;
  for (const auto& entry : mEntries)
    if (entry.first == id) return entry.second;
  return nullptr;
}

LICE_IBitmap* BitmapCache::FindOrLoad(int id, const std::function<LICE_IBitmap*()>& load)
{
  std::lock_guard<std::mutex> guard(mLock);
  if (LICE_IBitmap* found = FindLocked(id)) return found;
  LICE_IBitmap* loaded = load ? load() : nullptr;
  if (loaded) mEntries.emplace_back(id, loaded);
  return loaded;
}

void BitmapCache::Add(int id, LICE_IBitmap* bitmap)
{
  if (!bitmap) return;
  std::lock_guard<std::mutex> guard(mLock);
  mEntries.emplace_back(id, bitmap);
}

int BitmapCache::Count()
{
  std::lock_guard<std::mutex> guard(mLock);
  return static_cast<int>(mEntries.size());
}
