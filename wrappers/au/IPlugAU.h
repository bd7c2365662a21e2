#pragma once

#include "core/IPlugBase.h"
#include "core/wdl/WDL_PtrList.h"
#include "core/wdl/WDL_String.h"
#include "core/wdl/WDL_TypedBuf.h"
#include "wrappers/au/AudioUnitInterface.h"

// Adapts the plug-in base to the Audio Unit (version 2) component interface:
// answers the selectors of the component's entry function, keeps the unit's
// buses, stream formats, input connections, render notifications, property
// listeners and host callbacks, renders the host's 32-bit float,
// non-interleaved audio through the base's double-precision buffers, saves
// and restores state as a class-info dictionary, publishes the factory
// presets and tells the host about parameter edits through AudioToolbox's
// event system. The effect class derives from it.
//
// Threads: the host calls selectors from its main thread and others, and
// render (selector or fast-dispatch pointer) from its real-time thread.
// Every selector but open and close, and render on both paths, holds the
// plug-in mutex for its whole duration, so none of them overlap; listeners,
// notifications, input callbacks and events are called on the calling
// thread with the mutex held.
class IPlugAU : public IPlugBase
{
public:
  // What the creation function hands the effect's constructor.
  struct InstanceInfo
  {
    const char* mBundleIdentifier; // locates the bundle for the Cocoa view
    const char* mViewClassName;    // the view factory class
  };

  // Class-info "name" values longer than this (with the terminator) match no
  // preset; the state in "data" is restored all the same.
  static constexpr int kClassInfoNameSize = 64;

  IPlugAU(InstanceInfo info, int nParams, const char* channelIOString, int nPresets, const char* effectName,
          const char* productName, const char* mfrName, int version, int uniqueID, int mfrID, int latency,
          int midiMode, bool stateChunks, bool isInstrument);
  ~IPlugAU() override;

  // The whole component entry function: open (creating the plug-in with
  // `create`) and close, and every other selector on the plug-in stored with
  // the instance. Nothing escapes it. [any host thread]
  static ComponentResult ComponentEntry(ComponentParameters* params, void* storage, IPlugAU* (*create)());
  // The legacy view component's entry function (AUViewEntry.cpp). It never
  // makes a view: 64-bit hosts take the Cocoa view factory instead.
  // [host main thread]
  static ComponentResult ViewComponentEntry(ComponentParameters* params, void* storage);

  // ---- Host operations of the base ----

  // Parameter events through AUEventListenerNotify, each for the parameter
  // in the global scope of this instance; the base's coalescing rule for
  // wheel gestures applies. [UI or host thread; takes the mutex]
  void BeginHostEdit(int paramIdx) override;
  void NotifyHostParam(int paramIdx, double normalized) override;
  void EndHostEdit(int paramIdx) override;
  void NotifyHostPreset() override {}
  // The host callbacks; only callable inside render, and their failures
  // leave the last answer in place. [audio thread, plug-in mutex held]
  int HostSamplePos() override;
  double HostTempo() override;
  void HostTimeSig(int* numerator, int* denominator) override;
  // The host application's bundle identifier, once. [host thread]
  int HostKind() override;
  void HostQuirksInit() override;
  void ResizeEditorWindow() override {}
  // Sizes the scratch buffers render lends to hosts and callbacks, then the
  // base's. [host thread, plug-in mutex held]
  void ChangeBlockSize(int nFrames) override;
  // Latency listeners hear of the change before it is stored.
  void ChangeLatency(int samples) override;
  // An Audio Unit effect sends no MIDI.
  bool SendMidiMessage(const MidiMessage&) override { return false; }
  bool SendSysExMessage(const SysExMessage&) override { return false; }

  // ---- Read access for tests and the view ----

  AudioUnit Instance() const { return mInstance; }
  bool UnitInitialised() const { return mUnitInitialised; }
  bool Bypassed() const { return mBypassed; }
  const char* ViewClassName() const { return mViewClassName.Get(); }

private:
  struct BusChannels
  {
    bool mConnected = false;
    int mHostChannels = -1; // set through the stream format; -1 unknown
    int mPlugChannels = 0;
    int mFirstPlugChannel = 0;
  };

  enum PullKind
  {
    kPullNone = 0,
    kPullFastRender = 1,
    kPullAudioUnitRender = 2,
    kPullCallback = 3
  };

  struct InputConnection
  {
    void* mUpstreamStorage = nullptr;
    AudioUnit mUpstreamUnit = nullptr;
    UInt32 mUpstreamBus = 0;
    AudioUnitRenderProc mUpstreamRender = nullptr;
    AURenderCallback mCallback = nullptr;
    void* mCallbackRefCon = nullptr;
    int mPullKind = kPullNone;
  };

  struct RenderNotifier
  {
    AURenderCallback mCallback;
    void* mRefCon;
  };

  struct PropertyListener
  {
    AudioUnitPropertyID mID;
    AudioUnitPropertyListenerProc mCallback;
    void* mUserData;
  };

