#pragma once

#include <climits>
#include <cstring>
#include <type_traits>

#include "core/wdl/WDL_HeapBuf.h"

// A growable array of plain values on top of WDL_HeapBuf: same growth and
// never-shrink rules, sizes counted in elements.
template <class T>
class WDL_TypedBuf
{
  static_assert(std::is_trivially_copyable<T>::value, "WDL_TypedBuf holds plain values only");

public:
  explicit WDL_TypedBuf(int granularityBytes = 4096) : mHeap(granularityBytes) {}

  T* Get() { return static_cast<T*>(mHeap.Get()); }
  const T* Get() const { return static_cast<const T*>(mHeap.Get()); }
  int GetSize() const { return mHeap.GetSize() / static_cast<int>(sizeof(T)); }

  // Sets the element count; existing elements are kept, new ones are zeroed
  // the first time their memory is allocated.
  // A count whose byte size does not fit an int changes nothing and yields null.
  T* Resize(int count)
  {
    if (count < 0) count = 0;
    if (static_cast<long long>(count) * static_cast<long long>(sizeof(T)) > INT_MAX) return nullptr;
    return static_cast<T*>(mHeap.Resize(count * static_cast<int>(sizeof(T))));
  }

  T* Add(const T& value)
  {
    int n = GetSize();
    T* data = Resize(n + 1);
    if (!data) return nullptr;
    std::memcpy(static_cast<void*>(data + n), &value, sizeof(T));
    return data + n;
  }

  void Clear() { mHeap.Resize(0); }

private:
  WDL_HeapBuf mHeap;
};
