#include "effect/ModulationRanges.h"

#include <algorithm>

#include "effect/Envelope.h"
#include "effect/Filter.h"
#include "effect/Lfo.h"
#include "effect/ModulationTarget.h"

namespace
{
// The ends of each target's range and the span one unit of depth covers.
// The bandwidth's lower end differs between the sources.
struct TargetRange
{
  float envLow;
  float lfoLow;
  float high;
  float envSpan;
  float lfoSpan;
};

constexpr TargetRange kRanges[kTargetCount] = {
    {0.0f, 0.0f, 0.0f, 0.0f, 0.0f},            // no target
    {20.0f, 20.0f, 20000.0f, 19980.0f, 19980.0f}, // cutoff, Hz
    {0.01f, 0.05f, 1.0f, 0.99f, 0.95f},        // bandwidth
    {-1.0f, -1.0f, 1.0f, 2.0f, 2.0f},          // pan
    {0.0f, 0.0f, 1.0f, 1.0f, 1.0f},            // mix
};

float ParamValueOf(const Filter& filter, int target)
{
  switch (target)
  {
  case kTargetFreq:
    return filter.mFreqParam;
  case kTargetBandwidth:
    return filter.mBandwidthParam;
  case kTargetPan:
    return filter.mPanParam;
  case kTargetMix:
    return filter.mMixParam;
  default:
    return 0.0f;
  }
}

bool IsTarget(int target)
{
  return target > kTargetNone && target < kTargetCount;
}
} // namespace

void PlaceModulationRanges(Envelope& env, Lfo& lfo, const Filter& filter)
{
  // Spans are single-precision products; comparisons are made in double.
  if (IsTarget(env.mEnvTarget))
  {
    const TargetRange& range = kRanges[env.mEnvTarget];
    env.mEnvMin = range.envLow;
    env.mEnvMax = range.high;
    env.mEnvSpan = env.mEnvDepth * range.envSpan;
    env.mEnvBase = std::min(static_cast<double>(range.high) - env.mEnvSpan,
                            static_cast<double>(ParamValueOf(filter, env.mEnvTarget)));
  }
  else
  {
    // Span and base keep their values.
    env.mEnvMin = env.mEnvMax = 0.0f;
  }

  if (lfo.mLfoTarget == env.mEnvTarget)
  {
    // The LFO does not run on the envelope's target (nor without one).
    lfo.mLfoMin = lfo.mLfoMax = 0.0f;
    return;
  }
  if (!IsTarget(lfo.mLfoTarget)) return;

  const TargetRange& range = kRanges[lfo.mLfoTarget];
  const double value = ParamValueOf(filter, lfo.mLfoTarget);
  const double high = range.high;
  lfo.mLfoSpan = lfo.mLfoDepth * range.lfoSpan;
  lfo.mLfoBase = std::max(static_cast<double>(range.lfoLow), std::min(value - lfo.mLfoSpan * 0.5, high - lfo.mLfoSpan));
  lfo.mLfoMin = range.lfoLow;
  lfo.mLfoMax = range.high;
  // The envelope's range as it would sit on the LFO's target, with the span
  // the envelope has now.
  const double envBaseOnLfoTarget = std::min(high - env.mEnvSpan, value);

  if (lfo.mLfoChild && env.mEnvTarget == kTargetNone)
  {
    env.mEnvSpan = (lfo.mLfoMax - lfo.mLfoMin) * env.mEnvDepth;
    env.mEnvBase = envBaseOnLfoTarget;
    env.mEnvMin = lfo.mLfoMin;
    env.mEnvMax = lfo.mLfoMax;
  }
}
