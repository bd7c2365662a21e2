#include "tests/vst/support/PluginInstance.h"

#include <cstring>

AEffect* PluginLibrary::Create(audioMasterCallback callback) const
{
  void* symbol = Symbol("VSTPluginMain");
  if (!symbol) symbol = Symbol("main");
  if (!symbol) return nullptr;
  AEffect* (*entry)(audioMasterCallback) = nullptr;
  std::memcpy(&entry, &symbol, sizeof entry);
  return entry(callback);
}

PluginInstance::PluginInstance(const PluginLibrary& library)
{
  effect = library.Create(RecordingHost::Callback);
  if (effect) host.Attach(effect);
}

PluginInstance::~PluginInstance()
{
  if (effect) Dispatch(effClose);
}

std::string PluginInstance::Text(VstInt32 opcode, VstInt32 index) const
{
  char text[256] = {};
  Dispatch(opcode, index, 0, text);
  return text;
}

void PluginInstance::OpenLikeAHost(float sampleRate, int blockSize)
{
  Dispatch(effOpen);
  Dispatch(effGetVstVersion);
  Dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
  Dispatch(effSetBlockSize, 0, blockSize);
  for (int i = 0; i < effect->numParams; ++i)
  {
    Dispatch(effCanBeAutomated, i);
    Dispatch(effGetParameterProperties, i);
    Text(effGetParamName, i);
    Text(effGetParamName, i);
  }
  Dispatch(effCanDo, 0, 0, const_cast<char*>("bypass"));
  Dispatch(effMainsChanged, 0, 1);
}
