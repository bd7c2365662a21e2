#include "raster/LICE_SysBitmap.h"

// The size rule every platform's surface shares: a smaller size reuses the
// surface, a larger one replaces it with rows padded to four pixels, and a
// surface that cannot be made leaves an empty bitmap. Each platform supplies
// CreateSurface and ReleaseSurface.
bool LICE_SysBitmap::resize(int w, int h)
{
  if (w == m_width && h == m_height) return false;

  if (w > 0 && h > 0 && m_bitmap && w <= m_allocw && h <= m_alloch)
  {
    m_width = w;
    m_height = h;
    return true;
  }

  ReleaseSurface();
  m_width = w;
  m_height = h;
  const long long roundedW = (static_cast<long long>(w) + 3) & ~3LL;
  if (w < 1 || h < 1 || roundedW > 0x7FFFFFFF || !CreateSurface(static_cast<int>(roundedW), h))
  {
    ReleaseSurface();
    m_width = 0;
    m_height = 0;
  }
  return true;
}
