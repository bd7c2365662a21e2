// The component's entry function. Compiled into each Audio Unit target with
// the effect it builds: KESTRANE_AU_EFFECT_HEADER names the effect's header,
// KESTRANE_AU_EFFECT_CLASS its class (whose constructor takes
// IPlugAU::InstanceInfo), KESTRANE_AU_BUNDLE_ID the bundle identifier and
// KESTRANE_AU_VIEW_CLASS the Cocoa view factory class.
#include <mutex>

#include "wrappers/au/IPlugAU.h"

#include KESTRANE_AU_EFFECT_HEADER

namespace
{
// The creation function of the open selector: one creation at a time in the
// whole process, under a mutex made on first use and gone at unload.
// [any host thread]
IPlugAU* CreateEffect()
{
  static std::mutex sCreationMutex;
  std::lock_guard<std::mutex> lock(sCreationMutex);
  const IPlugAU::InstanceInfo info{KESTRANE_AU_BUNDLE_ID, KESTRANE_AU_VIEW_CLASS};
  return new KESTRANE_AU_EFFECT_CLASS(info);
}
} // namespace

// Every call the host makes on an instance: the selector in the parameter
// block, the plug-in in storage (null until open). [any host thread]
extern "C" __attribute__((visibility("default"))) ComponentResult CLS_KESTRANE_Entry(ComponentParameters* params,
                                                                                    void* storage)
{
  return IPlugAU::ComponentEntry(params, storage, CreateEffect);
}

// The legacy view component's entry, beside the unit's. [host main thread]
extern "C" __attribute__((visibility("default"))) ComponentResult CLS_KESTRANE_ViewEntry(ComponentParameters* params,
                                                                                        void* storage)
{
  return IPlugAU::ViewComponentEntry(params, storage);
}
