// The plug-in library's entry point. Compiled into each VST 2 plug-in target
// with the effect it builds: KESTRANE_VST_EFFECT_HEADER names the effect's
// header and KESTRANE_VST_EFFECT_CLASS its class, whose constructor takes
// IPlugVST::InstanceInfo.
#include "wrappers/vst/IPlugVST.h"

#include KESTRANE_VST_EFFECT_HEADER

#if defined(_WIN32)
#define KESTRANE_VST_EXPORT extern "C" __declspec(dllexport)
#else
#define KESTRANE_VST_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace
{
IPlugVST* ConstructEffect(IPlugVST::InstanceInfo info)
{
  return new KESTRANE_VST_EFFECT_CLASS(info);
}
} // namespace

// The host's first call, once per instance (also just to scan the plug-in).
// Returns the new instance's AEffect, or null. [any host thread]
KESTRANE_VST_EXPORT AEffect* VSTPluginMain(audioMasterCallback hostCallback)
{
  return IPlugVST::CreateInstance(hostCallback, ConstructEffect);
}

#if !defined(_WIN32)
// Hosts from before VST 2.4 look the entry point up as "main": the same
// function under that name. (The Windows build aliases it in its .def file.)
KESTRANE_VST_EXPORT AEffect* VSTPluginMainLegacyName(audioMasterCallback hostCallback) __asm__("main")
    __attribute__((alias("VSTPluginMain")));
#endif
