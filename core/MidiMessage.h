#pragma once

#include <cstdint>

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
