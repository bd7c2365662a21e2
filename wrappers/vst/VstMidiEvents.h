#pragma once

#include "core/MidiMessage.h"
#include "wrappers/vst/Vst2Interface.h"

// Our MIDI records as VST 2 events and back: the one place where their
// fields and bytes are laid out, for the events we send (at once or through
// the outbox) and those the host delivers.

inline VstMidiEvent VstEventFromMidi(const MidiMessage& message)
{
  VstMidiEvent event{};
  event.type = kVstMidiType;
  event.byteSize = sizeof(VstMidiEvent);
  event.deltaFrames = message.mFrameOffset;
  event.midiData[0] = static_cast<char>(message.mStatusByte);
  event.midiData[1] = static_cast<char>(message.mByte1);
  event.midiData[2] = static_cast<char>(message.mByte2);
  return event;
}

// The event points at `bytes` (count of them; none when count is 0), which
// must outlive it: the message's own data or a copy.
inline VstMidiSysexEvent VstEventFromSysEx(const SysExMessage& message, const void* bytes, int count)
{
  VstMidiSysexEvent event{};
  event.type = kVstSysExType;
  event.byteSize = sizeof(VstMidiSysexEvent);
  event.deltaFrames = message.mFrameOffset;
  event.dumpBytes = count > 0 ? count : 0;
  event.sysexDump = count > 0 ? const_cast<char*>(static_cast<const char*>(bytes)) : nullptr;
  return event;
}

// The bytes a system-exclusive message really carries: 0 without data or
// with a negative size.
inline int SysExByteCount(const SysExMessage& message)
{
  return (message.mData && message.mByteCount > 0) ? message.mByteCount : 0;
}

inline MidiMessage MidiFromVstEvent(const VstMidiEvent& event)
{
  MidiMessage message;
  message.mFrameOffset = event.deltaFrames;
  message.mStatusByte = static_cast<uint8_t>(event.midiData[0]);
  message.mByte1 = static_cast<uint8_t>(event.midiData[1]);
  message.mByte2 = static_cast<uint8_t>(event.midiData[2]);
  return message;
}

// A dump without bytes, or with a negative size, is an empty message.
inline SysExMessage SysExFromVstEvent(const VstMidiSysexEvent& event)
{
  SysExMessage message;
  message.mFrameOffset = event.deltaFrames;
  const bool hasBytes = event.sysexDump && event.dumpBytes > 0;
  message.mByteCount = hasBytes ? event.dumpBytes : 0;
  message.mData = hasBytes ? reinterpret_cast<const uint8_t*>(event.sysexDump) : nullptr;
  return message;
}
