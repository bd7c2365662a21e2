#include "wrappers/au/IPlugAU.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <memory>

#include "core/HostCallGuard.h"
#include "core/NumericConversions.h"
#include "editor/IGraphics.h"
#include "wrappers/au/CFText.h"

namespace
{
// A parameter block's words: word 0 is the calling instance, the selector's
// arguments follow from word 1, each at the start of its 8 bytes.
const long* Words(const ComponentParameters* params)
{
  return reinterpret_cast<const long*>(reinterpret_cast<const char*>(params) +
                                       offsetof(ComponentParameters, params));
}

UInt32 U32(long word) { return static_cast<UInt32>(static_cast<unsigned long>(word)); }

template <class T>
T* Pointer(long word)
{
  return reinterpret_cast<T*>(word);
}

// A Float32 argument is its word's first four bytes, not a conversion.
Float32 F32(const long& word)
{
  Float32 value;
  std::memcpy(&value, &word, sizeof value);
  return value;
}

// Selectors a host may ask about with kComponentCanDoSelect. 18 is handled
// but not reported, and neither are the music-device selectors.
bool SelectorReported(SInt16 selector)
{
  switch (selector)
  {
  case kAudioUnitInitializeSelect:
  case kAudioUnitUninitializeSelect:
  case kAudioUnitGetPropertyInfoSelect:
  case kAudioUnitGetPropertySelect:
  case kAudioUnitSetPropertySelect:
  case kAudioUnitGetParameterSelect:
  case kAudioUnitSetParameterSelect:
  case kAudioUnitResetSelect:
  case kAudioUnitAddPropertyListenerSelect:
  case kAudioUnitRemovePropertyListenerSelect:
  case kAudioUnitRenderSelect:
  case kAudioUnitAddRenderNotifySelect:
  case kAudioUnitRemoveRenderNotifySelect:
  case kAudioUnitScheduleParametersSelect: return true;
  default: return false;
  }
}

// Status for an exception stopped at the host boundary (entry function and
// fast-dispatch functions): out of memory, or a failure the host can only
// see as such.
constexpr ComponentResult kFailedInEntry = memFullErr;
} // namespace

IPlugAU::IPlugAU(InstanceInfo info, int nParams, const char* channelIOString, int nPresets, const char* effectName,
                 const char* productName, const char* mfrName, int version, int uniqueID, int mfrID, int latency,
                 int midiMode, bool stateChunks, bool isInstrument)
    : IPlugBase(nParams, channelIOString, nPresets, effectName, productName, mfrName, version, uniqueID, mfrID,
                latency, midiMode, stateChunks, isInstrument)
{
  mBundleIdentifier.Set(info.mBundleIdentifier);
  mViewClassName.Set(info.mViewClassName);

  // One bus per pair of channels in each direction; a last odd channel has
  // no bus of its own.
  for (int i = 0; i < InputCount() / 2; ++i)
  {
    BusChannels* bus = mInputBuses.Add(new BusChannels);
    bus->mFirstPlugChannel = 2 * i;
    bus->mPlugChannels = std::min(2, InputCount() - 2 * i);
    mInputConnections.Add(new InputConnection);
  }
  for (int i = 0; i < OutputCount() / 2; ++i)
  {
    BusChannels* bus = mOutputBuses.Add(new BusChannels);
    bus->mFirstPlugChannel = 2 * i;
    bus->mPlugChannels = std::min(2, OutputCount() - 2 * i);
  }
  AssessInputConnections();
  ChangeBlockSize(1024);
}

IPlugAU::~IPlugAU()
{
  mRenderNotifiers.Empty(true);
  mInputBuses.Empty(true);
  mOutputBuses.Empty(true);
  mInputConnections.Empty(true);
  mPropertyWatchers.Empty(true);
}

// ---- Entry ----

