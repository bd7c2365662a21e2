#pragma once

// The part of Apple's Component Manager, Audio Unit (version 2) and
// AudioToolbox interfaces the Audio Unit wrapper uses. On macOS these are
// Apple's own headers; elsewhere these declarations of the published
// interface are implemented by the stand-ins in
// platform/linux/apple-standins/. Names, values and layouts are Apple's
// (x86-64); every size the wrapper relies on is checked at the end.
#include "wrappers/au/CoreFoundationInterface.h"

#if defined(__APPLE__)
#include <AudioToolbox/AudioToolbox.h>
#include <AudioUnit/AudioUnit.h>
#include <CoreServices/CoreServices.h>
#else

#include <cstdint>

extern "C" {

// ---- Basic types ----

typedef int32_t OSStatus;
typedef int16_t OSErr;
typedef int32_t ComponentResult;
typedef uint32_t OSType;
typedef uint32_t FourCharCode;
typedef int16_t SInt16;
typedef uint16_t UInt16;
typedef int64_t SInt64;
typedef uint64_t UInt64;
typedef float Float32;
typedef double Float64;
typedef char* Ptr;
typedef char** Handle;

typedef struct ComponentRecord* Component;
typedef struct ComponentInstanceRecord* ComponentInstance;
typedef ComponentInstance AudioComponentInstance;
typedef AudioComponentInstance AudioUnit;

typedef UInt32 AudioUnitPropertyID;
typedef UInt32 AudioUnitScope;
typedef UInt32 AudioUnitElement;
typedef UInt32 AudioUnitParameterID;
typedef UInt32 AudioUnitRenderActionFlags;
typedef UInt32 AudioUnitParameterUnit;
typedef UInt32 AudioUnitParameterOptions;
typedef UInt32 AUParameterEventType;
typedef UInt32 AudioUnitEventType;
typedef Float32 AudioUnitParameterValue;
typedef UInt32 AudioFormatID;
typedef UInt32 AudioFormatFlags;
typedef struct OpaqueAUEventListener* AUEventListenerRef;

// ---- Status values ----

enum : OSStatus
{
  noErr = 0,
  paramErr = -50,
  memFullErr = -108,
  kAudio_UnimplementedError = -4,
  kAudio_ParamError = -50,
  badComponentInstance = static_cast<OSStatus>(0x80008001),
  badComponentSelector = static_cast<OSStatus>(0x80008002),

  kAudioUnitErr_InvalidProperty = -10879,
  kAudioUnitErr_InvalidParameter = -10878,
  kAudioUnitErr_InvalidElement = -10877,
  kAudioUnitErr_NoConnection = -10876,
  kAudioUnitErr_FailedInitialization = -10875,
  kAudioUnitErr_TooManyFramesToProcess = -10874,
  kAudioUnitErr_FormatNotSupported = -10868,
  kAudioUnitErr_Uninitialized = -10867,
  kAudioUnitErr_InvalidScope = -10866,
  kAudioUnitErr_PropertyNotWritable = -10865,
  kAudioUnitErr_CannotDoInCurrentContext = -10863,
  kAudioUnitErr_InvalidPropertyValue = -10851,
  kAudioUnitErr_PropertyNotInUse = -10850,
  kAudioUnitErr_Initialized = -10849
};

// ---- Component Manager ----

struct ComponentParameters
{
  UInt8 flags;
  UInt8 paramSize;
  SInt16 what;
  UInt32 padding; // present on 64-bit only
  long params[1]; // word 0: the calling instance; the arguments from word 1
};

typedef ComponentResult (*ComponentRoutineProcPtr)(ComponentParameters* params, Handle storage);

struct ComponentDescription
{
  OSType componentType;
  OSType componentSubType;
  OSType componentManufacturer;
  UInt32 componentFlags;
  UInt32 componentFlagsMask;
};

enum : SInt16
{
  kComponentOpenSelect = -1,
  kComponentCloseSelect = -2,
  kComponentCanDoSelect = -3,
  kComponentVersionSelect = -4
};

OSErr GetComponentInfo(Component component, ComponentDescription* description, Handle name, Handle info,
                       Handle icon);
void SetComponentInstanceStorage(ComponentInstance instance, Handle storage);
Handle GetComponentInstanceStorage(ComponentInstance instance);

enum : OSType
{
  kAudioUnitType_Output = 0x61756F75,        // 'auou'
  kAudioUnitType_MusicDevice = 0x61756D75,   // 'aumu'
  kAudioUnitType_MusicEffect = 0x61756D66,   // 'aumf'
  kAudioUnitType_Effect = 0x61756678,        // 'aufx'
  kAudioUnitCarbonViewComponentType = 0x61757677 // 'auvw'
};

enum : SInt16
{
  // The legacy view component's create call: words 1-6 are the edited unit,
  // the window, the parent control, location, size and the out-control.
  kAudioUnitCarbonViewCreateSelect = 0x301
};

// ---- Selectors ----

enum : SInt16
{
  kAudioUnitInitializeSelect = 1,
  kAudioUnitUninitializeSelect = 2,
  kAudioUnitGetPropertyInfoSelect = 3,
  kAudioUnitGetPropertySelect = 4,
  kAudioUnitSetPropertySelect = 5,
  kAudioUnitGetParameterSelect = 6,
  kAudioUnitSetParameterSelect = 7,
  kAudioUnitResetSelect = 9,
  kAudioUnitAddPropertyListenerSelect = 10,
  kAudioUnitRemovePropertyListenerSelect = 11,
  kAudioUnitRenderSelect = 14,
  kAudioUnitAddRenderNotifySelect = 15,
  kAudioUnitRemoveRenderNotifySelect = 16,
  kAudioUnitScheduleParametersSelect = 17,
  kAudioUnitRemovePropertyListenerWithUserDataSelect = 18,
  kMusicDeviceMIDIEventSelect = 0x101,
  kMusicDeviceSysExSelect = 0x102,
  kMusicDevicePrepareInstrumentSelect = 0x103,
  kMusicDeviceReleaseInstrumentSelect = 0x104,
  kMusicDeviceStartNoteSelect = 0x105,
  kMusicDeviceStopNoteSelect = 0x106
};

// ---- Properties and scopes ----

enum : AudioUnitPropertyID
{
  kAudioUnitProperty_ClassInfo = 0,
  kAudioUnitProperty_MakeConnection = 1,
  kAudioUnitProperty_SampleRate = 2,
  kAudioUnitProperty_ParameterList = 3,
  kAudioUnitProperty_ParameterInfo = 4,
  kAudioUnitProperty_FastDispatch = 5,
  kAudioUnitProperty_CPULoad = 6,
  kAudioUnitProperty_StreamFormat = 8,
  kAudioUnitProperty_ElementCount = 11,
  kAudioUnitProperty_Latency = 12,
  kAudioUnitProperty_SupportedNumChannels = 13,
  kAudioUnitProperty_MaximumFramesPerSlice = 14,
  kAudioUnitProperty_ParameterValueStrings = 16,
  kAudioUnitProperty_GetUIComponentList = 18,
  kAudioUnitProperty_TailTime = 20,
  kAudioUnitProperty_BypassEffect = 21,
  kAudioUnitProperty_LastRenderError = 22,
  kAudioUnitProperty_SetRenderCallback = 23,
  kAudioUnitProperty_FactoryPresets = 24,
  kAudioUnitProperty_HostCallbacks = 27,
  kAudioUnitProperty_CurrentPreset = 28,
  kAudioUnitProperty_CocoaUI = 31,
  kAudioUnitProperty_ParameterStringFromValue = 33,
  kAudioUnitProperty_ParameterIDName = 34,
  kAudioUnitProperty_ParameterClumpName = 35,
  kAudioUnitProperty_PresentPreset = 36,
  kAudioUnitProperty_OfflineRender = 37,
  kAudioUnitProperty_ParameterValueFromString = 38,
  kAudioUnitProperty_AUHostIdentifier = 46,
  kMusicDeviceProperty_InstrumentCount = 1000
};

enum : AudioUnitScope
{
  kAudioUnitScope_Global = 0,
  kAudioUnitScope_Input = 1,
  kAudioUnitScope_Output = 2
};

// ---- Flags and units ----

enum : AudioUnitRenderActionFlags
{
  kAudioUnitRenderAction_PreRender = 1u << 2,
  kAudioUnitRenderAction_PostRender = 1u << 3,
  kAudioUnitRenderAction_OutputIsSilence = 1u << 4
};

enum : AUParameterEventType
{
  kParameterEvent_Immediate = 1,
  kParameterEvent_Ramped = 2
};

enum : AudioUnitEventType
{
  kAudioUnitEvent_ParameterValueChange = 0,
  kAudioUnitEvent_BeginParameterChangeGesture = 1,
  kAudioUnitEvent_EndParameterChangeGesture = 2,
  kAudioUnitEvent_PropertyChange = 3
};

enum : AudioUnitParameterOptions
{
  kAudioUnitParameterFlag_CFNameRelease = 1u << 4,
  kAudioUnitParameterFlag_HasCFNameString = 1u << 27,
  kAudioUnitParameterFlag_IsReadable = 1u << 30,
  kAudioUnitParameterFlag_IsWritable = 1u << 31
};

enum : AudioUnitParameterUnit
{
  kAudioUnitParameterUnit_Generic = 0,
  kAudioUnitParameterUnit_Indexed = 1,
  kAudioUnitParameterUnit_Boolean = 2,
  kAudioUnitParameterUnit_CustomUnit = 26
};

enum : SInt32
{
  kAudioUnitParameterName_Full = -1
};

enum : UInt32
{
  kAudioTimeStampSampleTimeValid = 1u << 0,
  kAudioTimeStampHostTimeValid = 1u << 1
};

enum : AudioFormatID
{
  kAudioFormatLinearPCM = 0x6C70636D // 'lpcm'
};

enum : AudioFormatFlags
{
  kAudioFormatFlagIsFloat = 1u << 0,
  kAudioFormatFlagIsBigEndian = 1u << 1,
  kAudioFormatFlagIsSignedInteger = 1u << 2,
  kAudioFormatFlagIsPacked = 1u << 3,
  kAudioFormatFlagIsNonInterleaved = 1u << 5
};

// ---- Structures ----

struct AudioStreamBasicDescription
{
  Float64 mSampleRate;
  AudioFormatID mFormatID;
  AudioFormatFlags mFormatFlags;
  UInt32 mBytesPerPacket;
  UInt32 mFramesPerPacket;
  UInt32 mBytesPerFrame;
  UInt32 mChannelsPerFrame;
  UInt32 mBitsPerChannel;
  UInt32 mReserved;
};

struct SMPTETime
{
  SInt16 mSubframes;
  SInt16 mSubframeDivisor;
  UInt32 mCounter;
  UInt32 mType;
  UInt32 mFlags;
  SInt16 mHours;
  SInt16 mMinutes;
  SInt16 mSeconds;
  SInt16 mFrames;
};

struct AudioTimeStamp
{
  Float64 mSampleTime;
  UInt64 mHostTime;
  Float64 mRateScalar;
  UInt64 mWordClockTime;
  SMPTETime mSMPTETime;
  UInt32 mFlags;
  UInt32 mReserved;
};

struct AudioBuffer
{
  UInt32 mNumberChannels;
  UInt32 mDataByteSize;
  void* mData;
};

struct AudioBufferList
{
  UInt32 mNumberBuffers;
  AudioBuffer mBuffers[1]; // really mNumberBuffers of them
};

struct AudioUnitParameterInfo
{
  char name[52];
  CFStringRef unitName;
  UInt32 clumpID;
  CFStringRef cfNameString;
  AudioUnitParameterUnit unit;
  AudioUnitParameterValue minValue;
  AudioUnitParameterValue maxValue;
  AudioUnitParameterValue defaultValue;
  AudioUnitParameterOptions flags;
};

struct AUPreset
{
  SInt32 presetNumber;
  CFStringRef presetName;
};

struct AudioUnitConnection
{
  AudioUnit sourceAudioUnit;
  UInt32 sourceOutputNumber;
  UInt32 destInputNumber;
};

typedef OSStatus (*AURenderCallback)(void* inRefCon, AudioUnitRenderActionFlags* ioActionFlags,
                                     const AudioTimeStamp* inTimeStamp, UInt32 inBusNumber, UInt32 inNumberFrames,
                                     AudioBufferList* ioData);

struct AURenderCallbackStruct
{
  AURenderCallback inputProc;
  void* inputProcRefCon;
};

typedef OSStatus (*HostCallback_GetBeatAndTempo)(void* inHostUserData, Float64* outCurrentBeat,
                                                 Float64* outCurrentTempo);
typedef OSStatus (*HostCallback_GetMusicalTimeLocation)(void* inHostUserData, UInt32* outDeltaSampleOffsetToNextBeat,
                                                        Float32* outTimeSig_Numerator,
                                                        UInt32* outTimeSig_Denominator,
                                                        Float64* outCurrentMeasureDownBeat);
typedef OSStatus (*HostCallback_GetTransportState)(void* inHostUserData, Boolean* outIsPlaying,
                                                   Boolean* outTransportStateChanged,
                                                   Float64* outCurrentSampleInTimeLine, Boolean* outIsCycling,
                                                   Float64* outCycleStartBeat, Float64* outCycleEndBeat);
typedef OSStatus (*HostCallback_GetTransportState2)(void* inHostUserData, Boolean* outIsPlaying,
                                                    Boolean* outIsRecording, Boolean* outTransportStateChanged,
                                                    Float64* outCurrentSampleInTimeLine, Boolean* outIsCycling,
                                                    Float64* outCycleStartBeat, Float64* outCycleEndBeat);

struct HostCallbackInfo
{
  void* hostUserData;
  HostCallback_GetBeatAndTempo beatAndTempoProc;
  HostCallback_GetMusicalTimeLocation musicalTimeLocationProc;
  HostCallback_GetTransportState transportStateProc;
  HostCallback_GetTransportState2 transportStateProc2;
};

struct AUChannelInfo
{
  SInt16 inChannels;
  SInt16 outChannels;
};

struct AudioUnitCocoaViewInfo
{
  CFURLRef mCocoaAUViewBundleLocation;
  CFStringRef mCocoaAUViewClass[1];
};

struct AudioUnitParameter
{
  AudioUnit mAudioUnit;
  AudioUnitParameterID mParameterID;
  AudioUnitScope mScope;
  AudioUnitElement mElement;
};

struct AudioUnitProperty
{
  AudioUnit mAudioUnit;
  AudioUnitPropertyID mPropertyID;
  AudioUnitScope mScope;
  AudioUnitElement mElement;
};

struct AudioUnitEvent
{
  AudioUnitEventType mEventType;
  union
  {
    AudioUnitParameter mParameter;
    AudioUnitProperty mProperty;
  } mArgument;
};

struct AudioUnitParameterEvent
{
  AudioUnitScope scope;
  AudioUnitElement element;
  AudioUnitParameterID parameter;
  AUParameterEventType eventType;
  union
  {
    struct
    {
      SInt32 startBufferOffset;
      UInt32 durationInFrames;
      AudioUnitParameterValue startValue;
      AudioUnitParameterValue endValue;
    } ramp;
    struct
    {
      UInt32 bufferOffset;
      AudioUnitParameterValue value;
    } immediate;
  } eventValues;
};

struct AudioUnitParameterStringFromValue
{
  AudioUnitParameterID inParamID;
  const AudioUnitParameterValue* inValue;
  CFStringRef outString;
};

struct AudioUnitParameterNameInfo
{
  AudioUnitParameterID inID;
  SInt32 inDesiredLength;
  CFStringRef outName;
};

struct AudioUnitParameterValueFromString
{
  AudioUnitParameterID inParamID;
  CFStringRef inString;
  AudioUnitParameterValue outValue;
};

struct AUNumVersion
{
  UInt8 nonRelRev;
  UInt8 stage;
  UInt8 minorAndBugRev;
  UInt8 majorRev;
};

struct AUHostIdentifier
{
  CFStringRef hostName;
  AUNumVersion hostVersion;
};

struct MusicDeviceNoteParams
{
  UInt32 argCount;
  Float32 mPitch;
  Float32 mVelocity;
};

typedef void (*AudioUnitPropertyListenerProc)(void* inRefCon, AudioUnit inUnit, AudioUnitPropertyID inID,
                                              AudioUnitScope inScope, AudioUnitElement inElement);

// Fast-dispatch functions: called with the unit's instance storage first.
typedef OSStatus (*AudioUnitGetParameterProc)(void* inComponentStorage, AudioUnitParameterID inID,
                                              AudioUnitScope inScope, AudioUnitElement inElement,
                                              AudioUnitParameterValue* outValue);
typedef OSStatus (*AudioUnitSetParameterProc)(void* inComponentStorage, AudioUnitParameterID inID,
                                              AudioUnitScope inScope, AudioUnitElement inElement,
                                              AudioUnitParameterValue inValue, UInt32 inBufferOffsetInFrames);
typedef OSStatus (*AudioUnitRenderProc)(void* inComponentStorage, AudioUnitRenderActionFlags* ioActionFlags,
                                        const AudioTimeStamp* inTimeStamp, UInt32 inOutputBusNumber,
                                        UInt32 inNumberFrames, AudioBufferList* ioData);

// ---- Functions of other units and of AudioToolbox ----

OSStatus AudioUnitGetProperty(AudioUnit unit, AudioUnitPropertyID inID, AudioUnitScope inScope,
                              AudioUnitElement inElement, void* outData, UInt32* ioDataSize);
OSStatus AudioUnitRender(AudioUnit unit, AudioUnitRenderActionFlags* ioActionFlags, const AudioTimeStamp* inTimeStamp,
                         UInt32 inOutputBusNumber, UInt32 inNumberFrames, AudioBufferList* ioData);
OSStatus AUEventListenerNotify(AUEventListenerRef inSendingListener, void* inSendingObject,
                               const AudioUnitEvent* inEvent);

} // extern "C"

