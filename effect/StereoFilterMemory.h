#pragma once

#include "effect/Filter.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The two channels' filter recursion and output stage, one frame at a time,
// with the recursion's memory kept in locals for the length of a block (the
// output stores could otherwise alias the filter's members and force a reload
// every frame).
//
// The left and right recursions are independent and share their
// coefficients, so SSE2's two double lanes compute both at once. Every lane
// does exactly the operations of the scalar code, in the same order, so the
// results are the same to the bit; the scalar form stays as the reference the
// tests hold the SSE2 form to, and as the path for processors without SSE2.
//
// Frame(): the filter step and output stage of one frame, with the frame's
// coefficients, pan (its factors are formed in single precision), wet and dry
// gains, and the LFO and envelope compensation factors. [audio thread]

class StereoFilterMemoryScalar
{
public:
  explicit StereoFilterMemoryScalar(const Filter& f)
      : w0L(f.mW0L), w1L(f.mW1L), w2L(f.mW2L), w0R(f.mW0R), w1R(f.mW1R), w2R(f.mW2R)
  {
  }
  void StoreInto(Filter& f) const
  {
    f.mW0L = w0L;
    f.mW1L = w1L;
    f.mW2L = w2L;
    f.mW0R = w0R;
    f.mW1R = w1R;
    f.mW2R = w2R;
  }

  template <int kType>
  void Frame(double inGain, double fb1, double fb2, float pan, float mix, float dry, double cl, double ce, double xL,
             double xR, double& outL, double& outR)
  {
    FilterRecurse(xL, inGain, fb1, fb2, w0L, w1L, w2L);
    FilterRecurse(xR, inGain, fb1, fb2, w0R, w1R, w2R);
    const double yL = FilterResponse(kType, xL, w0L, w1L, w2L);
    const double yR = FilterResponse(kType, xR, w0R, w1R, w2R);
    const double panL = 1.0f - pan;
    const double panR = pan + 1.0f;
    // In this order: filter output, pan, wet gain, LFO factor, envelope
    // factor; plus the unpanned dry input.
    outL = yL * panL * mix * cl * ce + dry * xL;
    outR = yR * panR * mix * cl * ce + dry * xR;
    w2L = w1L;
    w1L = w0L;
    w2R = w1R;
    w1R = w0R;
  }

private:
  double w0L, w1L, w2L, w0R, w1R, w2R;
};

#if defined(__SSE2__)

// Lane 0 is the left channel, lane 1 the right.
class StereoFilterMemorySse2
{
public:
  explicit StereoFilterMemorySse2(const Filter& f)
      : w0(_mm_set_pd(f.mW0R, f.mW0L)), w1(_mm_set_pd(f.mW1R, f.mW1L)), w2(_mm_set_pd(f.mW2R, f.mW2L))
  {
  }
  void StoreInto(Filter& f) const
  {
    _mm_storel_pd(&f.mW0L, w0);
    _mm_storeh_pd(&f.mW0R, w0);
    _mm_storel_pd(&f.mW1L, w1);
    _mm_storeh_pd(&f.mW1R, w1);
    _mm_storel_pd(&f.mW2L, w2);
    _mm_storeh_pd(&f.mW2R, w2);
  }

  template <int kType>
  void Frame(double inGain, double fb1, double fb2, float pan, float mix, float dry, double cl, double ce, double xL,
             double xR, double& outL, double& outR)
  {
    const __m128d x = _mm_set_pd(xR, xL);
    const __m128d absMask = _mm_castsi128_pd(_mm_set1_epi64x(0x7fffffffffffffff));
    const __m128d silence = _mm_set1_pd(1e-24);
    const __m128d largest = _mm_set1_pd(1.7976931348623157e308);

    // FilterRecurse per lane: the silence guard selects the recursion or
    // +0.0; a lane whose new value is not finite restarts from zero memory.
    // Both decisions are branches on the two lanes' masks, not masks applied
    // every frame: masking would put them on the recursion's dependency
    // chain, which sets the speed of the whole loop.
    const __m128d audible = _mm_or_pd(_mm_or_pd(_mm_cmpgt_pd(_mm_and_pd(x, absMask), silence),
                                                _mm_cmpgt_pd(_mm_and_pd(w1, absMask), silence)),
                                      _mm_cmpgt_pd(_mm_and_pd(w2, absMask), silence));
    w0 = _mm_sub_pd(_mm_mul_pd(x, _mm_set1_pd(inGain)),
                    _mm_add_pd(_mm_mul_pd(w2, _mm_set1_pd(fb2)), _mm_mul_pd(w1, _mm_set1_pd(fb1))));
    if (_mm_movemask_pd(audible) != kBothLanes) w0 = _mm_and_pd(audible, w0);
    const __m128d finite = _mm_cmple_pd(_mm_and_pd(w0, absMask), largest);
    if (_mm_movemask_pd(finite) != kBothLanes)
    {
      w0 = _mm_and_pd(w0, finite);
      w1 = _mm_and_pd(w1, finite);
      w2 = _mm_and_pd(w2, finite);
    }

    // FilterResponse, left to right as there.
    __m128d y;
    if constexpr (kType == Filter::kLowpass)
      y = _mm_add_pd(_mm_add_pd(_mm_mul_pd(w1, _mm_set1_pd(2.0)), w2), w0);
    else if constexpr (kType == Filter::kHighpass)
      y = _mm_sub_pd(_mm_sub_pd(_mm_sub_pd(_mm_sub_pd(x, w0), w1), w1), w2);
    else
      y = _mm_sub_pd(w0, w2);

    // The output stage in the scalar order; the pan factors in single
    // precision, then widened.
    const __m128d panFactors = _mm_set_pd(static_cast<double>(pan + 1.0f), static_cast<double>(1.0f - pan));
    __m128d wet = _mm_mul_pd(y, panFactors);
    wet = _mm_mul_pd(wet, _mm_set1_pd(static_cast<double>(mix)));
    wet = _mm_mul_pd(wet, _mm_set1_pd(cl));
    wet = _mm_mul_pd(wet, _mm_set1_pd(ce));
    const __m128d out = _mm_add_pd(wet, _mm_mul_pd(_mm_set1_pd(static_cast<double>(dry)), x));
    _mm_storel_pd(&outL, out);
    _mm_storeh_pd(&outR, out);

    w2 = w1;
    w1 = w0;
  }

private:
  static constexpr int kBothLanes = 3; // _mm_movemask_pd with both lanes set

  __m128d w0, w1, w2;
};

using StereoFilterMemory = StereoFilterMemorySse2;
#else
using StereoFilterMemory = StereoFilterMemoryScalar;
#endif