ComponentResult IPlugAU::ComponentEntry(ComponentParameters* params, void* storage, IPlugAU* (*create)())
{
  if (!params)
  {
    KESTRANE_HOST_MISUSE("Audio Unit entry called without a parameter block");
    return paramErr;
  }
  const long* args = Words(params);
  const SInt16 selector = params->what;
  // Nothing may unwind into the host: an exception answers kFailedInEntry.
  return KESTRANE_GUARD_HOST_CALLBACK(kFailedInEntry, [&]() -> ComponentResult {
    switch (selector)
    {
    case kComponentOpenSelect:
    {
      AudioUnit instance = reinterpret_cast<AudioUnit>(args[1]);
      std::unique_ptr<IPlugAU> plug(create ? create() : nullptr);
      if (!plug) return memFullErr;
      plug->HostQuirksInit();
      plug->RemoveFreePresets();
      plug->mInstance = instance;
      SetComponentInstanceStorage(instance, reinterpret_cast<Handle>(plug.get()));
      plug.release();
      return noErr;
    }
    case kComponentCloseSelect:
    {
      IPlugAU* plug = static_cast<IPlugAU*>(storage);
      if (!plug) return noErr;
      plug->HostClose();
      // A view the host still shows is taken down while the plug-in is
      // whole: a pending wheel gesture ends through this wrapper, which is
      // gone by the time the base's destructor deletes the editor.
      if (IGraphics* editor = plug->Editor()) editor->CloseEditorWindow();
      {
        HostCallLock lock(plug);
        plug->ResetConnections();
      }
      // The mutex is part of the plug-in: released before the plug-in goes.
      SetComponentInstanceStorage(plug->mInstance, nullptr);
      delete plug;
      return noErr;
    }
    case kComponentCanDoSelect:
      // The selector asked about is the first argument (word 1).
      return SelectorReported(static_cast<SInt16>(args[1])) ? 1 : 0;
    default: break;
    }

    IPlugAU* plug = static_cast<IPlugAU*>(storage);
    if (!plug)
    {
      KESTRANE_HOST_MISUSE("Audio Unit selector on an instance that is not open");
      return badComponentInstance;
    }
    HostCallLock lock(plug);
    return plug->Dispatch(selector, args);
  });
}

