#include "effect/Filter.h"

#include <cmath>

namespace
{
constexpr double kPi = 3.141592653589793;

// Below this rate the top of the cutoff range lies above half the sample
// rate, where tan() turns negative and the section unstable; the cutoff used
// for the coefficients is then held at a fraction of the rate. From this
// rate up the range never gets there and nothing is limited.
constexpr double kUnlimitedRate = 40000.0;
constexpr double kCutoffLimitPerRate = 0.49;
} // namespace

void Filter::UpdateCoefficients()
{
  mCoeffFreq = mFreqCur;
  mCoeffBandwidth = mBandwidthCur;

  const double rate = mEngineSampleRate;
  if (!(rate > 0.0 && std::isfinite(rate)))
  {
    // No usable rate yet (before the first block, or a host that reports
    // none): a silent wet signal rather than NaN coefficients.
    mInGain = mFb1 = mFb2 = 0.0;
    return;
  }

  double freq = mFreqCur;
  if (rate < kUnlimitedRate && freq > rate * kCutoffLimitPerRate) freq = rate * kCutoffLimitPerRate;

  // r is the damping: a wider band is a lower resonance peak.
  const float r = mBandwidthCur * 15.0f;
  const double omega = freq / rate * kPi;
  const double k = 1.0 / std::tan(omega);
  const double n = 1.0 / ((r + k) * k + 1.0);
  mInGain = (mFilterType == kBandpass) ? r * n * k : n;
  mFb2 = ((k - r) * k + 1.0) * n;
  mFb1 = (1.0 - k * k) * n * 2.0;
}
