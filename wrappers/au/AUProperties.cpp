// The unit's properties: what AudioUnitGetPropertyInfo, AudioUnitGetProperty
// and AudioUnitSetProperty answer. [host thread, plug-in mutex held]
#include <cmath>
#include <cstring>

#include "core/IPlugEditor.h"
#include "core/NumericConversions.h"
#include "wrappers/au/CFText.h"
#include "wrappers/au/IPlugAU.h"

namespace
{
constexpr UInt32 kHostCallbacksSize = 32; // the first four fields; later SDKs add a fifth
constexpr std::size_t kHostTextSize = 256;  // host strings are read into this much at most
constexpr int kShortNameLimit = 31;

template <class T>
void Put(void* data, const T& value)
{
  std::memcpy(data, &value, sizeof value);
}

template <class T>
T Take(const void* data)
{
  T value;
  std::memcpy(&value, data, sizeof value);
  return value;
}

// A name cut to at most `limit` bytes, never inside a UTF-8 sequence.
void CutName(char* name, int limit)
{
  int n = static_cast<int>(std::strlen(name));
  if (n <= limit) return;
  n = limit;
  while (n > 0 && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80) --n;
  name[n] = '\0';
}

const IParam* ParamFromHost(const IPlugBase& plug, UInt32 id)
{
  return id < 0x80000000u ? plug.Param(static_cast<int>(id)) : nullptr;
}
} // namespace

