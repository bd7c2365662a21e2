// Cost of an Audio Unit render of Kestrane at 48000 Hz, stereo, 256-frame
// slices, preset "Oscillating Filter", input from a render callback: through
// the entry function (kAudioUnitRenderSelect) and through the fast-dispatch
// render function hosts fetch once. Each reports time_per_frame and
// realtime_x (seconds of audio per second of processing).
#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

#include "effect/Kestrane.h"
#include "tests/au/support/AuHost.h"

namespace
{
constexpr UInt32 kFrames = 256;

ComponentResult Entry(ComponentParameters* params, Handle storage)
{
  return IPlugAU::ComponentEntry(params, storage, [] {
    return static_cast<IPlugAU*>(new CLS_KESTRANE({"com.olvendu.audiounit.Kestrane", "CLS_KESTRANE_View"}));
  });
}

Component KestraneComponent()
{
  static const ComponentDescription description{0x61756D66, 0x796A6A33, 0x4F6C7644, 0, 0};
  static Component component = StandInRegisterComponent(&description, Entry, "Kestrane");
  return component;
}

// One second of the test signal, replayed.
const std::vector<float>& Signal(int channel)
{
  static std::vector<float> signal[2];
  if (signal[channel].empty())
    for (long s = 0; s < 48000; ++s) signal[channel].push_back(TestInput(channel, s));
  return signal[channel];
}

OSStatus Input(void*, AudioUnitRenderActionFlags*, const AudioTimeStamp* time, UInt32, UInt32 frames,
               AudioBufferList* data)
{
  const std::size_t start = static_cast<std::size_t>(time->mSampleTime) % (48000 - kFrames);
  for (UInt32 k = 0; k < data->mNumberBuffers; ++k)
    std::memcpy(data->mBuffers[k].mData, Signal(static_cast<int>(k)).data() + start, frames * sizeof(float));
  return noErr;
}

void Prepare(AuUnit& unit)
{
  const AURenderCallbackStruct callback{Input, nullptr};
  unit.Set(kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, 0, callback);
  unit.OpenLikeAHost(48000, kFrames);
  unit.Set(kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, AUPreset{11, nullptr});
  unit.Midi(0x90, 60, 100);
}

void Report(benchmark::State& state)
{
  const double frames = static_cast<double>(state.iterations()) * kFrames;
  state.counters["time_per_frame"] = benchmark::Counter(frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["realtime_x"] = benchmark::Counter(frames / 48000.0, benchmark::Counter::kIsRate);
}

void BM_RenderSelector(benchmark::State& state)
{
  AuUnit unit(KestraneComponent());
  Prepare(unit);
  BufferList out(2, kFrames);
  double time = 0;
  for (auto _ : state)
  {
    unit.Render(time, kFrames, out.List());
    time += kFrames;
  }
  Report(state);
}
BENCHMARK(BM_RenderSelector);

void BM_RenderFastDispatch(benchmark::State& state)
{
  AuUnit unit(KestraneComponent());
  Prepare(unit);
  AudioUnitRenderProc render = nullptr;
  unit.Get(kAudioUnitProperty_FastDispatch, kAudioUnitScope_Global, kAudioUnitRenderSelect, &render);
  BufferList out(2, kFrames);
  AudioUnitRenderActionFlags flags = 0;
  AudioTimeStamp time = SampleTime(0);
  for (auto _ : state)
  {
    render(unit.Storage(), &flags, &time, 0, kFrames, out.List());
    time.mSampleTime += kFrames;
  }
  Report(state);
}
BENCHMARK(BM_RenderFastDispatch);
} // namespace

BENCHMARK_MAIN();
