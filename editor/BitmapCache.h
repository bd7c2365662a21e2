#pragma once

#include <functional>
#include <mutex>
#include <utility>
#include <vector>

class LICE_IBitmap;

// The editor images of the whole process, shared by every editor: each
// resource ID is decoded once, whichever editor or thread asks first. The
// cache owns its bitmaps and frees them when the library is unloaded.
// [any thread; one mutex]
class BitmapCache
{
public:
  // Entries added under this ID are kept but never found again.
  static constexpr int kUnnamedId = -1;

  static BitmapCache& Instance();

  // The bitmap cached under id; otherwise the result of load() (called with
  // the cache locked, so concurrent requests for one ID decode it once),
  // cached when it is not null.
  LICE_IBitmap* FindOrLoad(int id, const std::function<LICE_IBitmap*()>& load);
  // Takes ownership of bitmap under id.
  void Add(int id, LICE_IBitmap* bitmap);
  int Count();

  ~BitmapCache();

private:
  BitmapCache() = default;
  LICE_IBitmap* FindLocked(int id) const;

  std::mutex mLock;
  std::vector<std::pair<int, LICE_IBitmap*>> mEntries;
};