  // ---- Selectors (IPlugAU.cpp) [host thread, plug-in mutex held] ----
  ComponentResult Dispatch(SInt16 selector, const long* args);
  OSStatus Initialize();
  void Uninitialize();
  void AddPropertyListener(AudioUnitPropertyID id, AudioUnitPropertyListenerProc callback, void* userData);
  void RemovePropertyListener(AudioUnitPropertyID id, AudioUnitPropertyListenerProc callback, bool matchUserData,
                              void* userData);
  void RemoveRenderNotify(AURenderCallback callback);
  OSStatus ScheduleParameters(const AudioUnitParameterEvent* events, UInt32 count);
  OSStatus MidiEvent(UInt32 status, UInt32 data1, UInt32 data2, UInt32 offset);
  OSStatus SysEx(const UInt8* data, UInt32 length);

  // ---- Parameters (IPlugAU.cpp) ----
  // [any thread; take the plug-in mutex]
  OSStatus GetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitParameterValue* value);
  OSStatus SetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitParameterValue value);
  // The fast-dispatch functions; storage is this plug-in.
  static OSStatus FastGetParameter(void* storage, AudioUnitParameterID id, AudioUnitScope scope,
                                   AudioUnitElement element, AudioUnitParameterValue* value);
  static OSStatus FastSetParameter(void* storage, AudioUnitParameterID id, AudioUnitScope scope,
                                   AudioUnitElement element, AudioUnitParameterValue value, UInt32 offset);
  static OSStatus FastRender(void* storage, AudioUnitRenderActionFlags* flags, const AudioTimeStamp* time,
                             UInt32 bus, UInt32 frames, AudioBufferList* data);
  void SendParameterEvent(AudioUnitEventType type, int paramIdx);

  // ---- Properties (AUProperties.cpp) [host thread, plug-in mutex held] ----
  // With data null only the size and the writable flag are answered.
  OSStatus GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* data,
                       UInt32* size, Boolean* writable);
  OSStatus SetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const void* data,
                       UInt32 size);
  void CallPropertyListeners(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element);
  void FillParameterInfo(int paramIdx, AudioUnitParameterInfo* info) const;
  OSStatus SetStreamFormat(AudioUnitScope scope, AudioUnitElement element, const AudioStreamBasicDescription& format);
  OSStatus MakeConnection(AudioUnitScope scope, const AudioUnitConnection& connection);
  // Factory presets as an array of AUPreset records (AUFactoryPresets.cpp).
  CFArrayRef CopyFactoryPresets() const;

  // ---- Buses and render (AURender.cpp) ----
  // [audio thread, plug-in mutex held]
  OSStatus Render(AudioUnitRenderActionFlags* flags, const AudioTimeStamp* time, UInt32 bus, UInt32 frames,
                  AudioBufferList* data);
  OSStatus PullInput(const AudioTimeStamp* time, UInt32 frames);
  void NotifyRender(AudioUnitRenderActionFlags flags, const AudioTimeStamp* time, UInt32 bus, UInt32 frames,
                    AudioBufferList* data);
  void RunBypassed(const BusChannels& output, UInt32 frames);
  // [host thread, plug-in mutex held]
  void AssessInputConnections();
  void ResetConnections();
  BusChannels* Bus(AudioUnitScope scope, AudioUnitElement element) const;
  static int HostChannelTotal(const WDL_PtrList<BusChannels>& buses, const BusChannels* excluded);
  bool LegalAtInitialisation() const;
  bool LegalFormat(AudioUnitScope scope, const BusChannels* bus, int channels) const;

  // ---- State (AUClassInfo.cpp) [host thread, plug-in mutex held] ----
  OSStatus CopyClassInfo(CFPropertyListRef* out);
  OSStatus RestoreClassInfo(CFPropertyListRef info);

  WDL_String mBundleIdentifier;
  WDL_String mViewClassName;
  AudioUnit mInstance = nullptr;
  bool mUnitInitialised = false;
  bool mBypassed = false;
  bool mOfflineRender = false; // stored for the host; nothing reads it
  double mLastRenderSampleTime = -1.0;
  double mTempo = 120.0;
  void* mHostUserData = nullptr;
  HostCallback_GetBeatAndTempo mBeatAndTempoProc = nullptr;
  HostCallback_GetMusicalTimeLocation mMusicalTimeLocationProc = nullptr;
  HostCallback_GetTransportState mTransportStateProc = nullptr;
  // Scratch the render path lends: input pulled through render callbacks,
  // output for host lists without memory. Channel c starts at c x frames.
  // [sized on the host thread; used on the audio thread; mutex held]
  WDL_TypedBuf<float> mInputScratch;
  WDL_TypedBuf<float> mOutputScratch;
  WDL_PtrList<RenderNotifier> mRenderNotifiers;
  WDL_PtrList<BusChannels> mInputBuses;
  WDL_PtrList<BusChannels> mOutputBuses;
  WDL_PtrList<InputConnection> mInputConnections;
  WDL_PtrList<PropertyListener> mPropertyWatchers;
};
