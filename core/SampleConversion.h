#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The conversions between a host's single-precision channels and the
// plug-in's double-precision ones, two samples per instruction where SSE2 is
// there. Widening is exact; narrowing rounds each sample as the scalar cast
// does (the same instruction semantics, under the same rounding mode), and
// accumulating adds in single precision as the scalar `+=` does, so the
// results equal the plain loops (kept below as the fallback) to the bit.
// [audio thread; no allocation]

inline void WidenSamples(const float* from, double* to, int count)
{
  int s = 0;
#if defined(__SSE2__)
  for (; s + 4 <= count; s += 4)
  {
    const __m128 four = _mm_loadu_ps(from + s);
    _mm_storeu_pd(to + s, _mm_cvtps_pd(four));
    _mm_storeu_pd(to + s + 2, _mm_cvtps_pd(_mm_movehl_ps(four, four)));
  }
#endif
  for (; s < count; ++s) to[s] = from[s];
}

inline void NarrowSamples(const double* from, float* to, int count)
{
  int s = 0;
#if defined(__SSE2__)
  for (; s + 4 <= count; s += 4)
  {
    const __m128 low = _mm_cvtpd_ps(_mm_loadu_pd(from + s));
    const __m128 high = _mm_cvtpd_ps(_mm_loadu_pd(from + s + 2));
    _mm_storeu_ps(to + s, _mm_movelh_ps(low, high));
  }
#endif
  for (; s < count; ++s) to[s] = static_cast<float>(from[s]);
}

// to[s] += the sample narrowed to single precision.
inline void AccumulateNarrowedSamples(const double* from, float* to, int count)
{
  int s = 0;
#if defined(__SSE2__)
  for (; s + 4 <= count; s += 4)
  {
    const __m128 low = _mm_cvtpd_ps(_mm_loadu_pd(from + s));
    const __m128 high = _mm_cvtpd_ps(_mm_loadu_pd(from + s + 2));
    _mm_storeu_ps(to + s, _mm_add_ps(_mm_loadu_ps(to + s), _mm_movelh_ps(low, high)));
  }
#endif
  for (; s < count; ++s) to[s] += static_cast<float>(from[s]);
}
