#pragma once

#include <cstddef>
#include <vector>

// A byte buffer that grows in steps of its granularity and never gives memory
// back while it lives: shrinking only lowers the used size, so a buffer sized
// once for the largest block can be resized on the audio thread for free.
class WDL_HeapBuf
{
public:
  explicit WDL_HeapBuf(int granularity = 4096) : m_granul(granularity > 0 ? granularity : 1) {}

  void* Get() { return m_size > 0 ? m_buf.data() : nullptr; }
  const void* Get() const { return m_size > 0 ? m_buf.data() : nullptr; }
  int GetSize() const { return m_size; }
  int GetAllocated() const { return static_cast<int>(m_buf.size()); }
  int GetGranularity() const { return m_granul; }

  // Sets the used size; grows the allocation (rounded up to the granularity)
  // only when needed. Returns the buffer, or null for a size of 0 or less.
  void* Resize(int newSize)
  {
    if (newSize < 0) newSize = 0;
    if (static_cast<size_t>(newSize) > m_buf.size())
    {
      size_t granul = static_cast<size_t>(m_granul);
      size_t rounded = (static_cast<size_t>(newSize) + granul - 1) / granul * granul;
      m_buf.resize(rounded);
    }
    m_size = newSize;
    return Get();
  }

private:
  std::vector<unsigned char> m_buf; // allocated bytes (m_alloc is its size)
  int m_size = 0;                   // bytes in use
  int m_granul;                     // allocation step in bytes
};