OSStatus IPlugAU::GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* data,
                              UInt32* size, Boolean* writable)
{
  const bool global = scope == kAudioUnitScope_Global;
  switch (id)
  {
  case kAudioUnitProperty_ClassInfo:
    *size = sizeof(CFPropertyListRef);
    *writable = true;
    return data ? CopyClassInfo(static_cast<CFPropertyListRef*>(data)) : noErr;

  case kAudioUnitProperty_MakeConnection:
    if (scope != kAudioUnitScope_Global && scope != kAudioUnitScope_Input) return kAudioUnitErr_InvalidProperty;
    *size = sizeof(AudioUnitConnection);
    *writable = true;
    return noErr;

  case kAudioUnitProperty_SampleRate:
    *size = sizeof(Float64);
    *writable = true;
    if (data) Put<Float64>(data, SampleRate());
    return noErr;

  case kAudioUnitProperty_ParameterList:
  {
    const int count = global ? ParamCount() : 0;
    *size = static_cast<UInt32>(count) * sizeof(AudioUnitParameterID);
    if (data)
      for (int i = 0; i < count; ++i)
        Put<AudioUnitParameterID>(static_cast<AudioUnitParameterID*>(data) + i, static_cast<AudioUnitParameterID>(i));
    return noErr;
  }

  case kAudioUnitProperty_ParameterInfo:
    if (!global) return kAudioUnitErr_InvalidProperty;
    if (!ParamFromHost(*this, element)) return kAudioUnitErr_InvalidElement;
    *size = sizeof(AudioUnitParameterInfo);
    if (data) FillParameterInfo(static_cast<int>(element), static_cast<AudioUnitParameterInfo*>(data));
    return noErr;

  case kAudioUnitProperty_FastDispatch:
  {
    void* function = nullptr;
    if (element == static_cast<AudioUnitElement>(kAudioUnitGetParameterSelect))
      function = reinterpret_cast<void*>(&IPlugAU::FastGetParameter);
    else if (element == static_cast<AudioUnitElement>(kAudioUnitSetParameterSelect))
      function = reinterpret_cast<void*>(&IPlugAU::FastSetParameter);
    else if (element == static_cast<AudioUnitElement>(kAudioUnitRenderSelect))
      function = reinterpret_cast<void*>(&IPlugAU::FastRender);
    else
      return kAudioUnitErr_InvalidElement;
    *size = sizeof(void*);
    if (data) Put(data, function);
    return noErr;
  }

  case kAudioUnitProperty_StreamFormat:
  {
    const BusChannels* bus = Bus(scope, element);
    if (!bus) return kAudioUnitErr_InvalidProperty;
    *size = sizeof(AudioStreamBasicDescription);
    *writable = true;
    if (data)
    {
      AudioStreamBasicDescription format{};
      format.mSampleRate = SampleRate();
      format.mFormatID = kAudioFormatLinearPCM;
      format.mFormatFlags = kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked | kAudioFormatFlagIsNonInterleaved;
      format.mBytesPerPacket = 4;
      format.mFramesPerPacket = 1;
      format.mBytesPerFrame = 4;
      format.mChannelsPerFrame = static_cast<UInt32>(bus->mHostChannels >= 0 ? bus->mHostChannels : bus->mPlugChannels);
      format.mBitsPerChannel = 32;
      Put(data, format);
    }
    return noErr;
  }

  case kAudioUnitProperty_ElementCount:
    *size = sizeof(UInt32);
    if (data)
    {
      const UInt32 count = global                              ? 1u
                           : scope == kAudioUnitScope_Input  ? static_cast<UInt32>(mInputBuses.GetSize())
                           : scope == kAudioUnitScope_Output ? static_cast<UInt32>(mOutputBuses.GetSize())
                                                             : 0u;
      Put(data, count);
    }
    return noErr;

  case kAudioUnitProperty_Latency:
  case kAudioUnitProperty_TailTime: // the tail is as long as the latency
    if (!global) return kAudioUnitErr_InvalidProperty;
    *size = sizeof(Float64);
    if (data) Put<Float64>(data, SampleRate() > 0.0 ? Latency() / SampleRate() : 0.0);
    return noErr;

  case kAudioUnitProperty_SupportedNumChannels:
    if (!global) return kAudioUnitErr_InvalidProperty;
    *size = static_cast<UInt32>(ChannelIOCount()) * sizeof(AUChannelInfo);
    if (data)
      for (int i = 0; i < ChannelIOCount(); ++i)
      {
        const ChannelIO* io = ChannelIOAt(i);
        const AUChannelInfo info{static_cast<SInt16>(io->mIn), static_cast<SInt16>(io->mOut)};
        Put(static_cast<AUChannelInfo*>(data) + i, info);
      }
    return noErr;

  case kAudioUnitProperty_MaximumFramesPerSlice:
    if (!global) return kAudioUnitErr_InvalidProperty;
    *size = sizeof(UInt32);
    *writable = true;
    if (data) Put(data, static_cast<UInt32>(BlockSize()));
    return noErr;

  case kAudioUnitProperty_ParameterValueStrings:
  {
    if (!global) return kAudioUnitErr_InvalidProperty;
    const IParam* param = ParamFromHost(*this, element);
    if (!param) return kAudioUnitErr_InvalidElement;
    const bool listed = (param->Kind() == IParam::kTypeBool || param->Kind() == IParam::kTypeEnum) &&
                        param->DisplayTextCount() > 0;
    if (!listed)
    {
      *size = 0;
      return kAudioUnitErr_InvalidProperty;
    }
    *size = sizeof(CFArrayRef);
    if (data)
    {
      CFMutableArrayRef texts = CFArrayCreateMutable(kCFAllocatorDefault, param->DisplayTextCount(), &kCFTypeArrayCallBacks);
      for (int i = 0; i < param->DisplayTextCount(); ++i)
      {
        CFStringRef text = MakeCFString(param->DisplayTextFor(i));
        if (!text) continue;
        CFArrayAppendValue(texts, text);
        CFRelease(text);
      }
      Put<CFArrayRef>(data, texts);
    }
    return noErr;
  }

  case kAudioUnitProperty_GetUIComponentList:
    if (!Editor<IPlugEditor>()) return kAudioUnitErr_InvalidProperty;
    *size = sizeof(ComponentDescription);
    if (data)
    {
      ComponentDescription view{};
      view.componentType = kAudioUnitCarbonViewComponentType;
      view.componentSubType = static_cast<OSType>(UniqueCode());
      view.componentManufacturer = static_cast<OSType>(MakerCode());
      Put(data, view);
    }
    return noErr;

  case kAudioUnitProperty_BypassEffect:
    if (!global) return kAudioUnitErr_InvalidProperty;
    *size = sizeof(UInt32);
    *writable = true;
    if (data) Put<UInt32>(data, mBypassed ? 1u : 0u);
    return noErr;

  case kAudioUnitProperty_LastRenderError:
    if (!global) return kAudioUnitErr_InvalidProperty;
    *size = sizeof(OSStatus);
    if (data) Put<OSStatus>(data, noErr);
    return noErr;

  case kAudioUnitProperty_SetRenderCallback:
    if ((!global && scope != kAudioUnitScope_Input) || element >= static_cast<UInt32>(mInputBuses.GetSize()))
      return kAudioUnitErr_InvalidProperty;
    *size = sizeof(AURenderCallbackStruct);
    *writable = true;
    return noErr;

  case kAudioUnitProperty_FactoryPresets:
    *size = sizeof(CFArrayRef);
    if (data) Put(data, CopyFactoryPresets());
    return noErr;

  case kAudioUnitProperty_HostCallbacks:
    if (!global) return kAudioUnitErr_InvalidProperty;
    *size = kHostCallbacksSize;
    *writable = true;
    return noErr;

  case kAudioUnitProperty_CurrentPreset:
  case kAudioUnitProperty_PresentPreset:
    *size = sizeof(AUPreset);
    *writable = true;
    if (data)
    {
      AUPreset preset{};
      preset.presetNumber = CurrentPresetIndex();
      preset.presetName = MakeCFString(PresetName(CurrentPresetIndex()));
      Put(data, preset);
    }
    return noErr;

  case kAudioUnitProperty_CocoaUI:
  {
    if (!Editor<IPlugEditor>()) return kAudioUnitErr_InvalidProperty;
    // Without its bundle the host could not load the view: none is offered.
    CFStringRef identifier = MakeCFString(mBundleIdentifier.Get());
    CFBundleRef bundle = identifier ? CFBundleGetBundleWithIdentifier(identifier) : nullptr;
    if (identifier) CFRelease(identifier);
    if (!bundle) return kAudioUnitErr_InvalidProperty;
    *size = sizeof(AudioUnitCocoaViewInfo);
    if (data)
    {
      AudioUnitCocoaViewInfo view{};
      view.mCocoaAUViewBundleLocation = CFBundleCopyBundleURL(bundle);
      view.mCocoaAUViewClass[0] = MakeCFString(mViewClassName.Get());
      Put(data, view);
    }
    return noErr;
  }

  case kAudioUnitProperty_ParameterStringFromValue:
  {
    *size = sizeof(AudioUnitParameterStringFromValue);
    if (!data || !global) return noErr;
    AudioUnitParameterStringFromValue request = Take<AudioUnitParameterStringFromValue>(data);
    const IParam* param = ParamFromHost(*this, request.inParamID);
    if (!param) return kAudioUnitErr_InvalidParameter;
    const double value = request.inValue ? static_cast<double>(*request.inValue) : param->CurrentValue();
    // Only listed values have a text; any other value gets an empty string.
    request.outString = MakeCFString(param->DisplayTextFor(TruncToInt32(value)));
    Put(data, request);
    return noErr;
  }

  case kAudioUnitProperty_ParameterIDName:
  {
    *size = sizeof(AudioUnitParameterNameInfo);
    if (!data || !global) return noErr;
    AudioUnitParameterNameInfo request = Take<AudioUnitParameterNameInfo>(data);
    const IParam* param = ParamFromHost(*this, request.inID);
    if (!param) return kAudioUnitErr_InvalidParameter;
    char name[IParam::kNameSize];
    CopyBounded(name, param->Title());
    // Any negative length asks for no limit, as kAudioUnitParameterName_Full does.
    if (request.inDesiredLength >= 0) CutName(name, std::min<int>(request.inDesiredLength, kShortNameLimit));
    request.outName = MakeCFString(name);
    Put(data, request);
    return noErr;
  }

  case kAudioUnitProperty_ParameterValueFromString:
  {
    *size = sizeof(AudioUnitParameterValueFromString);
    if (!data || !global) return noErr;
    AudioUnitParameterValueFromString request = Take<AudioUnitParameterValueFromString>(data);
    const IParam* param = ParamFromHost(*this, request.inParamID);
    if (!param) return kAudioUnitErr_InvalidParameter;
    char text[kHostTextSize];
    if (!CFStringToUTF8(request.inString, text, sizeof text)) return kAudioUnitErr_InvalidPropertyValue;
    request.outValue = static_cast<AudioUnitParameterValue>(param->ParseValue(text));
    Put(data, request);
    return noErr;
  }

  case kMusicDeviceProperty_InstrumentCount:
    if (!global || !IsInstrument()) return kAudioUnitErr_InvalidProperty;
    *size = sizeof(UInt32);
    if (data) Put<UInt32>(data, 1u);
    return noErr;

  default: return kAudioUnitErr_InvalidProperty;
  }
}

