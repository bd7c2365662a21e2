#pragma once

#include <cstddef>
#include <vector>

#include "core/MidiMessage.h"
#include "wrappers/vst/Vst2Interface.h"

// MIDI the plug-in sends to the host, held until the host can take it.
// Hosts only collect outgoing events reliably while a process callback runs,
// but the plug-in produces most of them while the host delivers its own
// events (effProcessEvents, just before processing). The outbox keeps them in
// memory allocated once, at construction, and hands them to the host as one
// list from the next process callback.
//
// Threads: used only with the plug-in mutex held (audio and host threads).
class VstEventOutbox
{
public:
  static constexpr int kCapacity = 512;
  static constexpr int kSysExPoolBytes = 16384;

  VstEventOutbox();

  VstEventOutbox(const VstEventOutbox&) = delete;
  VstEventOutbox& operator=(const VstEventOutbox&) = delete;

  // False, with nothing queued, when the outbox is full.
  bool AddMidi(const MidiMessage& message);
  // Copies the bytes, which belong to the sender; false when they do not fit.
  bool AddSysEx(const SysExMessage& message);

  int Count() const { return mList.numEvents; }
  bool Empty() const { return mList.numEvents == 0; }
  // The queued events as a host event list, valid until the next Clear.
  VstEvents* Events();
  void Clear();

private:
  // Same layout as VstEvents, with room for every slot.
  struct EventList
  {
    VstInt32 numEvents;
    VstIntPtr reserved;
    VstEvent* events[kCapacity];
  };
  static_assert(offsetof(EventList, numEvents) == offsetof(VstEvents, numEvents), "event list layout");
  static_assert(offsetof(EventList, reserved) == offsetof(VstEvents, reserved), "event list layout");
  static_assert(offsetof(EventList, events) == offsetof(VstEvents, events), "event list layout");

  union Slot
  {
    VstMidiEvent midi;
    VstMidiSysexEvent sysex;
  };

  Slot* NextSlot();

  std::vector<Slot> mSlots;
  std::vector<char> mSysExPool;
  int mSysExUsed = 0;
  EventList mList{};
};