#endif

#include <cstddef>

// The layouts the wrapper relies on (x86-64), checked against whichever
// declarations are in use.
static_assert(sizeof(ComponentDescription) == 20, "ComponentDescription layout");
static_assert(offsetof(ComponentParameters, what) == 2, "ComponentParameters layout");
static_assert(offsetof(ComponentParameters, params) == 8, "ComponentParameters: words from byte 8");
static_assert(sizeof(long) == 8, "parameter words are 8 bytes");
static_assert(sizeof(AudioStreamBasicDescription) == 40, "AudioStreamBasicDescription layout");
static_assert(sizeof(SMPTETime) == 24, "SMPTETime layout");
static_assert(sizeof(AudioTimeStamp) == 64, "AudioTimeStamp layout");
static_assert(offsetof(AudioTimeStamp, mFlags) == 56, "AudioTimeStamp layout");
static_assert(sizeof(AudioBuffer) == 16, "AudioBuffer layout");
static_assert(offsetof(AudioBufferList, mBuffers) == 8 && sizeof(AudioBufferList) == 24, "AudioBufferList layout");
static_assert(sizeof(AudioUnitParameterInfo) == 104, "AudioUnitParameterInfo layout");
static_assert(offsetof(AudioUnitParameterInfo, unitName) == 56 && offsetof(AudioUnitParameterInfo, cfNameString) == 72 &&
                  offsetof(AudioUnitParameterInfo, unit) == 80 && offsetof(AudioUnitParameterInfo, flags) == 96,
              "AudioUnitParameterInfo layout");
