#pragma once

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
};