ComponentResult IPlugAU::Dispatch(SInt16 selector, const long* args)
{
  switch (selector)
  {
  case kComponentVersionSelect: return EffectVersion(false);

  case kAudioUnitInitializeSelect: return Initialize();

  case kAudioUnitUninitializeSelect: Uninitialize(); return noErr;

  case kAudioUnitGetPropertyInfoSelect:
  {
    UInt32 sizeStandIn = 0;
    Boolean writableStandIn = false;
    UInt32* size = args[4] ? Pointer<UInt32>(args[4]) : &sizeStandIn;
    Boolean* writable = args[5] ? Pointer<Boolean>(args[5]) : &writableStandIn;
    *writable = false;
    return GetProperty(U32(args[1]), U32(args[2]), U32(args[3]), nullptr, size, writable);
  }

  case kAudioUnitGetPropertySelect:
  {
    const AudioUnitPropertyID id = U32(args[1]);
    const AudioUnitScope scope = U32(args[2]);
    const AudioUnitElement element = U32(args[3]);
    void* data = Pointer<void>(args[4]);
    UInt32* ioSize = Pointer<UInt32>(args[5]);
    constexpr UInt32 kSizeNotAnswered = 0xFFFFFFFFu;
    UInt32 size = kSizeNotAnswered;
    Boolean writable = false;
    // The size and validity first, so nothing is written into a buffer the
    // host says is too small.
    OSStatus status = GetProperty(id, scope, element, nullptr, &size, &writable);
    if (status != noErr || !data)
    {
      if (ioSize && size != kSizeNotAnswered) *ioSize = size;
      return status;
    }
    if (ioSize && *ioSize < size) return kAudioUnitErr_InvalidPropertyValue;
    status = GetProperty(id, scope, element, data, &size, &writable);
    if (ioSize) *ioSize = size;
    return status;
  }

  case kAudioUnitSetPropertySelect:
    return SetProperty(U32(args[1]), U32(args[2]), U32(args[3]), Pointer<const void>(args[4]), U32(args[5]));

  case kAudioUnitGetParameterSelect:
    return GetParameter(U32(args[1]), U32(args[2]), Pointer<AudioUnitParameterValue>(args[4]));

  case kAudioUnitSetParameterSelect: return SetParameter(U32(args[1]), U32(args[2]), F32(args[4]));

  case kAudioUnitResetSelect: HostResetEngine(); return noErr;

  case kAudioUnitAddPropertyListenerSelect:
    AddPropertyListener(U32(args[1]), reinterpret_cast<AudioUnitPropertyListenerProc>(args[2]),
                        Pointer<void>(args[3]));
    return noErr;

  case kAudioUnitRemovePropertyListenerSelect:
    RemovePropertyListener(U32(args[1]), reinterpret_cast<AudioUnitPropertyListenerProc>(args[2]),
                           false, nullptr);
    return noErr;

  case kAudioUnitRemovePropertyListenerWithUserDataSelect:
    RemovePropertyListener(U32(args[1]), reinterpret_cast<AudioUnitPropertyListenerProc>(args[2]),
                           true, Pointer<void>(args[3]));
    return noErr;

  case kAudioUnitRenderSelect:
    return Render(Pointer<AudioUnitRenderActionFlags>(args[1]), Pointer<const AudioTimeStamp>(args[2]), U32(args[3]),
                  U32(args[4]), Pointer<AudioBufferList>(args[5]));

  case kAudioUnitAddRenderNotifySelect:
  {
    AURenderCallback callback = reinterpret_cast<AURenderCallback>(args[1]);
    // A notification without a function would be called in every render.
    if (!callback) return paramErr;
    mRenderNotifiers.Add(new RenderNotifier{callback, Pointer<void>(args[2])});
    return noErr;
  }

  case kAudioUnitRemoveRenderNotifySelect:
    RemoveRenderNotify(reinterpret_cast<AURenderCallback>(args[1]));
    return noErr;

  case kAudioUnitScheduleParametersSelect:
    return ScheduleParameters(Pointer<const AudioUnitParameterEvent>(args[1]), U32(args[2]));

  case kMusicDeviceMIDIEventSelect: return MidiEvent(U32(args[1]), U32(args[2]), U32(args[3]), U32(args[4]));

  case kMusicDeviceSysExSelect: return SysEx(Pointer<const UInt8>(args[1]), U32(args[2]));

  case kMusicDevicePrepareInstrumentSelect:
  case kMusicDeviceReleaseInstrumentSelect:
  case kMusicDeviceStopNoteSelect: return noErr;

  case kMusicDeviceStartNoteSelect:
  {
    // No notes reach the plug-in; the host gets an instance number back.
    UInt32* noteInstance = Pointer<UInt32>(args[3]);
    const MusicDeviceNoteParams* note = Pointer<const MusicDeviceNoteParams>(args[5]);
    if (noteInstance && note) *noteInstance = static_cast<UInt32>(TruncToInt32(note->mPitch));
    return noErr;
  }

  default: return badComponentSelector;
  }
}

OSStatus IPlugAU::Initialize()
{
  if (!LegalAtInitialisation()) return badComponentSelector;
  mUnitInitialised = true;
  HostOpen();
  HostSetActive(true);
  return noErr;
}

void IPlugAU::Uninitialize()
{
  mUnitInitialised = false;
  HostSetActive(false);
}

void IPlugAU::AddPropertyListener(AudioUnitPropertyID id, AudioUnitPropertyListenerProc callback, void* userData)
{
  if (!callback) return;
  for (const PropertyListener* listener : mPropertyWatchers)
    if (listener->mID == id && listener->mCallback == callback) return; // the first user data stays
  mPropertyWatchers.Add(new PropertyListener{id, callback, userData});
}

void IPlugAU::RemovePropertyListener(AudioUnitPropertyID id, AudioUnitPropertyListenerProc callback,
                                     bool matchUserData, void* userData)
{
  for (int i = 0; i < mPropertyWatchers.GetSize(); ++i)
  {
    const PropertyListener* listener = mPropertyWatchers.Get(i);
    if (listener->mID == id && listener->mCallback == callback && (!matchUserData || listener->mUserData == userData))
    {
      mPropertyWatchers.Delete(i, true);
      return;
    }
  }
}

