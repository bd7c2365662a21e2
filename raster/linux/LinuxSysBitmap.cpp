// The system bitmap on Linux: the surface is plain memory that the editor's
// host hands to the window system as a 32-bit TrueColor image, so there is no
// drawing context and no handle to select.
#include "raster/LICE_SysBitmap.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace
{
// The surface's size is kept in int pixels by callers; refuse anything whose
// byte count would not fit.
constexpr long long kMaxSurfaceBytes = 0x7FFFFFFF - 63;
} // namespace

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
  const long long bytes = static_cast<long long>(allocw) * alloch * 4;
  if (allocw < 1 || alloch < 1 || bytes > kMaxSurfaceBytes) return false;
  void* mem = std::calloc(static_cast<size_t>(bytes) + 63, 1);
  if (!mem) return false;
  m_bitmap = mem;
  m_bits = reinterpret_cast<LICE_pixel*>((reinterpret_cast<uintptr_t>(mem) + 63) & ~uintptr_t(63));
  m_allocw = allocw;
  m_alloch = alloch;
  return true;
}

