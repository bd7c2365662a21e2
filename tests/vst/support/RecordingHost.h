#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "wrappers/vst/Vst2Interface.h"

// A host callback for tests: records every call a plug-in makes, keeps a copy
// of every event the plug-in sends, and answers time and identity queries
// from settable values. Attach it to an AEffect (through the host's `user`
// field) right after the entry point returns.
class RecordingHost
{
public:
  struct Call
  {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    float opt;
    bool duringProcess; // made while the test was inside a process callback
  };

  struct SentEvent
  {
    VstInt32 type;
    VstInt32 byteSize;
    VstInt32 deltaFrames;
    std::vector<uint8_t> bytes; // MIDI bytes, or the system-exclusive dump
    bool duringProcess;
  };

  static VstIntPtr Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                            float opt);
  void Attach(AEffect* effect) { effect->user = this; }

  std::vector<Call> CallsOf(VstInt32 opcode) const;
  void Clear()
  {
    calls.clear();
    sent.clear();
  }

  // ---- Answers ----
  bool timeInfoAvailable = true;
  VstTimeInfo time{};
  std::string product;
  VstIntPtr vendorVersion = 0;
  VstIntPtr processEventsReply = 1;
  // Called after each call is recorded: a host that reacts (re-entrantly)
  // to what the plug-in tells it.
  std::function<void(VstInt32 opcode, VstInt32 index)> onCall;

  // ---- Records ----
  std::vector<Call> calls;
  std::vector<SentEvent> sent;
  // Set by tests around their process calls.
  bool insideProcess = false;

private:
  VstIntPtr Answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
};

// Calls a plug-in's dispatcher.
inline VstIntPtr Dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                          void* ptr = nullptr, float opt = 0.0f)
{
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

// A host's event list with room for any number of events.
class EventList
{
public:
  void AddMidi(int deltaFrames, uint8_t status, uint8_t data1, uint8_t data2, int byteSize = sizeof(VstMidiEvent));
  void AddSysEx(int deltaFrames, const std::vector<uint8_t>& bytes);
  void AddNull() { mKinds.push_back(0); }
  // The list as the plug-in sees it; valid until the next Add.
  VstEvents* Events();

private:
  std::vector<VstMidiEvent> mMidi;
  std::vector<std::vector<uint8_t>> mDumps;
  std::vector<VstMidiSysexEvent> mSysEx;
  std::vector<int> mKinds;         // per entry: 0 null, 1 MIDI, 6 system exclusive
  std::vector<VstIntPtr> mStorage; // the VstEvents record
};
