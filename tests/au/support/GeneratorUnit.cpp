#include "tests/au/support/GeneratorUnit.h"

#include <cstring>

namespace
{
const long* Words(ComponentParameters* params)
{
  return reinterpret_cast<const long*>(reinterpret_cast<const char*>(params) + offsetof(ComponentParameters, params));
}

OSStatus RenderGenerator(void* storage, AudioUnitRenderActionFlags*, const AudioTimeStamp* time, UInt32 bus,
                         UInt32 frames, AudioBufferList* data)
{
  GeneratorState* state = static_cast<GeneratorState*>(storage);
  if (!state || !time || !data || bus != 0 || frames > 8192) return kAudioUnitErr_InvalidPropertyValue;
  ++state->renders;
  for (UInt32 k = 0; k < data->mNumberBuffers && k < 2; ++k)
  {
    AudioBuffer& buffer = data->mBuffers[k];
    if (!buffer.mData) buffer.mData = state->samples[k];
    float* out = static_cast<float*>(buffer.mData);
    for (UInt32 s = 0; s < frames; ++s) out[s] = TestInput(static_cast<int>(k), static_cast<long>(time->mSampleTime) + s);
  }
  return noErr;
}

ComponentResult GeneratorEntry(ComponentParameters* params, Handle storage)
{
  const long* args = Words(params);
  GeneratorState* state = reinterpret_cast<GeneratorState*>(storage);
  switch (params->what)
  {
  case kComponentOpenSelect:
    SetComponentInstanceStorage(reinterpret_cast<AudioUnit>(args[1]), reinterpret_cast<Handle>(new GeneratorState));
    return noErr;
  case kComponentCloseSelect: delete state; return noErr;
  case kAudioUnitGetPropertySelect:
  {
    const UInt32 id = static_cast<UInt32>(args[1]);
    void* data = reinterpret_cast<void*>(args[4]);
    if (id == kAudioUnitProperty_StreamFormat && static_cast<UInt32>(args[2]) == kAudioUnitScope_Output)
    {
      const AudioStreamBasicDescription format = FloatFormat(48000.0, 2);
      std::memcpy(data, &format, sizeof format);
      return noErr;
    }
    if (id == kAudioUnitProperty_FastDispatch && static_cast<UInt32>(args[3]) == kAudioUnitRenderSelect &&
        state->offerFastRender)
    {
      AudioUnitRenderProc render = RenderGenerator;
      std::memcpy(data, &render, sizeof render);
      return noErr;
    }
    return kAudioUnitErr_InvalidProperty;
  }
  case kAudioUnitRenderSelect:
    return RenderGenerator(state, reinterpret_cast<AudioUnitRenderActionFlags*>(args[1]),
                           reinterpret_cast<const AudioTimeStamp*>(args[2]), static_cast<UInt32>(args[3]),
                           static_cast<UInt32>(args[4]), reinterpret_cast<AudioBufferList*>(args[5]));
  default: return badComponentSelector;
  }
}
} // namespace

Component GeneratorComponent()
{
  static const ComponentDescription description{0x6175676E /* 'augn' */, 0x67656E20 /* 'gen ' */, 0x54657374, 0, 0};
  static Component component = StandInRegisterComponent(&description, GeneratorEntry, "Generator");
  return component;
}

GeneratorState* Generator(AudioUnit unit)
{
  return reinterpret_cast<GeneratorState*>(GetComponentInstanceStorage(unit));
}