static_assert(sizeof(AUPreset) == 16 && offsetof(AUPreset, presetName) == 8, "AUPreset layout");
static_assert(sizeof(AudioUnitConnection) == 16 && offsetof(AudioUnitConnection, destInputNumber) == 12,
              "AudioUnitConnection layout");
static_assert(sizeof(AURenderCallbackStruct) == 16, "AURenderCallbackStruct layout");
static_assert(sizeof(HostCallbackInfo) >= 32 && offsetof(HostCallbackInfo, transportStateProc) == 24,
              "HostCallbackInfo layout");
static_assert(sizeof(AUChannelInfo) == 4, "AUChannelInfo layout");
static_assert(sizeof(AudioUnitCocoaViewInfo) == 16, "AudioUnitCocoaViewInfo layout");
static_assert(sizeof(AudioUnitEvent) == 32 && offsetof(AudioUnitEvent, mArgument) == 8, "AudioUnitEvent layout");
static_assert(sizeof(AudioUnitParameter) == 24, "AudioUnitParameter layout");
static_assert(sizeof(AudioUnitParameterEvent) == 32, "AudioUnitParameterEvent layout");
static_assert(sizeof(AudioUnitParameterStringFromValue) == 24, "AudioUnitParameterStringFromValue layout");
static_assert(sizeof(AudioUnitParameterNameInfo) == 16 && offsetof(AudioUnitParameterNameInfo, outName) == 8,
              "AudioUnitParameterNameInfo layout");
static_assert(sizeof(AudioUnitParameterValueFromString) == 24 &&
                  offsetof(AudioUnitParameterValueFromString, outValue) == 16,
              "AudioUnitParameterValueFromString layout");
static_assert(sizeof(AUNumVersion) == 4, "AUNumVersion layout");
static_assert(sizeof(AUHostIdentifier) == 16, "AUHostIdentifier layout");
