#include "tests/vst/support/RecordingHost.h"

#include <cstring>

VstIntPtr RecordingHost::Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt)
{
  RecordingHost* host = effect ? static_cast<RecordingHost*>(effect->user) : nullptr;
  if (!host) return opcode == audioMasterVersion ? kVstVersion : 0;
  return host->Answer(opcode, index, value, ptr, opt);
}

VstIntPtr RecordingHost::Answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
  calls.push_back({opcode, index, value, opt, insideProcess});
  if (onCall) onCall(opcode, index);
  switch (opcode)
  {
  case audioMasterVersion:
    return kVstVersion;
  case audioMasterGetTime:
    return timeInfoAvailable ? reinterpret_cast<VstIntPtr>(&time) : 0;
  case audioMasterGetProductString:
    std::strncpy(static_cast<char*>(ptr), product.c_str(), kVstMaxProductStrLen - 1);
    return 1;
  case audioMasterGetVendorVersion:
    return vendorVersion;
  case audioMasterProcessEvents:
  {
    const VstEvents* events = static_cast<const VstEvents*>(ptr);
    VstEvent* const* list = events->events;
    for (int i = 0; i < events->numEvents; ++i)
    {
      const VstEvent* event = list[i];
      SentEvent copy{event->type, event->byteSize, event->deltaFrames, {}, insideProcess};
      if (event->type == kVstMidiType)
      {
        const VstMidiEvent* midi = reinterpret_cast<const VstMidiEvent*>(event);
        copy.bytes.assign(midi->midiData, midi->midiData + 3);
      }
      else if (event->type == kVstSysExType)
      {
        const VstMidiSysexEvent* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
        if (sysex->sysexDump) copy.bytes.assign(sysex->sysexDump, sysex->sysexDump + sysex->dumpBytes);
      }
      sent.push_back(copy);
    }
    return processEventsReply;
  }
  default:
    return 0;
  }
}

std::vector<RecordingHost::Call> RecordingHost::CallsOf(VstInt32 opcode) const
{
  std::vector<Call> found;
  for (const Call& call : calls)
    if (call.opcode == opcode) found.push_back(call);
  return found;
}

// ---- Event lists ----

void EventList::AddMidi(int deltaFrames, uint8_t status, uint8_t data1, uint8_t data2, int byteSize)
{
  VstMidiEvent event{};
  event.type = kVstMidiType;
  event.byteSize = byteSize;
  event.deltaFrames = deltaFrames;
  event.midiData[0] = static_cast<char>(status);
  event.midiData[1] = static_cast<char>(data1);
  event.midiData[2] = static_cast<char>(data2);
  mMidi.push_back(event);
  mKinds.push_back(kVstMidiType);
}

void EventList::AddSysEx(int deltaFrames, const std::vector<uint8_t>& bytes)
{
  mDumps.push_back(bytes);
  VstMidiSysexEvent event{};
  event.type = kVstSysExType;
  event.byteSize = sizeof event;
  event.deltaFrames = deltaFrames;
  event.dumpBytes = static_cast<VstInt32>(bytes.size());
  mSysEx.push_back(event);
  mKinds.push_back(kVstSysExType);
}

VstEvents* EventList::Events()
{
  // Pointers are taken only now, when no vector grows any more.
  mStorage.assign(VstEventsBytes(mKinds.size() + 2) / sizeof(VstIntPtr) + 1, 0);
  VstEvents* events = reinterpret_cast<VstEvents*>(mStorage.data());
  VstEvent** list = events->events;
  std::size_t midi = 0;
  std::size_t sysex = 0;
  for (std::size_t i = 0; i < mKinds.size(); ++i)
  {
    if (mKinds[i] == kVstMidiType)
    {
      list[i] = reinterpret_cast<VstEvent*>(&mMidi[midi++]);
    }
    else if (mKinds[i] == kVstSysExType)
    {
      mSysEx[sysex].sysexDump = reinterpret_cast<char*>(mDumps[sysex].data());
      list[i] = reinterpret_cast<VstEvent*>(&mSysEx[sysex]);
      ++sysex;
    }
    else
    {
      list[i] = nullptr;
    }
  }
  events->numEvents = static_cast<VstInt32>(mKinds.size());
  return events;
}
