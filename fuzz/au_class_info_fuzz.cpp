// Restores Audio Unit class info from arbitrary dictionaries: random keys,
// value types (numbers, strings, data, arrays, dictionaries) and data bytes,
// set through the entry function as a host sets it. Any input must give a
// defined result: every parameter inside its range, a state that saves
// again, and no Core Foundation object left behind.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string>

#include "effect/Kestrane.h"
#include "platform/linux/apple-standins/StandInHarness.h"

namespace
{
// Reads the fuzzer's bytes front to back; zeros once they run out.
class Bytes
{
public:
  Bytes(const uint8_t* data, std::size_t size) : mData(data), mSize(size) {}
  bool Empty() const { return mPos >= mSize; }
  uint8_t Byte() { return mPos < mSize ? mData[mPos++] : 0; }
  uint32_t Word()
  {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | Byte();
    return v;
  }
  std::string Text(std::size_t maxLength)
  {
    std::string text;
    const std::size_t n = Byte() % (maxLength + 1);
    for (std::size_t i = 0; i < n && !Empty(); ++i) text += static_cast<char>(Byte() | 1); // no NUL inside
    return text;
  }

private:
  const uint8_t* mData;
  std::size_t mSize;
  std::size_t mPos = 0;
};

const ComponentDescription kDescription{0x61756D66 /* 'aumf' */, 0x796A6A33, 0x4F6C7644 /* 'OlvD' */, 0, 0};

ComponentResult Entry(ComponentParameters* params, Handle storage)
{
  return IPlugAU::ComponentEntry(params, storage, [] {
    return static_cast<IPlugAU*>(new CLS_KESTRANE({"com.olvendu.audiounit.Kestrane", "CLS_KESTRANE_View"}));
  });
}

ComponentResult Call(AudioUnit unit, SInt16 selector, std::initializer_list<long> words)
{
  return StandInCallComponent(unit, selector, words.begin(), static_cast<int>(words.size()));
}

CFTypeRef MakeValue(Bytes& in, const char* key)
{
  switch (in.Byte() % 8)
  {
  case 0:
  case 1:
  {
    // Mostly the values this unit writes, so the later checks are reached.
    const std::string k = key;
    SInt32 v = static_cast<SInt32>(in.Word());
    if (in.Byte() % 4 != 0)
      v = k == "type" ? 0x61756D66 : k == "subtype" ? 0x796A6A33 : k == "manufacturer" ? 0x4F6C7644 : 0x10100;
    return CFNumberCreate(nullptr, kCFNumberSInt32Type, &v);
  }
  case 2:
  {
    const double v = static_cast<double>(static_cast<int32_t>(in.Word())) / (1 + in.Byte());
    return CFNumberCreate(nullptr, kCFNumberFloat64Type, &v);
  }
  case 3: return CFStringCreateWithCString(nullptr, in.Text(80).c_str(), kCFStringEncodingUTF8);
  case 4:
  case 5:
  {
    // State bytes: often whole doubles, sometimes cut short or over long.
    std::string bytes;
    const std::size_t n = in.Byte() % 3 == 0 ? in.Byte() : 192 + in.Byte() % 9 - 4;
    for (std::size_t i = 0; i < n; ++i) bytes += static_cast<char>(in.Byte());
    return CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(bytes.data()), static_cast<CFIndex>(bytes.size()));
  }
  case 6: return CFArrayCreate(nullptr, nullptr, 0, &kCFTypeArrayCallBacks);
  default: return CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
  }
}

void Check(bool ok)
{
  if (!ok) std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
  static Component component = StandInRegisterComponent(&kDescription, Entry, "Kestrane");
  static AudioUnit unit = [] {
    AudioUnit u = nullptr;
    Check(StandInOpenComponent(component, &u) == noErr);
    return u;
  }();
  const long live = StandInLiveCFObjects();

  Bytes in(data, size);
  CFMutableDictionaryRef info =
      CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
  static const char* const kKeys[] = {"version", "type", "subtype", "manufacturer", "name", "data"};
  for (int entries = in.Byte() % 10; entries > 0 && !in.Empty(); --entries)
  {
    const uint8_t which = in.Byte();
    const std::string key = which < 224 ? kKeys[which % 6] : in.Text(12);
    CFStringRef keyString = CFStringCreateWithCString(nullptr, key.c_str(), kCFStringEncodingUTF8);
    CFTypeRef value = MakeValue(in, key.c_str());
    if (keyString && value) CFDictionarySetValue(info, keyString, value);
    if (keyString) CFRelease(keyString);
    if (value) CFRelease(value);
  }

  const CFPropertyListRef restored = info;
  Call(unit, kAudioUnitSetPropertySelect,
       {static_cast<long>(kAudioUnitProperty_ClassInfo), 0, 0, reinterpret_cast<long>(&restored),
        static_cast<long>(sizeof restored)});
  CFRelease(info);

  IPlugAU* plug = static_cast<IPlugAU*>(static_cast<void*>(GetComponentInstanceStorage(unit)));
  for (int i = 0; i < plug->ParamCount(); ++i)
  {
    double low = 0, high = 0;
    plug->Param(i)->Bounds(&low, &high);
    const double v = plug->Param(i)->CurrentValue();
    Check(v >= low && v <= high);
  }
  Check(plug->CurrentPresetIndex() >= 0 && plug->CurrentPresetIndex() < plug->PresetCount());

  CFPropertyListRef saved = nullptr;
  UInt32 savedSize = sizeof saved;
  Check(Call(unit, kAudioUnitGetPropertySelect,
             {static_cast<long>(kAudioUnitProperty_ClassInfo), 0, 0, reinterpret_cast<long>(&saved),
              reinterpret_cast<long>(&savedSize)}) == noErr);
  Check(saved != nullptr);
  CFRelease(saved);
  Check(StandInLiveCFObjects() == live);
  return 0;
}
