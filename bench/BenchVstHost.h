#pragma once
// The host side both benchmarks that load the built plug-in library share:
// the library's path and a host callback that answers what the plug-in asks
// on the audio thread (the time at 120 BPM in 4/4, the host version), takes
// its MIDI output and wants nothing else.
#include <cstdlib>

#include "wrappers/vst/Vst2Interface.h"

namespace bench
{
// KESTRANE_BENCH_PLUGIN=path/to/kestrane.so measures another build.
inline const char* PluginPath()
{
  const char* path = std::getenv("KESTRANE_BENCH_PLUGIN");
  return path && *path ? path : KESTRANE_PLUGIN_LIBRARY;
}

inline VstTimeInfo& HostTime()
{
  static VstTimeInfo time = [] {
    VstTimeInfo t{};
    t.sampleRate = 48000.0;
    t.tempo = 120.0;
    t.timeSigNumerator = 4;
    t.timeSigDenominator = 4;
    t.flags = kVstTempoValid | kVstTimeSigValid;
    return t;
  }();
  return time;
}

inline VstIntPtr HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
  switch (opcode)
  {
  case audioMasterVersion: return kVstVersion;
  case audioMasterGetTime: return reinterpret_cast<VstIntPtr>(&HostTime());
  case audioMasterProcessEvents: return 1;
  default: return 0;
  }
}
} // namespace bench
