#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// Conversions from floating point to 32-bit integers that never invoke
// undefined behaviour: a value that does not fit (or NaN) yields INT32_MIN,
// the same "integer indefinite" the x86 conversion instructions produce.

inline int32_t TruncToInt32(double v)
{
  if (!(v > -2147483649.0 && v < 2147483648.0)) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

// Nearest integer with halves away from zero: add 0.5 to a positive value or
// subtract 0.5 from the others, then drop the fraction.
inline int32_t RoundHalfAwayToInt32(double v)
{
  return TruncToInt32(v > 0.0 ? v + 0.5 : v - 0.5);
}

// Bounded copy into a fixed char field: copies at most size - 1 bytes and
// always terminates. A null source gives an empty string.
inline void CopyBounded(char* dest, const char* src, std::size_t size)
{
  if (!dest || size == 0) return;
  std::size_t n = 0;
  if (src)
    while (n + 1 < size && src[n]) { dest[n] = src[n]; ++n; }
  dest[n] = '\0';
}

template <std::size_t N>
inline void CopyBounded(char (&dest)[N], const char* src)
{
  CopyBounded(dest, src, N);
}
