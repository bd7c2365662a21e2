// The system bitmap on macOS: the surface is 64-byte aligned memory wrapped
// in a Core Graphics bitmap context. Bytes lie X, R, G, B (the alpha byte
// skipped, big-endian order), as the raster layer packs them on this
// platform, and the context's y axis is turned to grow downwards like the
// editor's, so native drawing into it lands where the raster layer draws.
// Only compiled on a Mac.
#include "raster/LICE_SysBitmap.h"

#include <CoreGraphics/CoreGraphics.h>

#include <cstdlib>

#include "raster/AlignedPixels.h"

LICE_SysBitmap::LICE_SysBitmap(int w, int h)
{
  resize(w, h);
}

LICE_SysBitmap::~LICE_SysBitmap()
{
  ReleaseSurface();
}

void LICE_SysBitmap::ReleaseSurface()
{
  if (m_dc) CGContextRelease(static_cast<CGContextRef>(m_dc));
  m_dc = nullptr;
  std::free(m_bitmap);
  m_bitmap = nullptr;
  m_bits = nullptr;
  m_allocw = 0;
  m_alloch = 0;
}

bool LICE_SysBitmap::CreateSurface(int allocw, int alloch)
{
  void* mem = nullptr;
  LICE_pixel* bits = AllocateAlignedPixels(allocw, alloch, &mem);
  if (!bits) return false;
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  CGContextRef context = CGBitmapContextCreate(bits, static_cast<size_t>(allocw), static_cast<size_t>(alloch), 8,
                                               static_cast<size_t>(allocw) * 4, space,
                                               kCGImageAlphaNoneSkipFirst | kCGBitmapByteOrderDefault);
  CGColorSpaceRelease(space);
  if (!context)
  {
    std::free(mem);
    return false;
  }
  CGContextTranslateCTM(context, 0, alloch);
  CGContextScaleCTM(context, 1, -1);
  m_dc = context;
  m_bitmap = mem;
  m_bits = bits;
  m_allocw = allocw;
  m_alloch = alloch;
  return true;
}
