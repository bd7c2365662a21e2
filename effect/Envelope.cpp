#include "effect/Envelope.h"

#include <limits>

#include "core/NumericConversions.h"

namespace
{
// Levels at or below this count as silence when a ramp is planned.
constexpr double kSilentLevel = 1e-24;

// A quotient rounded for a divisor. One that does not fit a signed 32-bit
// integer (a division by zero included) becomes 2^31: the conversion yields
// INT32_MIN, whose bits as unsigned are 2147483648.
uint32_t DivisorFrom(double quotient)
{
  return static_cast<uint32_t>(RoundHalfAwayToInt32(quotient));
}
} // namespace

void Envelope::NoteOn()
{
  mAttackCount = mAttackSamples;
  // A retrigger glides up from the level reached: the divisor stretches the
  // ramp so the top is still reached after exactly mAttackSamples samples.
  if (mEnvLevel > kSilentLevel)
    mAttackDiv = DivisorFrom(static_cast<float>(mAttackSamples) / (1.0 - mEnvLevel));
  else
    mAttackDiv = static_cast<uint32_t>(mAttackSamples);

  mDecayCount = mDecaySamples;
  mDecayDiv = static_cast<uint32_t>(mDecaySamples);

  if (mAttackSamples < 1)
  {
    if (mDecaySamples >= 1)
    {
      mEnvLevel = 1.0;
    }
    else
    {
      mDecayCount = -1;
      mEnvLevel = mSustain;
    }
  }

  if (mNotesHeld < std::numeric_limits<int>::max()) ++mNotesHeld;
  mReleaseDiv = 0;
  mReleaseCount = 0;
}

void Envelope::NoteOff()
{
  --mNotesHeld;
  if (mNotesHeld > 0) return;

  mDecayCount = -1;
  mNotesHeld = 0;
  mDecayDiv = 0;
  mAttackDiv = 0;
  mAttackCount = 0;

  if (mEnvLevel > kSilentLevel)
  {
    mReleaseCount = mReleaseSamples;
    mReleaseDiv = DivisorFrom(static_cast<float>(mReleaseSamples) / mEnvLevel);
    if (mReleaseSamples < 1) mEnvLevel = 0.0;
  }
}
