// Feeds effProcessEvents lists built from arbitrary bytes: MIDI, system
// exclusive and unknown event records of random sizes, random byteSize,
// offsets and flags, null entries, and negative dump sizes. The plug-in
// processes each list and the next block, sends only well-formed events to
// the host, and stays sane.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "fuzz/FuzzedPlugin.h"

namespace
{
class Input
{
public:
  Input(const uint8_t* data, size_t size) : mData(data), mSize(size) {}
  bool Empty() const { return mPos >= mSize; }
  uint8_t Byte() { return mPos < mSize ? mData[mPos++] : 0; }
  int32_t Int()
  {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | Byte();
    return static_cast<int32_t>(v);
  }

private:
  const uint8_t* mData;
  size_t mSize;
  size_t mPos = 0;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size > (1 << 14)) return 0;
  Input in(data, size);
  AEffect* effect = fuzz::OpenPlugin();

  while (!in.Empty())
  {
    const int count = in.Byte() % 40;
    std::vector<std::unique_ptr<uint8_t[]>> records;
    std::vector<std::vector<uint8_t>> dumps;
    std::vector<VstEvent*> pointers;
    for (int i = 0; i < count && !in.Empty(); ++i)
    {
      const uint8_t kind = in.Byte();
      if (kind % 11 == 0)
      {
        pointers.push_back(nullptr);
        continue;
      }
      const VstInt32 type = kind % 3 == 0 ? kVstSysExType : kind % 3 == 1 ? kVstMidiType : static_cast<VstInt32>(kind);
      // A record at least as large as its type's layout, often larger.
      const size_t layout = type == kVstSysExType ? sizeof(VstMidiSysexEvent) : sizeof(VstMidiEvent);
      const size_t bytes = layout + in.Byte() % 64;
      records.emplace_back(new uint8_t[bytes]);
      uint8_t* record = records.back().get();
      for (size_t b = 0; b < bytes; ++b) record[b] = in.Byte();
      VstEvent* event = reinterpret_cast<VstEvent*>(record);
      event->type = type;
      if (type == kVstSysExType)
      {
        VstMidiSysexEvent* sysex = reinterpret_cast<VstMidiSysexEvent*>(record);
        const int8_t length = static_cast<int8_t>(in.Byte());
        dumps.emplace_back(static_cast<size_t>(std::max<int>(length, 0)));
        for (uint8_t& b : dumps.back()) b = in.Byte();
        sysex->dumpBytes = length; // negative sizes too
        sysex->sysexDump = dumps.back().empty() ? nullptr : reinterpret_cast<char*>(dumps.back().data());
      }
      pointers.push_back(event);
    }

    std::vector<VstIntPtr> storage(VstEventsBytes(pointers.size() + 2) / sizeof(VstIntPtr) + 1, 0);
    VstEvents* events = reinterpret_cast<VstEvents*>(storage.data());
    VstEvent** list = events->events;
    for (size_t i = 0; i < pointers.size(); ++i) list[i] = pointers[i];
    events->numEvents = static_cast<VstInt32>(pointers.size());
    if (effect->dispatcher(effect, effProcessEvents, 0, 0, events, 0.0f) != 1) std::abort();
    // A list that claims fewer than none.
    events->numEvents = -static_cast<VstInt32>(pointers.size()) - 1;
    effect->dispatcher(effect, effProcessEvents, 0, 0, events, 0.0f);
    fuzz::CheckSane(effect);
  }

  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  return 0;
}
