// Time per block of the built plug-in library when loud resonant material
// stops and the input goes silent: the filter's memory and the modulation
// decay towards zero, where denormal numbers would make every operation many
// times slower. Drives kestrane.so through its VST 2 entry point (64-frame
// blocks at 48000 Hz, processReplacing), one second of loud input (noise
// bursts and a full-scale square) and then ten seconds of silence, for
// several settings:
//   lowpass 20 Hz and highpass 20000 Hz at the narrowest bandwidth (highest
//   resonance), bandpass 1000 Hz with the envelope on the cutoff and the LFO
//   on the bandwidth (notes held through the loud second, released at the
//   silence), and the LFO alone on the mix.
// Each setting runs nine times; a block's time is its fastest of the nine,
// which removes the other programs' interruptions on a shared machine and
// keeps any slowness that belongs to the block. Printed per setting: the
// median block of the loud part and of the silent tail, the worst block of
// the tail, worst / median of the tail (goal: at most 2), and the tail's
// median against the loud part's: memory stuck among denormals slows the
// whole tail, which the first ratio alone would not show.
// KESTRANE_BENCH_PLUGIN=path/to/kestrane.so measures another build.
#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/BenchVstHost.h"
#include "wrappers/vst/Vst2Interface.h"

namespace
{
constexpr double kRate = 48000.0;
constexpr int kBlock = 64;
constexpr int kLoudBlocks = static_cast<int>(kRate) / kBlock;        // one second
constexpr int kSilentBlocks = 10 * static_cast<int>(kRate) / kBlock; // ten seconds
constexpr int kRuns = 9;

using bench::HostCallback;
using bench::PluginPath;

struct Setting
{
  const char* title;
  // Parameter settings as the host would type them: index, text.
  std::vector<std::pair<int, const char*>> values;
  bool notes;
};

VstIntPtr Dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                   float opt = 0.0f)
{
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

void SendNote(AEffect* effect, bool on)
{
  VstMidiEvent event{};
  event.type = kVstMidiType;
  event.byteSize = sizeof event;
  event.midiData[0] = static_cast<char>(on ? 0x90 : 0x80);
  event.midiData[1] = 48;
  event.midiData[2] = on ? 110 : 0;
  VstEvents events{};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<VstEvent*>(&event);
  Dispatch(effect, effProcessEvents, 0, 0, &events);
}

// One run of a setting: the time of every block, in nanoseconds.
std::vector<double> Run(void* library, const Setting& setting)
{
  using Entry = AEffect* (*)(audioMasterCallback);
  Entry entry = reinterpret_cast<Entry>(dlsym(library, "VSTPluginMain"));
  AEffect* effect = entry ? entry(HostCallback) : nullptr;
  if (!effect) return {};
  Dispatch(effect, effOpen);
  Dispatch(effect, effSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
  Dispatch(effect, effSetBlockSize, 0, kBlock);
  for (const auto& value : setting.values)
    Dispatch(effect, effString2Parameter, value.first, 0, const_cast<char*>(value.second));
  Dispatch(effect, effMainsChanged, 0, 1);

  std::vector<float> left(kBlock), right(kBlock);
  float* io[2] = {left.data(), right.data()};
  std::vector<double> times;
  times.reserve(kLoudBlocks + kSilentBlocks);
  uint32_t noise = 2024;
  if (setting.notes) SendNote(effect, true);
  for (int block = 0; block < kLoudBlocks + kSilentBlocks; ++block)
  {
    const bool loud = block < kLoudBlocks;
    if (setting.notes && block == kLoudBlocks) SendNote(effect, false);
    for (int s = 0; s < kBlock; ++s)
    {
      noise = noise * 1664525u + 1013904223u;
      const int frame = block * kBlock + s;
      const float burst = (frame / 2400) % 2 ? static_cast<float>(noise >> 8) / 8388608.0f - 1.0f : 0.0f;
      const float square = (frame / 109) % 2 ? 1.0f : -1.0f;
      left[s] = loud ? burst + 0.5f * square : 0.0f;
      right[s] = loud ? square : 0.0f;
    }
    const auto start = std::chrono::steady_clock::now();
    effect->processReplacing(effect, io, io, kBlock);
    const auto stop = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::nano>(stop - start).count());
  }
  Dispatch(effect, effClose);
  return times;
}

double Median(std::vector<double> values)
{
  if (values.empty()) return 0.0;
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}
} // namespace

int main()
{
  void* library = dlopen(PluginPath(), RTLD_NOW | RTLD_LOCAL);
  if (!library)
  {
    std::fprintf(stderr, "cannot load %s: %s\n", PluginPath(), dlerror());
    return 1;
  }

  // Parameter indices: type 0, freq 1, bandwidth 2, mix 4, ENV target 5,
  // ENV attack 6, ENV release 9, LFO target 14, LFO sync 16, LFO rate 18.
  const Setting settings[] = {
      {"lowpass 20 Hz, bandwidth 1%", {{0, "Lowpass"}, {1, "20"}, {2, "1"}}, false},
      {"highpass 20000 Hz, bandwidth 1%", {{0, "Highpass"}, {1, "20000"}, {2, "1"}}, false},
      {"bandpass, ENV on cutoff, LFO on bandwidth",
       {{0, "Bandpass"}, {1, "1000"}, {2, "1"}, {5, "Filter Freq"}, {6, "5"}, {9, "3000"}, {14, "Filter Bandwidth"},
        {16, "No"}, {18, "250"}},
       true},
      {"lowpass 200 Hz, LFO on mix", {{0, "Lowpass"}, {1, "200"}, {2, "1"}, {14, "Filter Mix"}, {16, "No"}, {18, "60"}},
       false},
  };

  std::printf("%-44s %12s %12s %12s %10s %10s\n", "setting (64-frame blocks)", "loud median", "tail median",
              "tail worst", "worst/med", "tail/loud");
  bool met = true;
  for (const Setting& setting : settings)
  {
    std::vector<double> fastest;
    for (int run = 0; run < kRuns; ++run)
    {
      const std::vector<double> times = Run(library, setting);
      if (times.empty()) return 1;
      if (fastest.empty()) fastest = times;
      for (size_t i = 0; i < times.size(); ++i) fastest[i] = std::min(fastest[i], times[i]);
    }
    const std::vector<double> loud(fastest.begin(), fastest.begin() + kLoudBlocks);
    const std::vector<double> tail(fastest.begin() + kLoudBlocks, fastest.end());
    const double tailMedian = Median(tail);
    const double tailWorst = *std::max_element(tail.begin(), tail.end());
    const double ratio = tailWorst / tailMedian;
    met = met && ratio <= 2.0;
    std::printf("%-44s %9.0f ns %9.0f ns %9.0f ns %9.2fx %9.2fx\n", setting.title, Median(loud), tailMedian,
                tailWorst, ratio, tailMedian / Median(loud));
  }
  std::printf("goal worst/median <= 2x over the silent tail: %s\n", met ? "met" : "MISSED");
  dlclose(library);
  return 0;
}
