#include "wrappers/vst/VstEventOutbox.h"

#include <cstring>

#include "wrappers/vst/VstMidiEvents.h"

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
  slot->midi = VstEventFromMidi(message);
  mList.events[mList.numEvents++] = reinterpret_cast<VstEvent*>(&slot->midi);
  return true;
}

bool VstEventOutbox::AddSysEx(const SysExMessage& message)
{
  const int count = SysExByteCount(message);
  if (count > kSysExPoolBytes - mSysExUsed) return false;
  Slot* slot = NextSlot();
  if (!slot) return false;
  char* bytes = mSysExPool.data() + mSysExUsed;
  if (count > 0) std::memcpy(bytes, message.mData, static_cast<std::size_t>(count));
  mSysExUsed += count;

  slot->sysex = VstEventFromSysEx(message, bytes, count);
  mList.events[mList.numEvents++] = reinterpret_cast<VstEvent*>(&slot->sysex);
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
