#include "tools/kestrane-render/SignalSource.h"

#include <algorithm>

namespace
{
constexpr double kChord[] = {110.0, 130.8128, 164.8138, 220.0}; // A2 C3 E3 A3
constexpr int kVoices = 4;
constexpr double kVoiceGain = 0.15;
constexpr double kFadeSeconds = 0.01;

// The step a sawtooth takes at its reset, smoothed over one sample on each
// side, which removes most of the aliasing of a naive sawtooth.
double PolyBlep(double phase, double increment)
{
  if (phase < increment)
  {
    const double t = phase / increment;
    return t + t - t * t - 1.0;
  }
  if (phase > 1.0 - increment)
  {
    const double t = (phase - 1.0) / increment;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}
} // namespace

TestSignal::TestSignal(double sampleRate, int64_t frames) : mSampleRate(sampleRate), mFrames(frames)
{
  for (int channel = 0; channel < 2; ++channel)
  {
    for (int voice = 0; voice < kVoices; ++voice)
    {
      // A few cents apart between the channels, for some width.
      const double detune = channel == 0 ? 0.998 : 1.002;
      mIncrement.push_back(kChord[voice] * detune / sampleRate);
      mPhase.push_back(0.25 * voice);
    }
  }
}

void TestSignal::MixVoices(int channel, double* mix, int frames)
{
  // The voices advance side by side: their phases are independent chains the
  // processor can overlap.
  double phase[kVoices];
  double increment[kVoices];
  const std::size_t first = static_cast<std::size_t>(channel * kVoices);
  for (int v = 0; v < kVoices; ++v)
  {
    phase[v] = mPhase[first + static_cast<std::size_t>(v)];
    increment[v] = mIncrement[first + static_cast<std::size_t>(v)];
  }
  for (int s = 0; s < frames; ++s)
  {
    double sum = 0.0;
    for (int v = 0; v < kVoices; ++v)
    {
      sum += (2.0 * phase[v] - 1.0) - PolyBlep(phase[v], increment[v]);
      phase[v] += increment[v];
      if (phase[v] >= 1.0) phase[v] -= 1.0;
    }
    mix[s] = sum;
  }
  for (int v = 0; v < kVoices; ++v) mPhase[first + static_cast<std::size_t>(v)] = phase[v];
}

template <class T>
int TestSignal::Generate(T* interleaved, int frames)
{
  const int n = static_cast<int>(std::max<int64_t>(std::min<int64_t>(frames, mFrames - mPosition), 0));
  if (mMix.size() < static_cast<std::size_t>(n)) mMix.resize(static_cast<std::size_t>(n));
  const double fadeFrames = std::max(1.0, kFadeSeconds * mSampleRate);
  for (int c = 0; c < 2; ++c)
  {
    MixVoices(c, mMix.data(), n);
    for (int s = 0; s < n; ++s)
    {
      double gain = kVoiceGain;
      const int64_t position = mPosition + s;
      // Faded in and out over a few milliseconds, so neither end clicks.
      if (position < fadeFrames || mFrames - 1 - position < fadeFrames)
        gain *= std::min(static_cast<double>(position), static_cast<double>(mFrames - 1 - position)) / fadeFrames;
      interleaved[2 * s + c] = static_cast<T>(gain * mMix[static_cast<std::size_t>(s)]);
    }
  }
  mPosition += n;
  return n;
}

template int TestSignal::Generate<float>(float*, int);
template int TestSignal::Generate<double>(double*, int);
