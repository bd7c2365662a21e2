#pragma once

#include <functional>
#include <mutex>
#include <vector>

#include "editor/IText.h"

class LICE_IFont;

// The fonts of the whole process, shared by every editor, found by size,
// orientation, style and font name (colour, alignment and quality are not
// part of the key). The cache owns its fonts and frees them when the library
// is unloaded. [any thread; one mutex]
class FontCache
{
public:
  static FontCache& Instance();

  // The font cached for the style; otherwise the result of make() (called
  // with the cache locked), cached when it is not null.
  LICE_IFont* FindOrMake(const IText& text, const std::function<LICE_IFont*()>& make);
  int Count();
  // Held while a cached font draws or measures text. Every editor of the
  // process shares the font, and drawing changes it (its text colour, its
  // glyph cache, its FreeType face), so editors painting on different
  // threads (one UI thread per plug-in window in some hosts, snapshots
  // painted on a host thread) take turns. A leaf lock: nothing else is
  // taken while it is held, and the audio thread never takes it.
  std::mutex& DrawingLock() { return mDrawing; }

  ~FontCache();

private:
  struct Entry
  {
    int size;
    int orientation;
    int style;
    char name[IText::kFontNameSize];
    LICE_IFont* font;
  };

  FontCache() = default;

  std::mutex mLock;
  std::mutex mDrawing;
  std::vector<Entry> mEntries;
};
