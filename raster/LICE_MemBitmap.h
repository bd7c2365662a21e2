#pragma once

#include "raster/LICE_IBitmap.h"

// A bitmap in plain memory. Rows are padded to a multiple of the line
// alignment; the pixel pointer is 64-byte aligned. Storage grows and is never
// given back until the bitmap is destroyed or resized to nothing.
class LICE_MemBitmap : public LICE_IBitmap
{
public:
  // Largest buffer a bitmap will allocate, in bytes (the size is kept in an
  // int, with 63 spare bytes for the alignment and a quarter for growth).
  static constexpr long long kMaxBytes = 0x7FFFFFFF - 63;

  explicit LICE_MemBitmap(int w = 0, int h = 0, unsigned int linealign = 4);
  ~LICE_MemBitmap() override;

  LICE_MemBitmap(const LICE_MemBitmap&) = delete;
  LICE_MemBitmap& operator=(const LICE_MemBitmap&) = delete;

  LICE_pixel* getBits() override;
  int getWidth() override { return m_width; }
  int getHeight() override { return m_height; }
  int getRowSpan() override;
  bool resize(int w, int h) override;

  int getAllocSize() const { return m_allocsize; }

private:
  // Width rounded up to the line alignment, computed wide so a huge width
  // cannot wrap.
  long long RowSpanFor(int w) const;

  void* m_fb = nullptr;
  int m_width = 0;
  int m_height = 0;
  int m_allocsize = 0;
  int m_linealign = 0;
};
