#include "wrappers/vst/VstEventOutbox.h"

#include <cstring>

VstEventOutbox::VstEventOutbox() : mSlots(kCapacity), mSysExPool(kSysExPoolBytes) {}

VstEventOutbox::Slot* VstEventOutbox::NextSlot()
{
  if (mList.numEvents >= kCapacity) return nullptr;
  Slot* slot = &mSlots[static_cast<std::size_t>(mList.numEvents)];
  std::memset(static_cast<void*>(slot), 0, sizeof *slot);
  return slot;
}

bool VstEventOutbox::AddMidi(const MidiMessage& message)
{
  Slot* slot = NextSlot();
  if (!slot) return false;
  VstMidiEvent& event = slot->midi;
  event.type = kVstMidiType;
  event.byteSize = sizeof(VstMidiEvent);
  event.deltaFrames = message.mFrameOffset;
  event.midiData[0] = static_cast<char>(message.mStatusByte);
  event.midiData[1] = static_cast<char>(message.mByte1);
  event.midiData[2] = static_cast<char>(message.mByte2);
  mList.events[mList.numEvents++] = reinterpret_cast<VstEvent*>(&event);
  return true;
}

bool VstEventOutbox::AddSysEx(const SysExMessage& message)
{
  const int count = (message.mData && message.mByteCount > 0) ? message.mByteCount : 0;
  if (count > kSysExPoolBytes - mSysExUsed) return false;
  Slot* slot = NextSlot();
  if (!slot) return false;
  char* bytes = mSysExPool.data() + mSysExUsed;
  if (count > 0) std::memcpy(bytes, message.mData, static_cast<std::size_t>(count));
  mSysExUsed += count;

  VstMidiSysexEvent& event = slot->sysex;
  event.type = kVstSysExType;
  event.byteSize = sizeof(VstMidiSysexEvent);
  event.deltaFrames = message.mFrameOffset;
  event.dumpBytes = count;
  event.sysexDump = count > 0 ? bytes : nullptr;
  mList.events[mList.numEvents++] = reinterpret_cast<VstEvent*>(&event);
  return true;
}

VstEvents* VstEventOutbox::Events()
{
  return reinterpret_cast<VstEvents*>(&mList);
}

void VstEventOutbox::Clear()
{
  mList.numEvents = 0;
  mSysExUsed = 0;
}
