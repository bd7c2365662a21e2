#pragma once

#include <cstdint>

// The upper four bits of a channel message's status byte.
enum MidiStatusKind : int
{
  kMidiNoteOff = 0x8,
  kMidiNoteOn = 0x9,
  kMidiPolyPressure = 0xA,
  kMidiControlChange = 0xB,
  kMidiProgramChange = 0xC,
  kMidiChannelPressure = 0xD,
  kMidiPitchBend = 0xE
};

// A short MIDI message with its frame offset in the current block.
struct MidiMessage
{
  int32_t mFrameOffset = 0;
  uint8_t mStatusByte = 0;
  uint8_t mByte1 = 0;
  uint8_t mByte2 = 0;

  int Channel() const { return mStatusByte & 0x0F; }
  int StatusKind() const { return mStatusByte >> 4; }
};

// A system-exclusive message. mData belongs to the sender and is valid only
// during the call that carries it.
struct SysExMessage
{
  int32_t mFrameOffset = 0;
  int32_t mByteCount = 0;
  const uint8_t* mData = nullptr;
};
