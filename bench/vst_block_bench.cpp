// Cost per frame of the built plug-in library (kestrane.so) at host block
// sizes 16, 32, 64 and 512, through its VST 2 entry point as a host drives
// it: dlopen, VSTPluginMain, open, rate, block size, resume; then for every
// block the (empty) event list and the process callback. Small blocks pay the
// per-block work (lock, MIDI request, event handling, buffer binding, the
// time query, the modulation pass set-up) more often; after the run the cost
// per frame at each size is printed against the cost at 512.
//
// Cases: no modulation ("---- default ----") and the LFO on the mix
// ("Oscillating Filter"), in single (processReplacing) and double precision.
// KESTRANE_BENCH_PLUGIN=path/to/kestrane.so measures another build of the
// library (before/after figures from one program).
#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/PerFrameReporter.h"

#include "bench/BenchVstHost.h"
#include "wrappers/vst/Vst2Interface.h"

namespace
{
constexpr double kRate = 48000.0;
constexpr int kFramesPerIteration = 4096; // a multiple of every block size
constexpr int kBlockSizes[] = {16, 32, 64, 512};

using bench::HostCallback;
using bench::PluginPath;

class Instance
{
public:
  Instance(const char* preset, int blockSize)
  {
    mLibrary = dlopen(PluginPath(), RTLD_NOW | RTLD_LOCAL);
    if (!mLibrary) return;
    using Entry = AEffect* (*)(audioMasterCallback);
    Entry entry = reinterpret_cast<Entry>(dlsym(mLibrary, "VSTPluginMain"));
    mEffect = entry ? entry(HostCallback) : nullptr;
    if (!mEffect) return;
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
    Dispatch(effSetBlockSize, 0, blockSize);
    for (int i = 0; i < mEffect->numPrograms; ++i)
    {
      char name[kVstMaxProgNameLen + 40] = {};
      Dispatch(effGetProgramNameIndexed, i, 0, name);
      if (std::strcmp(name, preset) == 0) Dispatch(effSetProgram, 0, i);
    }
    Dispatch(effMainsChanged, 0, 1);
    Dispatch(effStartProcess);
  }
  ~Instance()
  {
    if (mEffect)
    {
      Dispatch(effStopProcess);
      Dispatch(effMainsChanged, 0, 0);
      Dispatch(effClose);
    }
    if (mLibrary) dlclose(mLibrary);
  }
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  AEffect* Effect() const { return mEffect; }
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) const
  {
    return mEffect->dispatcher(mEffect, opcode, index, value, ptr, opt);
  }

private:
  void* mLibrary = nullptr;
  AEffect* mEffect = nullptr;
};

template <class Sample>
void Process(AEffect* effect, Sample** in, Sample** out, int frames);
template <>
void Process(AEffect* effect, float** in, float** out, int frames)
{
  effect->processReplacing(effect, in, out, frames);
}
template <>
void Process(AEffect* effect, double** in, double** out, int frames)
{
  effect->processDoubleReplacing(effect, in, out, frames);
}

// One pass over the buffers in host blocks. Not inlined, so an instruction
// profiler can count the host's loop alone (valgrind --tool=callgrind
// --toggle-collect='*HostBlocks*').
template <class Sample>
[[gnu::noinline]] void HostBlocks(const Instance& plug, std::vector<Sample> (&in)[2], std::vector<Sample> (&out)[2],
                                  int block)
{
  VstEvents noEvents{};
  for (int start = 0; start < kFramesPerIteration; start += block)
  {
    Sample* ins[2] = {in[0].data() + start, in[1].data() + start};
    Sample* outs[2] = {out[0].data() + start, out[1].data() + start};
    // Hosts send the event list every block, empty or not.
    plug.Dispatch(effProcessEvents, 0, 0, &noEvents);
    Process(plug.Effect(), ins, outs, block);
  }
}

template <class Sample>
void RunBlocks(benchmark::State& state, const char* preset)
{
  const int block = static_cast<int>(state.range(0));
  Instance plug(preset, block);
  if (!plug.Effect())
  {
    state.SkipWithError("cannot load the plug-in library");
    return;
  }
  // Noise, so the silence guard never takes a shortcut.
  std::vector<Sample> in[2], out[2];
  uint32_t seed = 12345;
  for (int c = 0; c < 2; ++c)
  {
    in[c].resize(kFramesPerIteration);
    out[c].resize(kFramesPerIteration);
    for (Sample& v : in[c])
    {
      seed = seed * 1664525u + 1013904223u;
      v = static_cast<Sample>(static_cast<double>(seed >> 8) / 16777216.0 - 0.5);
    }
  }
  for (auto _ : state)
  {
    HostBlocks(plug, in, out, block);
    benchmark::DoNotOptimize(out[0].data());
    benchmark::DoNotOptimize(out[1].data());
    benchmark::ClobberMemory();
  }
  state.counters["time_per_frame"] = benchmark::Counter(
      kFramesPerIteration, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void Register()
{
  struct Case
  {
    const char* name;
    const char* preset;
  };
  for (const Case& c : {Case{"Unmodulated", "---- default ----"}, Case{"LfoOnMix", "Oscillating Filter"}})
  {
    for (int block : kBlockSizes)
    {
      benchmark::RegisterBenchmark((std::string("BM_Vst_") + c.name + "_Float").c_str(), RunBlocks<float>, c.preset)
          ->Arg(block);
      benchmark::RegisterBenchmark((std::string("BM_Vst_") + c.name + "_Double").c_str(), RunBlocks<double>,
                                   c.preset)
          ->Arg(block);
    }
  }
}

// Prints the usual table, then each case's cost per frame against 512.
class BlockReporter : public PerFrameReporter
{
public:
  void Finalize() override
  {
    ConsoleReporter::Finalize();
    std::printf("\nns per frame by host block (%s), and against 512 frames:\n", FigureKind());
    std::string current;
    for (const auto& [key, entry] : mNsPerFrame)
    {
      const auto& [name, block] = key;
      if (name != current)
      {
        if (!current.empty()) std::printf("\n");
        std::printf("  %-28s", name.c_str());
        current = name;
      }
      const Entry* large = Find(name, 512);
      std::printf("  %4d: %6.2f ns", block, entry.value);
      if (large && large->value > 0.0) std::printf(" (%.2fx)", entry.value / large->value);
    }
    if (!current.empty()) std::printf("\n");
  }
};
} // namespace

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  Register();
  BlockReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
