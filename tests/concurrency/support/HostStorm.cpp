#include "tests/concurrency/support/HostStorm.h"

#include <cmath>
#include <cstring>
#include <random>


namespace
{
constexpr int kChunkVersion = 10100;
constexpr std::size_t kProgramChunkBytes = 4 + 24 * sizeof(double);

// Size, version and values of a program chunk as the plug-in hands it out.
bool ChunkLooksRight(const uint8_t* data, std::size_t size)
{
  if (!data || size != kProgramChunkBytes) return false;
  int32_t version = 0;
  std::memcpy(&version, data, sizeof version);
  if (version != kChunkVersion) return false;
  for (std::size_t at = 4; at < size; at += sizeof(double))
  {
    double value = 0.0;
    std::memcpy(&value, data + at, sizeof value);
    if (!std::isfinite(value)) return false;
  }
  return true;
}
} // namespace

HostStorm::HostStorm(AEffect* effect, const StormPlan& plan, unsigned seed)
    : mEffect(effect), mPlan(plan), mSeed(seed)
{
}

HostStorm::~HostStorm()
{
  Join();
}

void HostStorm::Start(UiWork ui)
{
  mUi = std::move(ui);
  mOtherValueWritersRunning = 3;
  mThreads.emplace_back([this] { Audio(); });
  mThreads.emplace_back([this] { Automation(); });
  mThreads.emplace_back([this] {
    Programs();
    --mOtherValueWritersRunning;
  });
  mThreads.emplace_back([this] {
    Chunks();
    --mOtherValueWritersRunning;
  });
  mThreads.emplace_back([this] {
    report.uiOperations = mUi ? mUi() : 0;
    --mOtherValueWritersRunning;
  });
}

void HostStorm::Join()
{
  for (std::thread& thread : mThreads)
    if (thread.joinable()) thread.join();
  mThreads.clear();
}

void HostStorm::Audio()
{
  std::minstd_rand random(mSeed);
  std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
  const int n = mPlan.maxFrames;
  std::vector<float> floats(4 * n);
  std::vector<double> doubles(4 * n);
  float* floatIn[2] = {&floats[0], &floats[n]};
  float* floatOut[2] = {&floats[2 * n], &floats[3 * n]};
  double* doubleIn[2] = {&doubles[0], &doubles[n]};
  double* doubleOut[2] = {&doubles[2 * n], &doubles[3 * n]};

  for (int block = 0; block < mPlan.blocks; ++block)
  {
    const int frames = 1 + static_cast<int>(random() % n);
    EventList events;
    // A note on, then off, on a channel that changes: the envelope runs.
    const uint8_t channel = static_cast<uint8_t>(block % 16);
    events.AddMidi(static_cast<int>(random() % frames), (block % 2 ? 0x80 : 0x90) | channel, 60, 100);
    Dispatch(mEffect, effProcessEvents, 0, 0, events.Events());

    const bool single = block % 2 == 0;
    for (int s = 0; s < frames; ++s)
    {
      const float a = noise(random), b = noise(random);
      floats[s] = a;
      floats[n + s] = b;
      doubles[s] = a;
      doubles[n + s] = b;
    }
    if (single)
      mEffect->processReplacing(mEffect, floatIn, floatOut, frames);
    else
      mEffect->processDoubleReplacing(mEffect, doubleIn, doubleOut, frames);
    for (int channelIdx = 0; channelIdx < 2; ++channelIdx)
      for (int s = 0; s < frames; ++s)
      {
        const double out = single ? floatOut[channelIdx][s] : doubleOut[channelIdx][s];
        if (!std::isfinite(out)) ++report.nonFiniteSamples;
        ++report.samplesChecked;
      }
    ++report.blocks;
  }
}

void HostStorm::Automation()
{
  std::minstd_rand random(mSeed + 1);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  const int nParams = mEffect->numParams;
  auto check = [&](int idx) {
    const float value = mEffect->getParameter(mEffect, idx);
    if (!(value >= 0.0f && value <= 1.0f)) ++report.valuesOutOfRange;
  };
  for (int i = 0; i < mPlan.automations; ++i)
  {
    const int idx = static_cast<int>(random() % nParams);
    mEffect->setParameter(mEffect, idx, unit(random));
    check(idx);
    ++report.automations;
  }
  // The last word: once nobody else changes values, every parameter is set
  // to an end of its range, which every kind of parameter holds exactly.
  while (mOtherValueWritersRunning.load() > 0) std::this_thread::yield();
  for (int idx = 0; idx < nParams; ++idx)
  {
    mEffect->setParameter(mEffect, idx, FinalValue(idx));
    check(idx);
  }
}

void HostStorm::Programs()
{
  std::minstd_rand random(mSeed + 2);
  char text[256];
  for (int i = 0; i < mPlan.programChanges; ++i)
  {
    const int program = static_cast<int>(random() % mEffect->numPrograms);
    Dispatch(mEffect, effSetProgram, 0, program);
    const VstIntPtr current = Dispatch(mEffect, effGetProgram);
    if (current < 0 || current >= mEffect->numPrograms) ++report.badPrograms;
    Dispatch(mEffect, effGetProgramName, 0, 0, text);
    Dispatch(mEffect, effGetProgramNameIndexed, static_cast<VstInt32>(random() % mEffect->numPrograms), 0, text);
    Dispatch(mEffect, effGetParamDisplay, static_cast<VstInt32>(random() % mEffect->numParams), 0, text);
    if (i % 50 == 49) Dispatch(mEffect, effSetSampleRate, 0, 0, nullptr, (i / 50) % 2 ? 48000.0f : 44100.0f);
    ++report.programChanges;
  }
}

void HostStorm::Chunks()
{
  std::vector<uint8_t> copy;
  for (int i = 0; i < mPlan.chunkRoundTrips; ++i)
  {
    // Program chunks mostly; now and then the bank's, which also stores the
    // live state into the current program.
    const VstInt32 index = i % 4 == 3 ? 0 : 1;
    void* data = nullptr;
    const VstIntPtr size = Dispatch(mEffect, effGetChunk, index, 0, &data);
    // Copied before the next call: the plug-in's buffer is valid until then.
    copy.assign(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + (data && size > 0 ? size : 0));
    if (!ChunkLooksRight(copy.data(), copy.size()) ||
        Dispatch(mEffect, effSetChunk, index, static_cast<VstIntPtr>(copy.size()), copy.data()) != 1)
      ++report.badChunks;
    ++report.chunkRoundTrips;
  }
}

std::vector<uint8_t> ProgramChunk(AEffect* effect)
{
  void* data = nullptr;
  const VstIntPtr size = Dispatch(effect, effGetChunk, 1, 0, &data);
  if (!data || size <= 0) return {};
  return std::vector<uint8_t>(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
}

void OpenForProcessing(AEffect* effect, float sampleRate, int blockSize)
{
  Dispatch(effect, effOpen);
  Dispatch(effect, effSetSampleRate, 0, 0, nullptr, sampleRate);
  Dispatch(effect, effSetBlockSize, 0, blockSize);
  Dispatch(effect, effMainsChanged, 0, 1);
}