OSStatus IPlugAU::SetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                              const void* data, UInt32 size)
{
  // Listeners hear of every attempt first, also of one that then fails.
  CallPropertyListeners(id, scope, 0);

  // Nothing is read beyond what the host says it passed.
  auto sized = [data, size](UInt32 needed) { return data && size >= needed; };

  switch (id)
  {
  case kAudioUnitProperty_ClassInfo:
    if (!sized(sizeof(CFPropertyListRef))) return kAudioUnitErr_InvalidPropertyValue;
    return RestoreClassInfo(Take<CFPropertyListRef>(data));

  case kAudioUnitProperty_MakeConnection:
    if (!sized(sizeof(AudioUnitConnection))) return kAudioUnitErr_InvalidPropertyValue;
    return MakeConnection(scope, Take<AudioUnitConnection>(data));

  case kAudioUnitProperty_SampleRate:
  {
    if (!sized(sizeof(Float64))) return kAudioUnitErr_InvalidPropertyValue;
    // A rate that is not a positive number changes nothing.
    return HostSetSampleRate(Take<Float64>(data)) ? noErr : kAudioUnitErr_InvalidPropertyValue;
  }

  case kAudioUnitProperty_StreamFormat:
    if (!sized(sizeof(AudioStreamBasicDescription))) return kAudioUnitErr_InvalidPropertyValue;
    return SetStreamFormat(scope, element, Take<AudioStreamBasicDescription>(data));

  case kAudioUnitProperty_MaximumFramesPerSlice:
  {
    if (!sized(sizeof(UInt32))) return kAudioUnitErr_InvalidPropertyValue;
    // Slices of no frames, or larger than any buffer worth sizing, are host
    // faults: refused rather than taken as something else.
    const UInt32 frames = Take<UInt32>(data);
    if (frames == 0 || frames > static_cast<UInt32>(kMaxBlockSize)) return kAudioUnitErr_InvalidPropertyValue;
    HostSetBlockSize(frames);
    return noErr;
  }

  case kAudioUnitProperty_BypassEffect:
    if (!sized(sizeof(UInt32))) return kAudioUnitErr_InvalidPropertyValue;
    mBypassed = Take<UInt32>(data) != 0;
    HostResetEngine();
    return noErr;

  case kAudioUnitProperty_SetRenderCallback:
  {
    if (scope != kAudioUnitScope_Input || element >= static_cast<UInt32>(mInputBuses.GetSize()))
      return kAudioUnitErr_InvalidProperty;
    if (!sized(sizeof(AURenderCallbackStruct))) return kAudioUnitErr_InvalidPropertyValue;
    const AURenderCallbackStruct callback = Take<AURenderCallbackStruct>(data);
    InputConnection* connection = mInputConnections.Get(static_cast<int>(element));
    *connection = InputConnection{};
    if (callback.inputProc)
    {
      connection->mCallback = callback.inputProc;
      connection->mCallbackRefCon = callback.inputProcRefCon;
    }
    AssessInputConnections();
    return noErr;
  }

  case kAudioUnitProperty_HostCallbacks:
  {
    if (scope != kAudioUnitScope_Global) return kAudioUnitErr_InvalidProperty;
    if (!sized(kHostCallbacksSize)) return kAudioUnitErr_InvalidPropertyValue;
    // Only the first four fields are read: older hosts pass no more.
    HostCallbackInfo callbacks{};
    std::memcpy(&callbacks, data, kHostCallbacksSize);
    mHostUserData = callbacks.hostUserData;
    mBeatAndTempoProc = callbacks.beatAndTempoProc;
    mMusicalTimeLocationProc = callbacks.musicalTimeLocationProc;
    mTransportStateProc = callbacks.transportStateProc;
    return noErr;
  }

  case kAudioUnitProperty_CurrentPreset:
  case kAudioUnitProperty_PresentPreset:
    if (!sized(sizeof(AUPreset))) return kAudioUnitErr_InvalidPropertyValue;
    // A number out of range changes nothing and is no error.
    HostRecallPreset(Take<AUPreset>(data).presetNumber);
    return noErr;

  case kAudioUnitProperty_OfflineRender:
    if (!sized(sizeof(UInt32))) return kAudioUnitErr_InvalidPropertyValue;
    mOfflineRender = Take<UInt32>(data) != 0;
    return noErr;

  case kAudioUnitProperty_AUHostIdentifier:
  {
    if (!sized(sizeof(AUHostIdentifier))) return kAudioUnitErr_InvalidPropertyValue;
    const AUHostIdentifier host = Take<AUHostIdentifier>(data);
    char name[kHostTextSize];
    CFStringToUTF8(host.hostName, name, sizeof name); // an unreadable name identifies no host
    SetHostKind(name, host.hostVersion.majorRev * 65536 + host.hostVersion.minorAndBugRev * 256);
    return noErr;
  }

  default: return kAudioUnitErr_InvalidProperty;
  }
}

