#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tests/vst/support/RecordingHost.h"
#include "wrappers/vst/Vst2Interface.h"

// A plug-in library loaded the way the platform's hosts load one (dlopen on
// Linux, LoadLibrary on Windows: support/PluginLibrary<Platform>.cpp), then
// VSTPluginMain (or main) with the host callback, once per instance.
class PluginLibrary
{
public:
  explicit PluginLibrary(const std::string& path);
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  bool Loaded() const { return mHandle != nullptr; }
  // Why loading failed.
  const std::string& Error() const { return mError; }
  void* Symbol(const char* name) const;
  // Calls the entry point; null when the plug-in creates nothing.
  AEffect* Create(audioMasterCallback callback) const;

private:
  void* mHandle = nullptr;
  std::string mError;
};

// The names the library file exports.
std::set<std::string> ExportedNames(const std::string& path);
// What would stop the library from loading on its own beside any other
// plug-in: a runtime library it needs (Linux: libstdc++, libgcc_s; Windows:
// any DLL that is not part of Windows), a search path baked in. Empty when
// there is nothing.
std::vector<std::string> LoadingProblems(const std::string& path);

// One instance with its own recording host; closed (effClose) when it goes.
class PluginInstance
{
public:
  explicit PluginInstance(const PluginLibrary& library);
  ~PluginInstance();
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  AEffect* effect = nullptr;
  RecordingHost host;

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) const
  {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }
  std::string Text(VstInt32 opcode, VstInt32 index = 0) const;
  // Takes the instance from the library's entry point to processing, in the
  // order a Linux DAW uses.
  void OpenLikeAHost(float sampleRate, int blockSize);
};
