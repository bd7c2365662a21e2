#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/kestrane-render/AudioFile.h"

// Where the audio that goes into the plug-in comes from.
class SignalSource
{
public:
  virtual ~SignalSource() = default;
  virtual int Channels() const = 0;
  virtual double SampleRate() const = 0;
  virtual int64_t Frames() const = 0;
  virtual std::string Description() const = 0;
  // Interleaved frames; returns how many were produced (0 at the end).
  virtual int Read(float* interleaved, int frames) = 0;
  virtual int Read(double* interleaved, int frames) = 0;
};

class FileSource : public SignalSource
{
public:
  explicit FileSource(const std::string& path) : mPath(path), mReader(path) {}
  int Channels() const override { return mReader.Channels(); }
  double SampleRate() const override { return mReader.SampleRate(); }
  int64_t Frames() const override { return mReader.Frames(); }
  std::string Description() const override { return mPath + " (" + mReader.Description() + ")"; }
  int Read(float* interleaved, int frames) override { return mReader.Read(interleaved, frames); }
  int Read(double* interleaved, int frames) override { return mReader.Read(interleaved, frames); }

private:
  std::string mPath;
  AudioFileReader mReader;
};

// A stereo test signal: a sustained A minor chord of band-limited sawtooth
// waves, slightly detuned between the channels, faded in and out.
class TestSignal : public SignalSource
{
public:
  TestSignal(double sampleRate, int64_t frames);
  int Channels() const override { return 2; }
  double SampleRate() const override { return mSampleRate; }
  int64_t Frames() const override { return mFrames; }
  std::string Description() const override { return "generated sawtooth chord"; }
  int Read(float* interleaved, int frames) override { return Generate(interleaved, frames); }
  int Read(double* interleaved, int frames) override { return Generate(interleaved, frames); }

private:
  template <class T>
  int Generate(T* interleaved, int frames);
  // Writes the voices of one channel, summed, into `mix`.
  void MixVoices(int channel, double* mix, int frames);

  double mSampleRate;
  int64_t mFrames;
  int64_t mPosition = 0;
  std::vector<double> mPhase;     // per voice and channel
  std::vector<double> mIncrement; // cycles per sample
  std::vector<double> mMix;       // one channel of one block
};