void IPlugAU::CallPropertyListeners(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element)
{
  // By index, in the order added: a listener may remove itself (or others)
  // through the entry function while it runs.
  for (int i = 0; i < mPropertyWatchers.GetSize(); ++i)
  {
    const PropertyListener listener = *mPropertyWatchers.Get(i);
    if (listener.mID == id) listener.mCallback(listener.mUserData, mInstance, id, scope, element);
  }
}

void IPlugAU::FillParameterInfo(int paramIdx, AudioUnitParameterInfo* info) const
{
  const IParam* param = Param(paramIdx);
  std::memset(info, 0, sizeof *info);
  info->flags = kAudioUnitParameterFlag_IsWritable | kAudioUnitParameterFlag_IsReadable |
                kAudioUnitParameterFlag_HasCFNameString | kAudioUnitParameterFlag_CFNameRelease;
  CopyBounded(info->name, param->Title());
  info->cfNameString = MakeCFString(param->Title());
  if (param->Kind() == IParam::kTypeEnum)
    info->unit = kAudioUnitParameterUnit_Indexed;
  else if (param->Kind() == IParam::kTypeBool)
    info->unit = kAudioUnitParameterUnit_Boolean;
  else if (param->UnitLabel()[0])
  {
    info->unit = kAudioUnitParameterUnit_CustomUnit;
    info->unitName = MakeCFString(param->UnitLabel());
  }
  else
    info->unit = kAudioUnitParameterUnit_Generic;
  double low = 0.0, high = 0.0;
  param->Bounds(&low, &high);
  info->minValue = static_cast<AudioUnitParameterValue>(low);
  info->maxValue = static_cast<AudioUnitParameterValue>(high);
  // Hosts show this as the parameter's value when they open their view.
  info->defaultValue = static_cast<AudioUnitParameterValue>(param->CurrentValue());
}

