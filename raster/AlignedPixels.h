#pragma once
// Memory for a surface of 32-bit pixels that the window system or a drawing
// context wraps without copying (the Linux and macOS system bitmaps).
#include <cstdint>
#include <cstdlib>

#include "raster/LICE_Pixel.h"

// Zeroed pixels for w × h whose first pixel lies on a 64-byte boundary, so a
// row start never splits a cache line. Null when a side is below 1, when the
// byte count would not fit an int (callers keep sizes in int pixels), or when
// memory runs out; otherwise *block receives the allocation to std::free.
inline LICE_pixel* AllocateAlignedPixels(int w, int h, void** block)
{
  constexpr long long kMaxBytes = 0x7FFFFFFF - 63;
  const long long bytes = static_cast<long long>(w) * h * 4;
  if (w < 1 || h < 1 || bytes > kMaxBytes) return nullptr;
  void* mem = std::calloc(static_cast<size_t>(bytes) + 63, 1);
  if (!mem) return nullptr;
  *block = mem;
  return reinterpret_cast<LICE_pixel*>((reinterpret_cast<uintptr_t>(mem) + 63) & ~uintptr_t(63));
}
