#include "raster/LICE_MemBitmap.h"

#include <cstdint>
#include <cstdlib>

namespace
{
LICE_pixel* AlignTo64(void* p)
{
  return reinterpret_cast<LICE_pixel*>((reinterpret_cast<uintptr_t>(p) + 63) & ~uintptr_t(63));
}
} // namespace

LICE_MemBitmap::LICE_MemBitmap(int w, int h, unsigned int linealign)
{
  if (linealign >= 2)
  {
    const unsigned lowest = linealign & (~linealign + 1u);
    // Alignments beyond 16 pixels are treated as 16; the mask must stay of
    // the form 2^k - 1 for the rounding below to mean anything.
    m_linealign = lowest > 16 ? 15 : static_cast<int>(lowest - 1);
  }
  if (w >= 1 && h >= 1) resize(w, h);
}

LICE_MemBitmap::~LICE_MemBitmap()
{
  std::free(m_fb);
}

LICE_pixel* LICE_MemBitmap::getBits()
{
  return m_fb ? AlignTo64(m_fb) : nullptr;
}

long long LICE_MemBitmap::RowSpanFor(int w) const
{
  return (static_cast<long long>(w) + m_linealign) & ~static_cast<long long>(m_linealign);
}

int LICE_MemBitmap::getRowSpan()
{
  return static_cast<int>(RowSpanFor(m_width));
}

bool LICE_MemBitmap::resize(int w, int h)
{
  if (w == m_width && h == m_height) return false;
  m_width = w;
  m_height = h;

  // Sizes are computed in 64 bits: width x height in int wraps long before
  // memory runs out, and a wrapped size would allocate too little.
  const long long needed = (w >= 1 && h >= 1) ? RowSpanFor(w) * h * 4 : 0;
  if (needed <= 0 || needed > kMaxBytes)
  {
    std::free(m_fb);
    m_fb = nullptr;
    m_allocsize = 0;
  }
  else if (!m_fb)
  {
    m_fb = std::malloc(static_cast<size_t>(needed) + 63);
    m_allocsize = m_fb ? static_cast<int>(needed) : 0;
  }
  else if (m_allocsize < needed)
  {
    long long grown = needed + needed / 4;
    if (grown > kMaxBytes) grown = needed;
    void* p = std::realloc(m_fb, static_cast<size_t>(grown) + 63);
    if (p)
    {
      m_fb = p;
      m_allocsize = static_cast<int>(grown);
    }
    else
    {
      std::free(m_fb);
      m_fb = std::malloc(static_cast<size_t>(needed) + 63);
      m_allocsize = m_fb ? static_cast<int>(needed) : 0;
    }
  }

  if (!m_fb)
  {
    m_width = 0;
    m_height = 0;
  }
  return true;
}
