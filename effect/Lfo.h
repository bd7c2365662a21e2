#pragma once

#include <cmath>
#include <cstdint>

// The low-frequency oscillator: a position that runs through a period of
// samples, and six wave shapes that place it in the modulation range of its
// target. The period follows either the free rate in milliseconds or a note
// division at the host's tempo.
//
// Owned by the effect; every member is touched only with the plug-in mutex
// held.
struct Lfo
{
  enum Wave : int
  {
    kSine = 0,
    kTriangle = 1,
    kSaw = 2,
    kSawRev = 3,
    kSineHalf = 4,
    kSineHalf2 = 5,
    kWaveCount = 6
  };

  int mLfoTarget = 0; // ModulationTarget
  int mLfoWave = kSine;
  bool mLfoSync = false;
  int mLfoPeriod = 0; // samples; 0 or less stops the LFO
  int mLfoPos = 0;    // 0 .. mLfoPeriod
  float mLfoStart = -1.0f; // start phase 0 .. 1; negative until applied
  float mLfoDepth = 0.0f;
  bool mLfoChild = false;
  int mLfoCompMode = 0;
  double mLfoCompGain = 0.0;
  double mLfoValue = 0.0; // in target units

  // Modulation range: width and bottom, and the target's ends.
  double mLfoSpan = 0.0;
  double mLfoBase = 0.0;
  float mLfoMin = 0.0f;
  float mLfoMax = 0.0f;

  // Samples in a whole note at the host's tempo; 0 without a tempo.
  double mSamplesPerWholeNote = 0.0;

  // Computes mLfoValue for the current position. Needs mLfoPeriod > 0.
  void Step();

  // Step and Advance for `count` frames in a row, the value of each frame
  // into values[]; mLfoValue ends as the last. Needs mLfoPeriod > 0.
  void Run(double* values, int count);

  // Moves to the next position, wrapping to 0 at the end of the period.
  void Advance()
  {
    if (mLfoPos >= mLfoPeriod - 1)
      mLfoPos = 0;
    else
      ++mLfoPos;
  }

  // Where the start phase puts the position; 0 while no start phase has been
  // applied.
  int StartPosition() const;

  // The value of wave kWave at position p of period f (f > 0), between B and
  // B + S. Counts are formed as integers (64-bit, so no product overflows)
  // and are exact in double precision.
  template <int kWave>
  static double WaveValue(int64_t p, int64_t f, double S, double B)
  {
    constexpr double kPi = 3.141592653589793;
    const double F = static_cast<double>(f);
    if constexpr (kWave == kSine)
    {
      // Raised cosine: bottom at the start, top at mid-period.
      return (std::sin((static_cast<double>(p * 2) / F + 1.5) * kPi) + 1.0) * S * 0.5 + B;
    }
    else if constexpr (kWave == kTriangle)
    {
      if (static_cast<float>(p) > static_cast<float>(f) * 0.5f) return static_cast<double>(2 * (f - p)) * S / F + B;
      return static_cast<double>(2 * p) * S / F + B;
    }
    else if constexpr (kWave == kSaw)
    {
      // Rises over two thirds of the period, falls three times as steeply.
      if (static_cast<double>(p) > F * 0.6666666666666666) return static_cast<double>(3 * (f - p)) * S / F + B;
      return static_cast<double>((3 * p) / 2) * S / F + B;
    }
    else if constexpr (kWave == kSawRev)
    {
      // Rises steeply over the first third, falls slowly over the rest.
      if (static_cast<float>(p) > static_cast<float>(f) * 0.33333334f)
        return static_cast<double>((3 * (f - p)) / 2) * S / F + B;
      return static_cast<double>(3 * p) * S / F + B;
    }
    else if constexpr (kWave == kSineHalf)
    {
      return std::sin(static_cast<double>(p) * kPi / F) * S + B;
    }
    else
    {
      return (1.0 - std::sin(static_cast<double>(p) * kPi / F)) * S + B;
    }
  }

private:
  template <int kWave>
  void RunWave(double* values, int count)
  {
    int pos = mLfoPos;
    const int period = mLfoPeriod;
    for (int i = 0; i < count; ++i)
    {
      values[i] = WaveValue<kWave>(pos, period, mLfoSpan, mLfoBase);
      pos = (pos >= period - 1) ? 0 : pos + 1;
    }
    mLfoPos = pos;
    if (count > 0) mLfoValue = values[count - 1];
  }
};
