#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/linux/apple-standins/StandInHarness.h"

// A host's side of the Audio Unit component interface, over the stand-in
// Component Manager: every call goes to the unit's entry function as a
// parameter block (word 0 the instance, the arguments from word 1).

// Parameter-block words: a 32-bit argument, a pointer, or a Float32 in its
// word's first four bytes.
inline long Word(UInt32 value) { return static_cast<long>(value); }
inline long Word(const void* pointer) { return reinterpret_cast<long>(pointer); }
long FloatWord(Float32 value);

// 32-bit float, non-interleaved linear PCM (flags 0x29).
AudioStreamBasicDescription FloatFormat(double rateHz, UInt32 channels);
AudioTimeStamp SampleTime(double sampleTime);

// The deterministic test signal upstream units and callbacks deliver.
float TestInput(int channel, long frame);

// A buffer list with its own memory, one channel per buffer.
class BufferList
{
public:
  BufferList(int channels, UInt32 frames, bool withMemory = true);
  // Reached through a pointer into the storage: the list's trailing array
  // is open-ended.
  AudioBufferList* List() { return reinterpret_cast<AudioBufferList*>(mStorage); }
  float* Channel(int k) { return static_cast<float*>(List()->mBuffers[k].mData); }

private:
  alignas(AudioBufferList) unsigned char mStorage[sizeof(AudioBufferList) + 7 * sizeof(AudioBuffer)] = {};
  std::vector<float> mSamples;
};

// One open instance; closed when it goes.
class AuUnit
{
public:
  explicit AuUnit(Component component);
  ~AuUnit();
  AuUnit(const AuUnit&) = delete;
  AuUnit& operator=(const AuUnit&) = delete;

  bool Opened() const { return unit != nullptr; }
  void* Storage() const { return GetComponentInstanceStorage(unit); }

  ComponentResult Call(SInt16 selector, std::initializer_list<long> words = {});
  OSStatus GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, UInt32* size,
                           Boolean* writable);
  OSStatus GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* data,
                       UInt32* size);
  OSStatus SetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const void* data,
                       UInt32 size);
  template <class T>
  OSStatus Get(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, T* value)
  {
    UInt32 size = sizeof(T);
    return GetProperty(id, scope, element, value, &size);
  }
  template <class T>
  OSStatus Set(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const T& value)
  {
    return SetProperty(id, scope, element, &value, sizeof(T));
  }
  OSStatus SetParameter(UInt32 id, Float32 value, AudioUnitScope scope = kAudioUnitScope_Global);
  OSStatus GetParameter(UInt32 id, Float32* value, AudioUnitScope scope = kAudioUnitScope_Global);
  OSStatus Midi(UInt32 status, UInt32 data1, UInt32 data2, UInt32 offset = 0);
  OSStatus Render(double sampleTime, UInt32 frames, AudioBufferList* list, UInt32 bus = 0);
  // Stereo formats on both buses, rate, largest slice, then initialise.
  OSStatus OpenLikeAHost(double rateHz, UInt32 maxFrames);

  AudioUnit unit = nullptr;
};

// The description the built bundle's Info.plist gives its component.
ComponentDescription BundleDescription(const std::string& infoPlistPath);

// A component whose entry function lives in a library loaded as a host loads
// a plug-in (dlopen, then the entry by name); loaded and registered once per
// process and never unloaded, as hosts keep components.
Component LoadBundleComponent(const std::string& libraryPath, const std::string& infoPlistPath);
// The same library's legacy view component (CLS_KESTRANE_ViewEntry).
Component LoadBundleViewComponent(const std::string& libraryPath);
