// The unit's state as a class-info dictionary: what hosts store in their
// projects and hand back. [host thread, plug-in mutex held]
#include "core/ChunkBuffer.h"
#include "wrappers/au/CFText.h"
#include "wrappers/au/IPlugAU.h"

namespace
{
void SetNumber(CFMutableDictionaryRef dictionary, CFStringRef key, SInt32 value)
{
  CFNumberRef number = CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &value);
  if (!number) return;
  CFDictionarySetValue(dictionary, key, number);
  CFRelease(number);
}

// False when the key is missing or holds anything but a number that is a
// 32-bit integer.
bool GetNumber(CFDictionaryRef dictionary, CFStringRef key, SInt32* value)
{
  CFTypeRef number = CFDictionaryGetValue(dictionary, key);
  if (!number || CFGetTypeID(number) != CFNumberGetTypeID()) return false;
  return CFNumberGetValue(static_cast<CFNumberRef>(number), kCFNumberSInt32Type, value);
}
} // namespace

OSStatus IPlugAU::CopyClassInfo(CFPropertyListRef* out)
{
  ComponentDescription unit{};
  const OSErr error = GetComponentInfo(reinterpret_cast<Component>(mInstance), &unit, nullptr, nullptr, nullptr);
  if (error != 0) return error;

  CFMutableDictionaryRef info = CFDictionaryCreateMutable(kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks,
                                                          &kCFTypeDictionaryValueCallBacks);
  SetNumber(info, CFSTR("version"), EffectVersion(false));
  SetNumber(info, CFSTR("type"), static_cast<SInt32>(unit.componentType));
  SetNumber(info, CFSTR("subtype"), static_cast<SInt32>(unit.componentSubType));
  SetNumber(info, CFSTR("manufacturer"), static_cast<SInt32>(unit.componentManufacturer));
  if (CFStringRef name = MakeCFString(PresetName(CurrentPresetIndex())))
  {
    CFDictionarySetValue(info, CFSTR("name"), name);
    CFRelease(name);
  }

  ChunkBuffer chunk;
  // Parameters alone are always saved; a chunk-state plug-in may decline.
  if (HostSaveState(&chunk) || !UsesChunks())
  {
    CFDataRef data = CFDataCreate(kCFAllocatorDefault, chunk.Bytes(), chunk.Length());
    if (data)
    {
      CFDictionarySetValue(info, CFSTR("data"), data);
      CFRelease(data);
    }
  }
  *out = info;
  return noErr;
}

OSStatus IPlugAU::RestoreClassInfo(CFPropertyListRef info)
{
  ComponentDescription unit{};
  const OSErr error = GetComponentInfo(reinterpret_cast<Component>(mInstance), &unit, nullptr, nullptr, nullptr);
  if (error != 0) return error;
  if (!info || CFGetTypeID(info) != CFDictionaryGetTypeID()) return kAudioUnitErr_InvalidPropertyValue;
  CFDictionaryRef dictionary = static_cast<CFDictionaryRef>(info);

  // The version is read but not compared: every version's state loads.
  SInt32 version = 0, type = 0, subtype = 0, manufacturer = 0;
  CFTypeRef name = CFDictionaryGetValue(dictionary, CFSTR("name"));
  if (!GetNumber(dictionary, CFSTR("version"), &version) || !GetNumber(dictionary, CFSTR("type"), &type) ||
      !GetNumber(dictionary, CFSTR("subtype"), &subtype) ||
      !GetNumber(dictionary, CFSTR("manufacturer"), &manufacturer) || !name ||
      CFGetTypeID(name) != CFStringGetTypeID())
    return kAudioUnitErr_InvalidPropertyValue;
  if (static_cast<OSType>(type) != unit.componentType || static_cast<OSType>(subtype) != unit.componentSubType ||
      static_cast<OSType>(manufacturer) != unit.componentManufacturer)
    return kAudioUnitErr_InvalidPropertyValue;

  // A name that does not fit matches no preset; the state below still loads.
  char presetName[kClassInfoNameSize];
  if (CFStringToUTF8(name, presetName, sizeof presetName)) RecallPresetNamed(presetName);

  CFTypeRef data = CFDictionaryGetValue(dictionary, CFSTR("data"));
  if (!data || CFGetTypeID(data) != CFDataGetTypeID()) return kAudioUnitErr_InvalidPropertyValue;
  const CFIndex length = CFDataGetLength(static_cast<CFDataRef>(data));
  if (length < 0 || length > 0x7FFFFFFF) return kAudioUnitErr_InvalidPropertyValue;
  ChunkBuffer chunk;
  const UInt8* bytes = CFDataGetBytePtr(static_cast<CFDataRef>(data));
  if (length > 0 && bytes) chunk.WriteBytes(bytes, static_cast<int>(length));
  // A state that ends early is a failure, though what it held is applied.
  // (The editor's controls follow a state that loads.)
  return HostLoadState(&chunk, 0) > 0 ? noErr : kAudioUnitErr_InvalidPropertyValue;
}
