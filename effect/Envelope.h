#pragma once

#include <cstdint>

// The ADSR envelope generator: note events start and release it, and one
// step per sample frame moves its level (0 .. 1) along straight ramps. The
// output places the level in the modulation range of its target.
//
// Owned by the effect; every member is touched only with the plug-in mutex
// held (parameter changes, MIDI and audio processing all hold it).
struct Envelope
{
  int mEnvTarget = 0; // ModulationTarget
  int mAttackSamples = 0;
  int mDecaySamples = 0;
  int mReleaseSamples = 0;
  float mSustain = 0.0f;
  float mEnvDepth = 0.0f;
  bool mEnvUp = false;
  int mEnvCompMode = 0;      // 0 "Left", 1 "Right", 2 "Both"
  double mEnvCompGain = 0.0; // linear

  double mEnvLevel = 0.0;
  int mAttackCount = 0;
  int mDecayCount = -1; // -1: no decay running
  int mReleaseCount = 0;
  // Divisors that turn a count into a level; 2^31 stands for a quotient that
  // did not fit (a retrigger at the top, a release from almost nothing).
  uint32_t mAttackDiv = 0;
  uint32_t mDecayDiv = 0;
  uint32_t mReleaseDiv = 0;
  int mNotesHeld = 0;

  // Modulation range: width and bottom, and the target's ends.
  double mEnvSpan = 0.0;
  double mEnvBase = 0.0;
  float mEnvMin = 0.0f;
  float mEnvMax = 0.0f;

  // Enters the attack (from the current level) or, with no attack, the decay
  // or the sustain directly.
  void NoteOn();
  // Releases once the last held note ends.
  void NoteOff();

  // Advances the level by one sample.
  void Step()
  {
    if (mAttackCount > 0)
    {
      mEnvLevel = 1.0f - static_cast<float>(mAttackCount) / static_cast<float>(mAttackDiv);
      --mAttackCount;
    }
    else if (mDecayCount >= 0)
    {
      StepDecay();
    }
    else if (mReleaseCount > 0)
    {
      StepRelease();
    }
    // Otherwise sustaining or idle: the level stays where it is.
  }

  // The level placed in the target's range; "Down" runs the level inverted.
  double Output() const { return (mEnvUp ? mEnvLevel : 1.0 - mEnvLevel) * mEnvSpan + mEnvBase; }

private:
  void StepDecay()
  {
    if (mDecayCount == 0)
    {
      mEnvLevel = mSustain;
      mDecayCount = -1;
      return;
    }
    --mDecayCount;
    if (mDecayCount > 0)
    {
      mEnvLevel = (1.0f - mSustain) * static_cast<float>(mDecayCount) / static_cast<float>(mDecayDiv) + mSustain;
    }
    else
    {
      mEnvLevel = mSustain;
      mDecayCount = -1;
    }
  }

  void StepRelease()
  {
    --mReleaseCount;
    if (mReleaseCount > 0)
    {
      mEnvLevel = static_cast<float>(mReleaseCount) / static_cast<float>(mReleaseDiv);
    }
    else
    {
      mReleaseDiv = 0;
      mReleaseCount = 0;
      mEnvLevel = 0.0;
    }
  }
};
