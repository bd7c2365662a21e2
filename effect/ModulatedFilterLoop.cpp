#include "effect/ModulatedFilterLoop.h"

#include "effect/Envelope.h"
#include "effect/Filter.h"
#include "effect/Lfo.h"
#include "effect/ModulationRanges.h"
#include "effect/ModulationTarget.h"
#include "effect/StereoFilterMemory.h"

namespace
{
// Frames per modulation pass; their values live on the stack.
constexpr int kChunkFrames = 64;

// What the modulation sets for each frame of a chunk: the filter quantities
// and compensation factors, and from them the coefficients.
struct ChunkValues
{
  float freq[kChunkFrames];
  float bandwidth[kChunkFrames];
  float pan[kChunkFrames];
  float mix[kChunkFrames];
  float dry[kChunkFrames];
  double ce[kChunkFrames];
  double cl[kChunkFrames];
  double inGain[kChunkFrames];
  double fb1[kChunkFrames];
  double fb2[kChunkFrames];
  double env[kChunkFrames]; // envelope output
  double lfo[kChunkFrames]; // LFO waveform value, then output

  // Every frame starts from the filter's current values, which hold unless a
  // source writes them.
  void Fill(const Filter& f, int count)
  {
    for (int i = 0; i < count; ++i)
    {
      freq[i] = f.mFreqCur;
      bandwidth[i] = f.mBandwidthCur;
      pan[i] = f.mPanCur;
      mix[i] = f.mMixCur;
      dry[i] = f.mDryGain;
      ce[i] = 1.0;
      cl[i] = 1.0;
    }
  }

  // A source's value written to the quantity it targets in frame i.
  void Write(int target, int i, double value)
  {
    switch (target)
    {
    case kTargetFreq:
      freq[i] = static_cast<float>(value);
      break;
    case kTargetBandwidth:
      bandwidth[i] = static_cast<float>(value);
      break;
    case kTargetPan:
      pan[i] = static_cast<float>(value);
      break;
    case kTargetMix:
      mix[i] = static_cast<float>(value);
      dry[i] = 1.0f - mix[i];
      break;
    default:
      break;
    }
  }

  // The filter keeps the values of the chunk's last frame.
  void StoreLastInto(Filter& f, int count) const
  {
    const int last = count - 1;
    f.mFreqCur = freq[last];
    f.mBandwidthCur = bandwidth[last];
    f.mPanCur = pan[last];
    f.mMixCur = mix[last];
    f.mDryGain = dry[last];
  }
};

template <int kType>
void FilterPassConstant(const Filter& f, int count, const double* inL, const double* inR, double* outL,
                        double* outR, StereoFilterMemory& memory)
{
  StereoFilterMemory m = memory;
  const double inGain = f.mInGain, fb1 = f.mFb1, fb2 = f.mFb2;
  const float pan = f.mPanCur, mix = f.mMixCur, dry = f.mDryGain;
  for (int s = 0; s < count; ++s)
  {
    // Both inputs are read before anything is written: hosts may process in
    // place.
    const double xL = inL[s];
    const double xR = inR[s];
    m.Frame<kType>(inGain, fb1, fb2, pan, mix, dry, 1.0, 1.0, xL, xR, outL[s], outR[s]);
  }
  memory = m;
}

template <int kType>
void FilterPassChunk(const ChunkValues& v, int count, const double* inL, const double* inR, double* outL,
                     double* outR, StereoFilterMemory& memory)
{
  StereoFilterMemory m = memory;
  for (int i = 0; i < count; ++i)
  {
    const double xL = inL[i];
    const double xR = inR[i];
    m.Frame<kType>(v.inGain[i], v.fb1[i], v.fb2[i], v.pan[i], v.mix[i], v.dry[i], v.cl[i], v.ce[i], xL, xR, outL[i],
                   outR[i]);
  }
  memory = m;
}

template <int kType>
void RunChunkOrConstant(const Filter& f, const ChunkValues* chunk, int count, const double* inL, const double* inR,
                        double* outL, double* outR, StereoFilterMemory& m)
{
  if (chunk)
    FilterPassChunk<kType>(*chunk, count, inL, inR, outL, outR, m);
  else
    FilterPassConstant<kType>(f, count, inL, inR, outL, outR, m);
}

// The filter pass for the filter's type: over a chunk's values, or (chunk
// null) with the filter's current values for every frame.
void FilterPass(const Filter& f, const ChunkValues* chunk, int count, const double* inL, const double* inR,
                double* outL, double* outR, StereoFilterMemory& m)
{
  switch (f.mFilterType)
  {
  case Filter::kLowpass:
    RunChunkOrConstant<Filter::kLowpass>(f, chunk, count, inL, inR, outL, outR, m);
    break;
  case Filter::kHighpass:
    RunChunkOrConstant<Filter::kHighpass>(f, chunk, count, inL, inR, outL, outR, m);
    break;
  default:
    RunChunkOrConstant<Filter::kBandpass>(f, chunk, count, inL, inR, outL, outR, m);
    break;
  }
}
} // namespace


