// The factory presets as hosts receive them: an array of AUPreset records
// whose array callbacks retain and release each record, with its name, by
// a count of its own. The array may outlive the plug-in object, so nothing
// here refers back to it. [host thread; the callbacks on any thread]
#include <new>

#include "wrappers/au/CFText.h"
#include "wrappers/au/IPlugAU.h"

namespace
{
// An AUPreset followed by the allocator it was made with and its count.
struct FactoryPresetRecord
{
  AUPreset mPreset;
  CFAllocatorRef mAllocator;
  CFIndex mRefCount;
};
static_assert(offsetof(FactoryPresetRecord, mPreset) == 0, "hosts read the record as an AUPreset");

FactoryPresetRecord* MakeRecord(CFAllocatorRef allocator, SInt32 number, const char* name)
{
  void* memory = CFAllocatorAllocate(allocator, sizeof(FactoryPresetRecord), 0);
  if (!memory) return nullptr;
  CFStringRef text = MakeCFString(name);
  if (!text) text = MakeCFString("");
  FactoryPresetRecord* record = new (memory) FactoryPresetRecord{};
  record->mPreset.presetNumber = number;
  record->mPreset.presetName = text ? CFStringCreateCopy(allocator, text) : nullptr;
  record->mAllocator = allocator;
  record->mRefCount = 1;
  if (text) CFRelease(text);
  return record;
}

const void* RetainRecord(CFAllocatorRef, const void* value)
{
  FactoryPresetRecord* record = static_cast<FactoryPresetRecord*>(const_cast<void*>(value));
  if (record->mPreset.presetName) CFRetain(record->mPreset.presetName);
  ++record->mRefCount;
  return value;
}

void ReleaseRecord(CFAllocatorRef, const void* value)
{
  FactoryPresetRecord* record = static_cast<FactoryPresetRecord*>(const_cast<void*>(value));
  if (record->mRefCount <= 0) return;
  if (record->mPreset.presetName) CFRelease(record->mPreset.presetName);
  if (--record->mRefCount > 0) return;
  record->mPreset.presetNumber = 0;
  record->mPreset.presetName = nullptr;
  CFAllocatorDeallocate(record->mAllocator, record);
}

CFStringRef DescribeRecord(const void* value)
{
  const FactoryPresetRecord* record = static_cast<const FactoryPresetRecord*>(value);
  return CFStringCreateWithFormat(kCFAllocatorDefault, nullptr,
                                  CFSTR("AUPreset:\npreset number = %d\npreset name = %@"),
                                  static_cast<int>(record->mPreset.presetNumber), record->mPreset.presetName);
}

Boolean RecordsEqual(const void* a, const void* b)
{
  const AUPreset& x = static_cast<const FactoryPresetRecord*>(a)->mPreset;
  const AUPreset& y = static_cast<const FactoryPresetRecord*>(b)->mPreset;
  if (x.presetNumber != y.presetNumber) return false;
  if (!x.presetName || !y.presetName) return x.presetName == y.presetName;
  return CFStringCompare(x.presetName, y.presetName, 0) == kCFCompareEqualTo;
}

const CFArrayCallBacks kFactoryPresetCallBacks = {0, RetainRecord, ReleaseRecord, DescribeRecord, RecordsEqual};
} // namespace

// [host thread, plug-in mutex held]
CFArrayRef IPlugAU::CopyFactoryPresets() const
{
  CFMutableArrayRef presets = CFArrayCreateMutable(kCFAllocatorDefault, PresetCount(), &kFactoryPresetCallBacks);
  for (int i = 0; i < PresetCount(); ++i)
  {
    FactoryPresetRecord* record = MakeRecord(kCFAllocatorDefault, i, PresetName(i));
    if (!record) continue;
    CFArrayAppendValue(presets, record);
    ReleaseRecord(kCFAllocatorDefault, record); // the array holds it now
  }
  return presets;
}
