// The system bitmap on Linux: the surface is plain memory that the editor's
// host hands to the window system as a 32-bit TrueColor image, so there is no
// drawing context and no handle to select.
#include "raster/LICE_SysBitmap.h"

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
  m_bitmap = mem;
  m_bits = bits;
  m_allocw = allocw;
  m_alloch = alloch;
  return true;
}

