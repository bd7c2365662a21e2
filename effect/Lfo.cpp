#include "effect/Lfo.h"

#include "core/NumericConversions.h"

void Lfo::Step()
{
  switch (mLfoWave)
  {
  case kSine:
    mLfoValue = WaveValue<kSine>(mLfoPos, mLfoPeriod, mLfoSpan, mLfoBase);
    break;
  case kTriangle:
    mLfoValue = WaveValue<kTriangle>(mLfoPos, mLfoPeriod, mLfoSpan, mLfoBase);
    break;
  case kSaw:
    mLfoValue = WaveValue<kSaw>(mLfoPos, mLfoPeriod, mLfoSpan, mLfoBase);
    break;
  case kSawRev:
    mLfoValue = WaveValue<kSawRev>(mLfoPos, mLfoPeriod, mLfoSpan, mLfoBase);
    break;
  case kSineHalf:
    mLfoValue = WaveValue<kSineHalf>(mLfoPos, mLfoPeriod, mLfoSpan, mLfoBase);
    break;
  case kSineHalf2:
    mLfoValue = WaveValue<kSineHalf2>(mLfoPos, mLfoPeriod, mLfoSpan, mLfoBase);
    break;
  default:
    break;
  }
}

void Lfo::Run(double* values, int count)
{
  switch (mLfoWave)
  {
  case kSine:
    RunWave<kSine>(values, count);
    break;
  case kTriangle:
    RunWave<kTriangle>(values, count);
    break;
  case kSaw:
    RunWave<kSaw>(values, count);
    break;
  case kSawRev:
    RunWave<kSawRev>(values, count);
    break;
  case kSineHalf:
    RunWave<kSineHalf>(values, count);
    break;
  case kSineHalf2:
    RunWave<kSineHalf2>(values, count);
    break;
  default:
    // An unknown wave leaves the value as it was; the position still runs.
    for (int i = 0; i < count; ++i)
    {
      values[i] = mLfoValue;
      Advance();
    }
    break;
  }
}

int Lfo::StartPosition() const
{
  if (mLfoStart < 0.0f) return 0;
  return RoundHalfAwayToInt32(static_cast<float>(mLfoPeriod) * mLfoStart);
}