void IPlugAU::RemoveRenderNotify(AURenderCallback callback)
{
  for (int i = 0; i < mRenderNotifiers.GetSize(); ++i)
    if (mRenderNotifiers.Get(i)->mCallback == callback)
    {
      mRenderNotifiers.Delete(i, true);
      return;
    }
}

OSStatus IPlugAU::ScheduleParameters(const AudioUnitParameterEvent* events, UInt32 count)
{
  if (count > 0 && !events) return paramErr;
  for (UInt32 i = 0; i < count; ++i)
  {
    const AudioUnitParameterEvent& event = events[i];
    if (event.eventType != kParameterEvent_Immediate) continue; // ramps are not followed
    const OSStatus status = SetParameter(event.parameter, event.scope, event.eventValues.immediate.value);
    if (status != noErr) return status;
  }
  return noErr;
}

OSStatus IPlugAU::MidiEvent(UInt32 status, UInt32 data1, UInt32 data2, UInt32 offset)
{
  MidiMessage message;
  message.mFrameOffset = static_cast<int32_t>(offset);
  message.mStatusByte = static_cast<uint8_t>(status);
  message.mByte1 = static_cast<uint8_t>(data1);
  message.mByte2 = static_cast<uint8_t>(data2);
  return HostMidiIn(message) ? noErr : badComponentSelector;
}

OSStatus IPlugAU::SysEx(const UInt8* data, UInt32 length)
{
  SysExMessage message;
  const bool hasBytes = data && length > 0 && length <= 0x7FFFFFFFu;
  message.mByteCount = hasBytes ? static_cast<int32_t>(length) : 0;
  message.mData = hasBytes ? data : nullptr;
  return HostSysExIn(message) ? noErr : badComponentSelector;
}

// ---- Parameters ----

OSStatus IPlugAU::GetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitParameterValue* value)
{
  if (scope != kAudioUnitScope_Global) return kAudioUnitErr_InvalidProperty;
  const int paramIdx = id < 0x80000000u ? static_cast<int>(id) : -1;
  if (!Param(paramIdx)) return kAudioUnitErr_InvalidParameter;
  if (!value) return paramErr;
  *value = static_cast<AudioUnitParameterValue>(HostParameterValue(paramIdx));
  return noErr;
}

OSStatus IPlugAU::SetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitParameterValue value)
{
  if (scope != kAudioUnitScope_Global) return kAudioUnitErr_InvalidProperty;
  const int paramIdx = id < 0x80000000u ? static_cast<int>(id) : -1;
  return HostSetParameterValue(paramIdx, value) ? noErr : kAudioUnitErr_InvalidParameter;
}

// The fast-dispatch functions lock only for their own work (the render
// path locks in Render's caller below).
OSStatus IPlugAU::FastGetParameter(void* storage, AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement,
                                   AudioUnitParameterValue* value)
{
  if (!storage) return badComponentInstance;
  return KESTRANE_GUARD_HOST_CALLBACK(kFailedInEntry,
                                      [&]() -> OSStatus { return static_cast<IPlugAU*>(storage)->GetParameter(id, scope, value); });
}

OSStatus IPlugAU::FastSetParameter(void* storage, AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement,
                                   AudioUnitParameterValue value, UInt32)
{
  if (!storage) return badComponentInstance;
  return KESTRANE_GUARD_HOST_CALLBACK(kFailedInEntry,
                                      [&]() -> OSStatus { return static_cast<IPlugAU*>(storage)->SetParameter(id, scope, value); });
}

// [audio thread; takes the plug-in mutex]
OSStatus IPlugAU::FastRender(void* storage, AudioUnitRenderActionFlags* flags, const AudioTimeStamp* time, UInt32 bus,
                             UInt32 frames, AudioBufferList* data)
{
  if (!storage) return badComponentInstance;
  IPlugAU* plug = static_cast<IPlugAU*>(storage);
  return KESTRANE_GUARD_HOST_CALLBACK(kFailedInEntry, [&]() -> OSStatus {
    HostCallLock lock(plug);
    return plug->Render(flags, time, bus, frames, data);
  });
}

