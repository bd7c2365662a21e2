#pragma once

#include <memory>
#include <string>

#include "tests/vst/support/RecordingHost.h"
#include "wrappers/vst/Vst2Interface.h"

// A plug-in library loaded the way Linux hosts load one: dlopen, then
// VSTPluginMain (or main) with the host callback, once per instance.
class PluginLibrary
{
public:
  explicit PluginLibrary(const std::string& path);
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  bool Loaded() const { return mHandle != nullptr; }
  void* Symbol(const char* name) const;
  // Calls the entry point; null when the plug-in creates nothing.
  AEffect* Create(audioMasterCallback callback) const;

private:
  void* mHandle = nullptr;
};

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
