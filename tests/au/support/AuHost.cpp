#include "tests/au/support/AuHost.h"

#include <dlfcn.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

long FloatWord(Float32 value)
{
  long word = 0;
  std::memcpy(&word, &value, sizeof value);
  return word;
}

AudioStreamBasicDescription FloatFormat(double rateHz, UInt32 channels)
{
  AudioStreamBasicDescription format{};
  format.mSampleRate = rateHz;
  format.mFormatID = kAudioFormatLinearPCM;
  format.mFormatFlags = 0x29;
  format.mBytesPerPacket = 4;
  format.mFramesPerPacket = 1;
  format.mBytesPerFrame = 4;
  format.mChannelsPerFrame = channels;
  format.mBitsPerChannel = 32;
  return format;
}

AudioTimeStamp SampleTime(double sampleTime)
{
  AudioTimeStamp time{};
  time.mSampleTime = sampleTime;
  time.mFlags = kAudioTimeStampSampleTimeValid;
  return time;
}

float TestInput(int channel, long frame)
{
  const double t = static_cast<double>(frame) / 48000.0;
  return static_cast<float>(0.4 * std::sin(2 * M_PI * (220.0 + 110.0 * channel) * t) +
                            0.2 * std::sin(2 * M_PI * 3137.0 * t + channel) + 0.1 * std::sin(frame * 0.7 * (channel + 1)));
}

BufferList::BufferList(int channels, UInt32 frames, bool withMemory)
{
  mSamples.assign(static_cast<std::size_t>(channels) * frames, 0.0f);
  List()->mNumberBuffers = static_cast<UInt32>(channels);
  for (int k = 0; k < channels; ++k)
  {
    AudioBuffer& buffer = List()->mBuffers[k];
    buffer.mNumberChannels = 1;
    buffer.mDataByteSize = frames * 4;
    buffer.mData = withMemory ? mSamples.data() + static_cast<std::size_t>(k) * frames : nullptr;
  }
}

AuUnit::AuUnit(Component component)
{
  if (StandInOpenComponent(component, &unit) != noErr) unit = nullptr;
}

AuUnit::~AuUnit()
{
  if (unit) StandInCloseComponent(unit);
}

ComponentResult AuUnit::Call(SInt16 selector, std::initializer_list<long> words)
{
  return StandInCallComponent(unit, selector, words.begin(), static_cast<int>(words.size()));
}

OSStatus AuUnit::GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, UInt32* size,
                                 Boolean* writable)
{
  return Call(kAudioUnitGetPropertyInfoSelect, {Word(id), Word(scope), Word(element), Word(size), Word(writable)});
}

OSStatus AuUnit::GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* data,
                             UInt32* size)
{
  return Call(kAudioUnitGetPropertySelect, {Word(id), Word(scope), Word(element), Word(data), Word(size)});
}

OSStatus AuUnit::SetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const void* data,
                             UInt32 size)
{
  return Call(kAudioUnitSetPropertySelect, {Word(id), Word(scope), Word(element), Word(data), Word(size)});
}

OSStatus AuUnit::SetParameter(UInt32 id, Float32 value, AudioUnitScope scope)
{
  return Call(kAudioUnitSetParameterSelect, {Word(id), Word(scope), Word(0u), FloatWord(value), Word(0u)});
}

OSStatus AuUnit::GetParameter(UInt32 id, Float32* value, AudioUnitScope scope)
{
  return Call(kAudioUnitGetParameterSelect, {Word(id), Word(scope), Word(0u), Word(value)});
}

OSStatus AuUnit::Midi(UInt32 status, UInt32 data1, UInt32 data2, UInt32 offset)
{
  return Call(kMusicDeviceMIDIEventSelect, {Word(status), Word(data1), Word(data2), Word(offset)});
}

