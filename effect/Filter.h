#pragma once

#include <cmath>

// The resonant two-pole filter: one recursion per channel (left, right) with
// shared coefficients, and the output stage that pans the filtered signal,
// blends it with the dry input and applies the modulation sources'
// compensation factors.
//
// Each user-facing quantity exists twice: the parameter value (the user's
// setting, around which modulation ranges are placed) and the current value
// the filter uses, which a modulation source may overwrite per sample.
//
// Owned by the effect; every member is touched only with the plug-in mutex
// held.
struct Filter
{
  enum Type : int
  {
    kLowpass = 0,
    kHighpass = 1,
    kBandpass = 2
  };

  int mFilterType = kLowpass;
  float mFreqParam = 0.0f; // Hz
  float mFreqCur = 0.0f;
  float mBandwidthParam = 0.0f; // fraction, 0.01 .. 1
  float mBandwidthCur = 0.0f;
  float mPanParam = 0.0f; // -1 .. 1, positive favours the right channel
  float mPanCur = 0.0f;
  float mMixParam = 0.0f; // wet gain
  float mMixCur = 0.0f;
  float mDryGain = 0.0f; // always 1 - mMixCur, in single precision

  double mInGain = 0.0;
  double mFb1 = 0.0;
  double mFb2 = 0.0;

  double mW0L = 0.0, mW1L = 0.0, mW2L = 0.0;
  double mW0R = 0.0, mW1R = 0.0, mW2R = 0.0;

  // The rate the coefficients and every sample count were computed for.
  double mEngineSampleRate = 0.0;

  // Cutoff and bandwidth the coefficients were last computed from. The
  // coefficients are a function of these, the type and the rate (neither of
  // which changes inside a block), so the processing loop skips a
  // recomputation that would give the same values.
  float mCoeffFreq = 0.0f;
  float mCoeffBandwidth = 0.0f;

  // Recomputes mInGain, mFb1, mFb2 from the current cutoff and bandwidth,
  // the type and the engine sample rate.
  void UpdateCoefficients();

  void ClearState() { mW0L = mW1L = mW2L = mW0R = mW1R = mW2R = 0.0; }

  // Once per block: memory that has run away to absurd (still finite)
  // magnitudes, after a host fed samples near the top of the double range,
  // would take seconds to decay and overflows every output sample meanwhile.
  // Audio of any sane level keeps the memory many orders of magnitude below
  // the limit, so the check never touches it. [audio thread, mutex held]
  void ClearStateIfRunaway()
  {
    constexpr double kRunawayLimit = 1.0e30;
    const double magnitudes[6] = {mW0L, mW1L, mW2L, mW0R, mW1R, mW2R};
    for (double w : magnitudes)
      if (!(std::fabs(w) < kRunawayLimit))
      {
        ClearState();
        return;
      }
  }

  // Dry gain follows the wet gain, in single precision.
  void SetMix(float mix)
  {
    mMixCur = mix;
    mDryGain = 1.0f - mix;
  }
};

struct FilterCoefficients
{
  double inGain;
  double fb1;
  double fb2;
};

// The coefficients of the bilinear-transform two-pole section for a cutoff
// (Hz), a bandwidth (fraction), a type and a sample rate. The low-pass form
// has unity gain at 0 Hz, the band-pass form at its centre.
inline FilterCoefficients ComputeFilterCoefficients(float freq, float bandwidth, int type, double rate)
{
  constexpr double kPi = 3.141592653589793;
  // Below this rate the top of the cutoff range lies above half the sample
  // rate, where tan() turns negative and the section unstable; the cutoff
  // used for the coefficients is then held at a fraction of the rate. From
  // this rate up the range never gets there and nothing is limited.
  constexpr double kUnlimitedRate = 40000.0;
  constexpr double kCutoffLimitPerRate = 0.49;

  if (!(rate > 0.0 && std::isfinite(rate)))
  {
    // No usable rate yet (before the first block, or a host that reports
    // none): a silent wet signal rather than NaN coefficients.
    return {0.0, 0.0, 0.0};
  }

  double cutoff = freq;
  if (rate < kUnlimitedRate && cutoff > rate * kCutoffLimitPerRate) cutoff = rate * kCutoffLimitPerRate;

  // r is the damping: a wider band is a lower resonance peak.
  const float r = bandwidth * 15.0f;
  const double omega = cutoff / rate * kPi;
  const double k = 1.0 / std::tan(omega);
  const double n = 1.0 / ((r + k) * k + 1.0);
  FilterCoefficients c;
  c.inGain = (type == Filter::kBandpass) ? r * n * k : n;
  c.fb2 = ((k - r) * k + 1.0) * n;
  c.fb1 = (1.0 - k * k) * n * 2.0;
  return c;
}

inline void Filter::UpdateCoefficients()
{
  mCoeffFreq = mFreqCur;
  mCoeffBandwidth = mBandwidthCur;
  const FilterCoefficients c = ComputeFilterCoefficients(mFreqCur, mBandwidthCur, mFilterType, mEngineSampleRate);
  mInGain = c.inGain;
  mFb1 = c.fb1;
  mFb2 = c.fb2;
}

// One sample of one channel's recursion. w1 and w2 hold the intermediate
// values of the two previous samples; the new one is returned in w0.
//
// The silence guard replaces the recursion by 0 once input and memory have
// fallen silent, so the state settles at exact zeros instead of decaying
// through denormals. A state value that is not finite (a NaN or infinite
// input sample) would poison the channel for good: the channel restarts from
// zero memory instead, and recovers with the next finite sample.
inline void FilterRecurse(double x, double inGain, double fb1, double fb2, double& w0, double& w1, double& w2)
{
  constexpr double kSilence = 1e-24;
  if (std::fabs(x) > kSilence || std::fabs(w1) > kSilence || std::fabs(w2) > kSilence)
  {
    w0 = x * inGain - (w2 * fb2 + w1 * fb1);
    if (!std::isfinite(w0)) w0 = w1 = w2 = 0.0;
  }
  else
  {
    w0 = 0.0;
  }
}

// The filter output of one channel for its type, from the input and the
// intermediate values of this and the two previous samples. High-pass is the
// input minus the low-pass output.
inline double FilterResponse(int type, double x, double w0, double w1, double w2)
{
  if (type == Filter::kLowpass) return w1 * 2.0 + w2 + w0;
  if (type == Filter::kHighpass) return x - w0 - w1 - w1 - w2;
  return w0 - w2;
}