void IPlugAU::SendParameterEvent(AudioUnitEventType type, int paramIdx)
{
  HostCallLock lock(this);
  if (!Param(paramIdx)) return;
  AudioUnitEvent event{};
  event.mEventType = type;
  event.mArgument.mParameter.mAudioUnit = mInstance;
  event.mArgument.mParameter.mParameterID = static_cast<AudioUnitParameterID>(paramIdx);
  event.mArgument.mParameter.mScope = kAudioUnitScope_Global;
  event.mArgument.mParameter.mElement = 0;
  AUEventListenerNotify(nullptr, nullptr, &event);
}

// ---- Host operations ----

void IPlugAU::BeginHostEdit(int paramIdx)
{
  FlushPendingEdit();
  SendParameterEvent(kAudioUnitEvent_BeginParameterChangeGesture, paramIdx);
}

void IPlugAU::NotifyHostParam(int paramIdx, double)
{
  // The value itself is not sent: listeners read it back.
  SendParameterEvent(kAudioUnitEvent_ParameterValueChange, paramIdx);
}

void IPlugAU::EndHostEdit(int paramIdx)
{
  SendParameterEvent(kAudioUnitEvent_EndParameterChangeGesture, paramIdx);
}

int IPlugAU::HostSamplePos()
{
  if (!mTransportStateProc) return 0;
  Boolean playing = false, changed = false, cycling = false;
  Float64 sample = 0.0, cycleStart = 0.0, cycleEnd = 0.0;
  if (mTransportStateProc(mHostUserData, &playing, &changed, &sample, &cycling, &cycleStart, &cycleEnd) != noErr)
    return 0;
  // Past the range of an int the position saturates; nonsense is 0.
  if (!(sample >= 0.0)) return 0;
  return sample + 0.5 < 2147483647.0 ? static_cast<int>(sample + 0.5) : 2147483647;
}

double IPlugAU::HostTempo()
{
  if (mBeatAndTempoProc)
  {
    Float64 beat = 0.0, tempo = 0.0;
    if (mBeatAndTempoProc(mHostUserData, &beat, &tempo) == noErr && tempo > 0.0 && std::isfinite(tempo))
      mTempo = tempo;
  }
  return mTempo;
}

void IPlugAU::HostTimeSig(int* numerator, int* denominator)
{
  if (!mMusicalTimeLocationProc) return;
  UInt32 toNextBeat = 0, den = 0;
  Float32 num = 0.0f;
  Float64 downBeat = 0.0;
  if (mMusicalTimeLocationProc(mHostUserData, &toNextBeat, &num, &den, &downBeat) != noErr) return;
  if (numerator) *numerator = TruncToInt32(num);
  if (denominator) *denominator = den <= 0x7FFFFFFFu ? static_cast<int>(den) : 0;
}

int IPlugAU::HostKind()
{
  if (IPlugBase::HostKind() != -1) return IPlugBase::HostKind();
  char identifier[kHostProductSize] = {};
  CFBundleRef host = CFBundleGetMainBundle();
  if (host) CFStringToUTF8(CFBundleGetIdentifier(host), identifier, sizeof identifier);
  // Without an identifier the empty string identifies nothing: code 0.
  SetHostKind(identifier, 0);
  return IPlugBase::HostKind();
}

void IPlugAU::HostQuirksInit()
{
  HostKind();
}

void IPlugAU::ChangeBlockSize(int nFrames)
{
  nFrames = std::max(nFrames, 0);
  const int inSamples = InputCount() * nFrames;
  const int outSamples = OutputCount() * nFrames;
  if (float* in = mInputScratch.Resize(inSamples)) std::fill(in, in + inSamples, 0.0f);
  if (float* out = mOutputScratch.Resize(outSamples)) std::fill(out, out + outSamples, 0.0f);
  IPlugBase::ChangeBlockSize(nFrames);
}

void IPlugAU::ChangeLatency(int samples)
{
  // Listeners that read the latency from inside the call still see the
  // previous value.
  CallPropertyListeners(kAudioUnitProperty_Latency, kAudioUnitScope_Global, 0);
  IPlugBase::ChangeLatency(samples);
}
