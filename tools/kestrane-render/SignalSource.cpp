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

double TestSignal::NextSample(int channel)
{
  double sum = 0.0;
  for (int voice = 0; voice < kVoices; ++voice)
  {
    const std::size_t i = static_cast<std::size_t>(channel * kVoices + voice);
    double& phase = mPhase[i];
    const double increment = mIncrement[i];
    sum += (2.0 * phase - 1.0) - PolyBlep(phase, increment);
    phase += increment;
    if (phase >= 1.0) phase -= 1.0;
  }
  return sum * kVoiceGain;
}

template <class T>
int TestSignal::Generate(T* interleaved, int frames)
{
  const int n = static_cast<int>(std::min<int64_t>(frames, mFrames - mPosition));
  const double fadeFrames = std::max(1.0, kFadeSeconds * mSampleRate);
  for (int s = 0; s < n; ++s, ++mPosition)
  {
    const double fromEnd = static_cast<double>(mFrames - 1 - mPosition);
    const double fade = std::min({1.0, static_cast<double>(mPosition) / fadeFrames, fromEnd / fadeFrames});
    for (int c = 0; c < 2; ++c) interleaved[2 * s + c] = static_cast<T>(fade * NextSample(c));
  }
  return std::max(n, 0);
}

template int TestSignal::Generate<float>(float*, int);
template int TestSignal::Generate<double>(double*, int);