OSStatus AuUnit::Render(double sampleTime, UInt32 frames, AudioBufferList* list, UInt32 bus)
{
  AudioUnitRenderActionFlags flags = 0;
  const AudioTimeStamp time = SampleTime(sampleTime);
  return Call(kAudioUnitRenderSelect, {Word(&flags), Word(&time), Word(bus), Word(frames), Word(list)});
}

OSStatus AuUnit::OpenLikeAHost(double rateHz, UInt32 maxFrames)
{
  const AudioStreamBasicDescription stereo = FloatFormat(rateHz, 2);
  OSStatus status = Set(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, stereo);
  if (status == noErr) status = Set(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, stereo);
  if (status == noErr) status = Set(kAudioUnitProperty_SampleRate, kAudioUnitScope_Global, 0, rateHz);
  if (status == noErr) status = Set(kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, maxFrames);
  if (status == noErr) status = Call(kAudioUnitInitializeSelect);
  return status;
}

namespace
{
OSType CodeFromText(const std::string& code)
{
  OSType value = 0;
  for (std::size_t i = 0; i < 4; ++i)
    value = (value << 8) | static_cast<unsigned char>(i < code.size() ? code[i] : ' ');
  return value;
}

// The <string> after <key>name</key> inside the plist's component entry.
std::string PlistString(const std::string& plist, const std::string& key)
{
  const std::string entry = plist.substr(std::min(plist.find("<key>KestraneComponent</key>"), plist.size()));
  const std::size_t at = entry.find("<key>" + key + "</key>");
  if (at == std::string::npos) return "";
  const std::size_t open = entry.find("<string>", at);
  const std::size_t close = entry.find("</string>", open);
  if (open == std::string::npos || close == std::string::npos) return "";
  return entry.substr(open + 8, close - open - 8);
}
} // namespace

ComponentDescription BundleDescription(const std::string& infoPlistPath)
{
  std::ifstream file(infoPlistPath);
  std::stringstream text;
  text << file.rdbuf();
  ComponentDescription description{};
  description.componentType = CodeFromText(PlistString(text.str(), "type"));
  description.componentSubType = CodeFromText(PlistString(text.str(), "subtype"));
  description.componentManufacturer = CodeFromText(PlistString(text.str(), "manufacturer"));
  return description;
}

namespace
{
// An entry function of a library loaded once per process and never unloaded,
// as hosts keep components; null when the library or the name is missing.
ComponentRoutineProcPtr BundleEntry(const std::string& libraryPath, const char* name)
{
  void* library = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  void* symbol = library ? dlsym(library, name) : nullptr;
  ComponentRoutineProcPtr entry = nullptr;
  if (symbol) std::memcpy(&entry, &symbol, sizeof entry);
  return entry;
}
} // namespace

Component LoadBundleComponent(const std::string& libraryPath, const std::string& infoPlistPath)
{
  static std::mutex mutex;
  static std::map<std::string, Component> loaded;
  std::lock_guard<std::mutex> lock(mutex);
  Component& component = loaded[libraryPath];
  if (component) return component;
  ComponentRoutineProcPtr entry = BundleEntry(libraryPath, "CLS_KESTRANE_Entry");
  if (!entry) return nullptr;
  const ComponentDescription description = BundleDescription(infoPlistPath);
  component = StandInRegisterComponent(&description, entry, "Kestrane");
  return component;
}

Component LoadBundleViewComponent(const std::string& libraryPath)
{
  static std::mutex mutex;
  static std::map<std::string, Component> loaded;
  std::lock_guard<std::mutex> lock(mutex);
  Component& component = loaded[libraryPath];
  if (component) return component;
  ComponentRoutineProcPtr entry = BundleEntry(libraryPath, "CLS_KESTRANE_ViewEntry");
  if (!entry) return nullptr;
  const ComponentDescription description{kAudioUnitCarbonViewComponentType, 0, 0, 0, 0};
  component = StandInRegisterComponent(&description, entry, "Kestrane View");
  return component;
}
