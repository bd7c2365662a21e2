#pragma once

#include "raster/LICE_Pixel.h"

// A 32-bit image the raster operations read and write. Drawing code fetches
// the pixel pointer and row span once and then walks rows itself; nothing
// reads pixels through this interface inside a loop.
class LICE_IBitmap
{
public:
  virtual ~LICE_IBitmap() = default;

  // First pixel of the first stored row (null when there is no storage).
  virtual LICE_pixel* getBits() = 0;
  virtual int getWidth() = 0;
  virtual int getHeight() = 0;
  // Distance between the starts of two stored rows, in pixels.
  virtual int getRowSpan() = 0;
  // True when stored row 0 is the bottom row of the image.
  virtual bool isFlipped() { return false; }
  // Returns true if the storage changed.
  virtual bool resize(int w, int h) = 0;
  // The native drawing context the pixels are bound to, or null.
  virtual void* getDC() { return nullptr; }
  virtual intptr_t Extended(int id, void* data)
  {
    (void)id;
    (void)data;
    return 0;
  }
};