namespace
{
void RunUnmodulated(Filter& filter, double** inputs, double** outputs, int nFrames)
{
  // No source runs: both compensation factors are 1.0.
  StereoFilterMemory m(filter);
  FilterPass(filter, nullptr, nFrames, inputs[0], inputs[1], outputs[0], outputs[1], m);
  m.StoreInto(filter);
}

template <bool kEnvRuns, bool kLfoRuns>
void RunModulated(Envelope& env, Lfo& lfo, Filter& f, double** inputs, double** outputs, int nFrames,
                  double* envOut, double* lfoOut)
{
  StereoFilterMemory m(f);
  ChunkValues v;

  // Per chunk of frames, in passes. Nothing the modulation computes depends
  // on the filter's output, and the envelope and the LFO never write the
  // same quantity (the LFO does not run on the envelope's target), so each
  // source runs over the whole chunk, then the coefficients follow each
  // frame's cutoff and bandwidth, then the recursion runs over the stored
  // values. Within each pass the frames are independent, so the long sine,
  // tangent and division chains of neighbouring frames overlap. Every value
  // and every operation is the same as frame by frame.
  for (int start = 0; start < nFrames; start += kChunkFrames)
  {
    const int count = (nFrames - start < kChunkFrames) ? nFrames - start : kChunkFrames;
    v.Fill(f, count);

    if constexpr (kEnvRuns)
    {
      for (int i = 0; i < count; ++i)
      {
        env.Step();
        v.env[i] = env.Output();
      }
      for (int i = 0; i < count; ++i)
      {
        v.ce[i] = CompensationFactor(v.env[i], env.mEnvMin, env.mEnvMax, env.mEnvCompMode, env.mEnvCompGain);
        v.Write(env.mEnvTarget, i, v.env[i]);
      }
      *envOut = v.env[count - 1];
    }

    if constexpr (kLfoRuns)
    {
      lfo.Run(v.lfo, count);
      for (int i = 0; i < count; ++i)
      {
        double u = v.lfo[i];
        if (kEnvRuns && lfo.mLfoChild)
        {
          // Riding on the envelope: swing half the span around its value.
          u = v.env[i] + v.lfo[i] - lfo.mLfoBase - lfo.mLfoSpan * 0.5;
          if (u < lfo.mLfoMin) u = lfo.mLfoMin;
          if (u > lfo.mLfoMax) u = lfo.mLfoMax;
        }
        v.lfo[i] = u;
        v.cl[i] = CompensationFactor(u, lfo.mLfoMin, lfo.mLfoMax, lfo.mLfoCompMode, lfo.mLfoCompGain);
        v.Write(lfo.mLfoTarget, i, u);
      }
      *lfoOut = v.lfo[count - 1];
    }

    // Coefficients for each frame's cutoff and bandwidth; a frame whose
    // values equal those of the last computation keeps its coefficients
    // (they are a function of these, and type and rate are fixed here).
    FilterCoefficients c{f.mInGain, f.mFb1, f.mFb2};
    float coeffFreq = f.mCoeffFreq;
    float coeffBandwidth = f.mCoeffBandwidth;
    for (int i = 0; i < count; ++i)
    {
      if (v.freq[i] != coeffFreq || v.bandwidth[i] != coeffBandwidth)
      {
        coeffFreq = v.freq[i];
        coeffBandwidth = v.bandwidth[i];
        c = ComputeFilterCoefficients(coeffFreq, coeffBandwidth, f.mFilterType, f.mEngineSampleRate);
      }
      v.inGain[i] = c.inGain;
      v.fb1[i] = c.fb1;
      v.fb2[i] = c.fb2;
    }
    f.mInGain = c.inGain;
    f.mFb1 = c.fb1;
    f.mFb2 = c.fb2;
    f.mCoeffFreq = coeffFreq;
    f.mCoeffBandwidth = coeffBandwidth;
    v.StoreLastInto(f, count);

    FilterPass(f, &v, count, inputs[0] + start, inputs[1] + start, outputs[0] + start, outputs[1] + start, m);
  }

  m.StoreInto(f);
}
} // namespace

ModulationOutputs RunModulatedFilterLoop(Envelope& env, Lfo& lfo, Filter& filter, double** inputs, double** outputs,
                                         int nFrames)
{
  // Targets, the child option and the period cannot change inside a block:
  // the caller holds the plug-in mutex, which keeps parameter changes out.
  ModulationOutputs result;
  result.envRan = env.mEnvTarget != kTargetNone || lfo.mLfoChild;
  result.lfoRan = lfo.mLfoTarget != kTargetNone && lfo.mLfoTarget != env.mEnvTarget && lfo.mLfoPeriod > 0;

  if (result.envRan && result.lfoRan)
    RunModulated<true, true>(env, lfo, filter, inputs, outputs, nFrames, &result.envOut, &result.lfoOut);
  else if (result.envRan)
    RunModulated<true, false>(env, lfo, filter, inputs, outputs, nFrames, &result.envOut, &result.lfoOut);
  else if (result.lfoRan)
    RunModulated<false, true>(env, lfo, filter, inputs, outputs, nFrames, &result.envOut, &result.lfoOut);
  else
    RunUnmodulated(filter, inputs, outputs, nFrames);
  filter.ClearStateIfRunaway();
  return result;
}
