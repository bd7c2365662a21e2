// A small Component Manager: components registered by the harness, their
// instances with storage, GetComponentInfo, and the two calls the wrapper
// makes on other units (AudioUnitGetProperty, AudioUnitRender), delivered to
// the unit's entry function with a parameter block as a Mac would.
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "platform/linux/apple-standins/StandInHarness.h"

struct ComponentRecord
{
  ComponentDescription mDescription;
  ComponentRoutineProcPtr mEntry;
  std::string mName;
};

struct ComponentInstanceRecord
{
  ComponentRecord* mComponent;
  Handle mStorage;
};

namespace
{
// Components live for the whole process (owned here); instances until closed.
std::mutex gMutex;
std::map<const void*, std::unique_ptr<ComponentRecord>> gComponents;
std::set<const void*> gInstances;

bool IsInstance(const void* p)
{
  std::lock_guard<std::mutex> lock(gMutex);
  return gInstances.count(p) != 0;
}

bool IsComponent(const void* p)
{
  std::lock_guard<std::mutex> lock(gMutex);
  return gComponents.count(p) != 0;
}

// A parameter block with room for the longest argument list (six words).
struct ParameterBlock
{
  UInt8 flags = 0;
  UInt8 paramSize = 0;
  SInt16 what = 0;
  UInt32 padding = 0;
  long params[8] = {};
};
static_assert(offsetof(ParameterBlock, params) == offsetof(ComponentParameters, params), "parameter block layout");

long Word(const void* p) { return reinterpret_cast<long>(p); }
long Word(UInt32 v) { return static_cast<long>(v); }
} // namespace

#define CM_EXPORT extern "C" KESTRANE_STANDIN_API

CM_EXPORT OSErr GetComponentInfo(Component component, ComponentDescription* description, Handle name, Handle, Handle)
{
  // An instance may stand wherever a component is expected.
  const ComponentRecord* record = nullptr;
  if (IsInstance(component))
    record = reinterpret_cast<ComponentInstanceRecord*>(component)->mComponent;
  else if (IsComponent(component))
    record = reinterpret_cast<ComponentRecord*>(component);
  if (!record) return static_cast<OSErr>(-3000); // invalidComponentID
  if (description) *description = record->mDescription;
  (void)name; // names come as Pascal strings in handles; nothing here asks
  return 0;
}

CM_EXPORT void SetComponentInstanceStorage(ComponentInstance instance, Handle storage)
{
  if (IsInstance(instance)) instance->mStorage = storage;
}

CM_EXPORT Handle GetComponentInstanceStorage(ComponentInstance instance)
{
  return IsInstance(instance) ? instance->mStorage : nullptr;
}

CM_EXPORT OSStatus AudioUnitGetProperty(AudioUnit unit, AudioUnitPropertyID inID, AudioUnitScope inScope,
                                        AudioUnitElement inElement, void* outData, UInt32* ioDataSize)
{
  const long words[] = {Word(inID), Word(inScope), Word(inElement), Word(outData), Word(ioDataSize)};
  return StandInCallComponent(unit, kAudioUnitGetPropertySelect, words, 5);
}

CM_EXPORT OSStatus AudioUnitRender(AudioUnit unit, AudioUnitRenderActionFlags* ioActionFlags,
                                   const AudioTimeStamp* inTimeStamp, UInt32 inOutputBusNumber,
                                   UInt32 inNumberFrames, AudioBufferList* ioData)
{
  const long words[] = {Word(ioActionFlags), Word(inTimeStamp), Word(inOutputBusNumber), Word(inNumberFrames),
                        Word(ioData)};
  return StandInCallComponent(unit, kAudioUnitRenderSelect, words, 5);
}

// ---- Harness ----

Component StandInRegisterComponent(const ComponentDescription* description, ComponentRoutineProcPtr entry,
                                   const char* name)
{
  if (!description || !entry) return nullptr;
  std::unique_ptr<ComponentRecord> record(new ComponentRecord{*description, entry, name ? name : ""});
  ComponentRecord* component = record.get();
  std::lock_guard<std::mutex> lock(gMutex);
  gComponents[component] = std::move(record);
  return component;
}

OSStatus StandInOpenComponent(Component component, ComponentInstance* outInstance)
{
  if (!outInstance || !IsComponent(component)) return badComponentInstance;
  ComponentInstance instance = new ComponentInstanceRecord{component, nullptr};
  {
    std::lock_guard<std::mutex> lock(gMutex);
    gInstances.insert(instance);
  }
  const long words[] = {Word(instance)};
  const ComponentResult result = StandInCallComponent(instance, kComponentOpenSelect, words, 1);
  if (result != noErr)
  {
    {
      std::lock_guard<std::mutex> lock(gMutex);
      gInstances.erase(instance);
    }
    delete instance;
    return result;
  }
  *outInstance = instance;
  return noErr;
}

OSStatus StandInCloseComponent(ComponentInstance instance)
{
  if (!IsInstance(instance)) return badComponentInstance;
  const long words[] = {Word(instance)};
  const ComponentResult result = StandInCallComponent(instance, kComponentCloseSelect, words, 1);
  {
    std::lock_guard<std::mutex> lock(gMutex);
    gInstances.erase(instance);
  }
  delete instance;
  return result;
}

ComponentResult StandInCallComponent(ComponentInstance instance, SInt16 selector, const long* words, int wordCount)
{
  if (!IsInstance(instance) || wordCount < 0 || wordCount > 7 || (wordCount > 0 && !words))
    return badComponentInstance;
  ParameterBlock block;
  block.what = selector;
  block.paramSize = static_cast<UInt8>(wordCount * sizeof(long));
  block.params[0] = Word(instance);
  for (int i = 0; i < wordCount; ++i) block.params[i + 1] = words[i];
  return instance->mComponent->mEntry(reinterpret_cast<ComponentParameters*>(&block), instance->mStorage);
}
