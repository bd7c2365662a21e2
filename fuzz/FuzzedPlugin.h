#pragma once

// The plug-in the VST 2 fuzzers drive, created through the wrapper's entry
// path with a host callback that answers time queries and reads back every
// event the plug-in sends. The effect class comes from the build:
// KESTRANE_FUZZ_EFFECT_HEADER / KESTRANE_FUZZ_EFFECT_CLASS.
#include <cmath>
#include <cstdlib>

#include "wrappers/vst/IPlugVST.h"

#include KESTRANE_FUZZ_EFFECT_HEADER

namespace fuzz
{
inline VstIntPtr HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float)
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
  if (opcode == audioMasterGetTime) return reinterpret_cast<VstIntPtr>(&time);
  if (opcode == audioMasterProcessEvents)
  {
    // Read every event as a host would, so a bad record shows up.
    const VstEvents* events = static_cast<const VstEvents*>(ptr);
    VstEvent* const* list = events->events;
    volatile unsigned sum = 0;
    for (int i = 0; i < events->numEvents; ++i)
    {
      const VstEvent* event = list[i];
      if (!event) std::abort();
      if (event->type == kVstMidiType)
      {
        sum = sum + static_cast<unsigned char>(reinterpret_cast<const VstMidiEvent*>(event)->midiData[0]);
      }
      else if (event->type == kVstSysExType)
      {
        const VstMidiSysexEvent* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
        if (sysex->dumpBytes < 0 || (sysex->dumpBytes > 0 && !sysex->sysexDump)) std::abort();
        for (int b = 0; b < sysex->dumpBytes; ++b) sum = sum + static_cast<unsigned char>(sysex->sysexDump[b]);
      }
      else
      {
        std::abort();
      }
    }
    return 1;
  }
  return 0;
}

inline IPlugVST* Construct(IPlugVST::InstanceInfo info)
{
  return new KESTRANE_FUZZ_EFFECT_CLASS(info);
}

// An opened, resumed instance.
inline AEffect* OpenPlugin()
{
  AEffect* effect = IPlugVST::CreateInstance(HostCallback, Construct);
  if (!effect) std::abort();
  effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
  effect->dispatcher(effect, effSetBlockSize, 0, 64, nullptr, 0.0f);
  effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
  return effect;
}

// Every parameter inside its range and one block of finite audio.
inline void CheckSane(AEffect* effect)
{
  for (int i = 0; i < effect->numParams; ++i)
  {
    const float v = effect->getParameter(effect, i);
    if (!(v >= 0.0f && v <= 1.0f)) std::abort();
  }
  float left[64], right[64];
  for (int s = 0; s < 64; ++s) left[s] = right[s] = 0.25f * std::sin(0.3f * s);
  float* io[2] = {left, right};
  effect->processReplacing(effect, io, io, 64);
  for (int s = 0; s < 64; ++s)
    if (!std::isfinite(left[s]) || !std::isfinite(right[s])) std::abort();
}
} // namespace fuzz
