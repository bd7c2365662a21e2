#pragma once

class LICE_IBitmap;

// A loaded image and how many equal frames it holds. The frames are stacked
// vertically or laid side by side; the drawing call says which. The raster
// bitmap belongs to the editor's process-wide image cache, never to the
// IBitmap, so copies are cheap and never free anything.
struct IBitmap
{
  LICE_IBitmap* mData = nullptr; // null when the image could not be loaded
  int W = 0;                     // whole image, all frames
  int H = 0;
  int N = 1;                     // frame count

  IBitmap() = default;
  IBitmap(LICE_IBitmap* data, int w, int h, int n = 1) : mData(data), W(w), H(h), N(n) {}

  bool IsLoaded() const { return mData != nullptr; }
};