OSStatus IPlugAU::SetStreamFormat(AudioUnitScope scope, AudioUnitElement element,
                                  const AudioStreamBasicDescription& format)
{
  BusChannels* bus = Bus(scope, element);
  if (!bus) return kAudioUnitErr_InvalidProperty;
  bus->mHostChannels = 0;
  const int channels = format.mChannelsPerFrame <= static_cast<UInt32>(bus->mPlugChannels)
                           ? static_cast<int>(format.mChannelsPerFrame)
                           : -1;
  // Render reads and writes one 32-bit float buffer per channel: an integer
  // or interleaved format would be misread, so only that is accepted.
  const bool floatBuffers = format.mFormatID == kAudioFormatLinearPCM &&
                            (format.mFormatFlags & kAudioFormatFlagIsFloat) && format.mBitsPerChannel == 32 &&
                            ((format.mFormatFlags & kAudioFormatFlagIsNonInterleaved) || channels == 1);
  const bool accepted = channels > 0 && floatBuffers && LegalFormat(scope, bus, channels);
  if (accepted)
  {
    bus->mHostChannels = channels;
    if (std::isfinite(format.mSampleRate) && format.mSampleRate > 0.0) ChangeSampleRate(format.mSampleRate);
  }
  AssessInputConnections();
  return accepted ? noErr : kAudioUnitErr_InvalidProperty;
}

OSStatus IPlugAU::MakeConnection(AudioUnitScope scope, const AudioUnitConnection& connection)
{
  if ((scope != kAudioUnitScope_Global && scope != kAudioUnitScope_Input) ||
      connection.destInputNumber >= static_cast<UInt32>(mInputBuses.GetSize()))
    return kAudioUnitErr_InvalidProperty;
  InputConnection* input = mInputConnections.Get(static_cast<int>(connection.destInputNumber));
  *input = InputConnection{};
  if (!connection.sourceAudioUnit)
  {
    AssessInputConnections();
    return noErr;
  }

  AudioStreamBasicDescription format{};
  UInt32 formatSize = sizeof format;
  OSStatus status = AudioUnitGetProperty(connection.sourceAudioUnit, kAudioUnitProperty_StreamFormat,
                                         kAudioUnitScope_Output, connection.sourceOutputNumber, &format, &formatSize);
  if (status == noErr) status = SetStreamFormat(kAudioUnitScope_Input, connection.destInputNumber, format);
  if (status == noErr)
  {
    input->mUpstreamUnit = connection.sourceAudioUnit;
    input->mUpstreamBus = connection.sourceOutputNumber;
    AudioUnitRenderProc render = nullptr;
    UInt32 renderSize = sizeof render;
    if (AudioUnitGetProperty(connection.sourceAudioUnit, kAudioUnitProperty_FastDispatch, kAudioUnitScope_Global,
                             kAudioUnitRenderSelect, &render, &renderSize) == noErr &&
        render)
    {
      input->mUpstreamRender = render;
      input->mUpstreamStorage = GetComponentInstanceStorage(connection.sourceAudioUnit);
    }
  }
  AssessInputConnections();
  return status == noErr ? noErr : kAudioUnitErr_InvalidProperty;
}
