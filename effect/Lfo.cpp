#include "effect/Lfo.h"

#include <cmath>
#include <cstdint>

#include "core/NumericConversions.h"

namespace
{
constexpr double kPi = 3.141592653589793;
} // namespace

void Lfo::Step()
{
  // Counts are formed as integers (64-bit, so no product overflows) and are
  // exact in double precision; every shape runs from B to B + S.
  const int64_t p = mLfoPos;
  const int64_t f = mLfoPeriod;
  const double F = static_cast<double>(f);
  const double S = mLfoSpan;
  const double B = mLfoBase;

  switch (mLfoWave)
  {
  case kSine:
    // Raised cosine: bottom at the start, top at mid-period.
    mLfoValue = (std::sin((static_cast<double>(p * 2) / F + 1.5) * kPi) + 1.0) * S * 0.5 + B;
    break;
  case kTriangle:
    if (static_cast<float>(p) > static_cast<float>(f) * 0.5f)
      mLfoValue = static_cast<double>(2 * (f - p)) * S / F + B;
    else
      mLfoValue = static_cast<double>(2 * p) * S / F + B;
    break;
  case kSaw:
    // Rises over two thirds of the period, falls three times as steeply.
    if (static_cast<double>(p) > F * 0.6666666666666666)
      mLfoValue = static_cast<double>(3 * (f - p)) * S / F + B;
    else
      mLfoValue = static_cast<double>((3 * p) / 2) * S / F + B;
    break;
  case kSawRev:
    // Rises steeply over the first third, falls slowly over the rest.
    if (static_cast<float>(p) > static_cast<float>(f) * 0.33333334f)
      mLfoValue = static_cast<double>((3 * (f - p)) / 2) * S / F + B;
    else
      mLfoValue = static_cast<double>(3 * p) * S / F + B;
    break;
  case kSineHalf:
    mLfoValue = std::sin(static_cast<double>(p) * kPi / F) * S + B;
    break;
  case kSineHalf2:
    mLfoValue = (1.0 - std::sin(static_cast<double>(p) * kPi / F)) * S + B;
    break;
  default:
    break;
  }
}

int Lfo::StartPosition() const
{
  if (mLfoStart < 0.0f) return 0;
  return RoundHalfAwayToInt32(static_cast<float>(mLfoPeriod) * mLfoStart);
}
