// The Audio Unit wrapper driven as an Audio Unit host drives it: every call
// through the component's entry function as a parameter block, over the
// stand-in Component Manager. The effect is Kestrane itself, in process,
// with its engine resets counted.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "effect/Kestrane.h"
#include "tests/au/support/AuHost.h"
#include "tests/au/support/GeneratorUnit.h"
#include "wrappers/au/CFText.h"

namespace
{
class ProbeKestrane : public CLS_KESTRANE
{
public:
  using CLS_KESTRANE::CLS_KESTRANE;
  void ResetEngine() override
  {
    ++resets;
    CLS_KESTRANE::ResetEngine();
  }
  int resets = 0;
};

ComponentResult ProbeEntry(ComponentParameters* params, Handle storage)
{
  return IPlugAU::ComponentEntry(params, storage, [] {
    return static_cast<IPlugAU*>(new ProbeKestrane({"com.olvendu.audiounit.Kestrane", "CLS_KESTRANE_View"}));
  });
}

Component ProbeComponent()
{
  static const ComponentDescription description = BundleDescription(KESTRANE_AU_INFO_PLIST);
  static Component component = StandInRegisterComponent(&description, ProbeEntry, "Kestrane");
  return component;
}

std::string Text(CFTypeRef string)
{
  char text[256];
  return CFStringToUTF8(string, text, sizeof text) ? text : "<not a string>";
}

// Property listener and render callbacks that log into what their
// reference value points at.
struct Log
{
  std::vector<UInt32> properties;
  int calls = 0;
};

void Listener(void* refCon, AudioUnit, AudioUnitPropertyID id, AudioUnitScope, AudioUnitElement)
{
  static_cast<Log*>(refCon)->properties.push_back(id);
}

OSStatus CountingNotify(void* refCon, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32,
                        AudioBufferList*)
{
  ++static_cast<Log*>(refCon)->calls;
  return noErr;
}

OSStatus TestInputCallback(void* refCon, AudioUnitRenderActionFlags*, const AudioTimeStamp* time, UInt32, UInt32 frames,
                           AudioBufferList* data)
{
  ++static_cast<Log*>(refCon)->calls;
  for (UInt32 k = 0; k < data->mNumberBuffers; ++k)
    for (UInt32 s = 0; s < frames; ++s)
      static_cast<float*>(data->mBuffers[k].mData)[s] = TestInput(static_cast<int>(k), static_cast<long>(time->mSampleTime) + s);
  return noErr;
}

// Every test ends with no Core Foundation object or preset record alive.
class NoLiveCFObjects : public ::testing::Environment
{
  void TearDown() override
  {
    EXPECT_EQ(StandInLiveCFObjects(), 0);
    EXPECT_EQ(StandInLiveCFBlocks(), 0);
  }
};
const auto* const kLeakCheck = ::testing::AddGlobalTestEnvironment(new NoLiveCFObjects);

class AuWrapperTest : public ::testing::Test
{
protected:
  ProbeKestrane* Plug() { return static_cast<ProbeKestrane*>(static_cast<IPlugAU*>(unit.Storage())); }

  void ConnectInputCallback(Log* log)
  {
    const AURenderCallbackStruct callback{TestInputCallback, log};
    ASSERT_EQ(noErr, unit.Set(kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, 0, callback));
  }

  AuUnit unit{ProbeComponent()};
};

TEST_F(AuWrapperTest, OpensWithTwentyFourPresetsAndReportsItsIdentity)
{
  ASSERT_TRUE(unit.Opened());
  EXPECT_EQ(Plug()->PresetCount(), 24);
  EXPECT_EQ(Plug()->Instance(), unit.unit);
  EXPECT_EQ(unit.Call(kComponentVersionSelect), 0x00010100);
  // Selector 18 is handled but not reported; neither are MIDI selectors.
  EXPECT_EQ(unit.Call(kComponentCanDoSelect, {Word(UInt32{kAudioUnitRenderSelect})}), 1);
  EXPECT_EQ(unit.Call(kComponentCanDoSelect, {Word(UInt32{kAudioUnitRemovePropertyListenerWithUserDataSelect})}), 0);
  EXPECT_EQ(unit.Call(kComponentCanDoSelect, {Word(UInt32{kMusicDeviceMIDIEventSelect})}), 0);
  EXPECT_EQ(unit.Call(8), badComponentSelector);
}

TEST_F(AuWrapperTest, HostIdentityAndTheCocoaView)
{
  StandInSetMainBundleIdentifier("com.apple.logic10");
  {
    AuUnit inLogic(ProbeComponent());
    EXPECT_EQ(static_cast<IPlugAU*>(inLogic.Storage())->HostKind(), 21);
  }
  StandInSetMainBundleIdentifier(nullptr);
  const AUHostIdentifier host{CFSTR("GarageBand"), {0, 0, 0x12, 10}};
  EXPECT_EQ(noErr, unit.Set(kAudioUnitProperty_AUHostIdentifier, kAudioUnitScope_Global, 0, host));
  EXPECT_EQ(Plug()->HostKind(), 26);
  EXPECT_EQ(Plug()->HostVersionCode(), 0x000A1200);

  // The view is offered only once its bundle can be found.
  AudioUnitCocoaViewInfo view{};
  EXPECT_EQ(kAudioUnitErr_InvalidProperty, unit.Get(kAudioUnitProperty_CocoaUI, kAudioUnitScope_Global, 0, &view));
  StandInRegisterBundle("com.olvendu.audiounit.Kestrane", "/Library/Audio/Plug-Ins/Components/Kestrane.component");
  ASSERT_EQ(noErr, unit.Get(kAudioUnitProperty_CocoaUI, kAudioUnitScope_Global, 0, &view));
  EXPECT_STREQ(StandInURLPath(view.mCocoaAUViewBundleLocation), "/Library/Audio/Plug-Ins/Components/Kestrane.component");
  EXPECT_EQ(Text(view.mCocoaAUViewClass[0]), "CLS_KESTRANE_View");
  CFRelease(view.mCocoaAUViewBundleLocation);
  CFRelease(view.mCocoaAUViewClass[0]);
}

OSStatus BeatAndTempo(void*, Float64* beat, Float64* tempo)
{
  if (beat) *beat = 4.0;
  if (tempo) *tempo = 90.0;
  return noErr;
}

OSStatus NotNow(void*, Float64*, Float64*)
{
  return kAudioUnitErr_CannotDoInCurrentContext;
}

OSStatus MusicalTime(void*, UInt32*, Float32* numerator, UInt32* denominator, Float64*)
{
  *numerator = 3.0f;
  *denominator = 4;
  return noErr;
}

OSStatus Transport(void*, Boolean*, Boolean*, Float64* sample, Boolean*, Float64*, Float64*)
{
  *sample = 1000.6;
  return noErr;
}

TEST_F(AuWrapperTest, HostCallbacksAnswerTheTimeQueries)
{
  EXPECT_EQ(Plug()->HostTempo(), 120.0); // until the host says otherwise
  HostCallbackInfo callbacks{};
  callbacks.beatAndTempoProc = BeatAndTempo;
  callbacks.musicalTimeLocationProc = MusicalTime;
  callbacks.transportStateProc = Transport;
  // Older hosts pass the first four fields only.
  ASSERT_EQ(noErr, unit.SetProperty(kAudioUnitProperty_HostCallbacks, kAudioUnitScope_Global, 0, &callbacks, 32));
  EXPECT_EQ(Plug()->HostTempo(), 90.0);
  int numerator = 0, denominator = 0;
  Plug()->HostTimeSig(&numerator, &denominator);
  EXPECT_EQ(numerator, 3);
  EXPECT_EQ(denominator, 4);
  EXPECT_EQ(Plug()->HostSamplePos(), 1001);

  // Outside render a host's callbacks refuse: the last tempo stays.
  callbacks.beatAndTempoProc = NotNow;
  ASSERT_EQ(noErr, unit.Set(kAudioUnitProperty_HostCallbacks, kAudioUnitScope_Global, 0, callbacks));
  EXPECT_EQ(Plug()->HostTempo(), 90.0);
}

TEST_F(AuWrapperTest, StreamFormatsFollowTheChannelConfigurations)
{
  UInt32 size = 0;
  Boolean writable = false;
  EXPECT_EQ(noErr, unit.GetPropertyInfo(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, &size, &writable));
  EXPECT_EQ(size, 40u);
  EXPECT_TRUE(writable);
  EXPECT_EQ(kAudioUnitErr_InvalidProperty,
            unit.GetPropertyInfo(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 1, &size, &writable));

  AudioStreamBasicDescription format{};
  EXPECT_EQ(noErr, unit.Set(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, FloatFormat(48000, 2)));
  EXPECT_EQ(noErr, unit.Get(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, &format));
  EXPECT_EQ(format.mChannelsPerFrame, 2u);
  EXPECT_EQ(format.mFormatFlags, 0x29u);

  // Not linear PCM, or samples that are not 32-bit floats: refused, and the
  // bus has no channels until a format is accepted.
  AudioStreamBasicDescription compressed = FloatFormat(48000, 2);
  compressed.mFormatID = 0x61632D33; // 'ac-3'
  EXPECT_EQ(kAudioUnitErr_InvalidProperty, unit.Set(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, compressed));
  EXPECT_EQ(noErr, unit.Get(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, &format));
  EXPECT_EQ(format.mChannelsPerFrame, 0u);
  AudioStreamBasicDescription integers = FloatFormat(48000, 2);
  integers.mFormatFlags = kAudioFormatFlagIsSignedInteger | kAudioFormatFlagIsPacked | kAudioFormatFlagIsNonInterleaved;
  integers.mBitsPerChannel = 16;
  EXPECT_EQ(kAudioUnitErr_InvalidProperty, unit.Set(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, integers));

  // Mono in, mono out is a configuration of its own.
  EXPECT_EQ(noErr, unit.Set(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, FloatFormat(48000, 1)));
  EXPECT_EQ(noErr, unit.Set(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, FloatFormat(48000, 1)));
  EXPECT_EQ(noErr, unit.Call(kAudioUnitInitializeSelect));
}

TEST_F(AuWrapperTest, MonoInputWithStereoOutputOnlyBeforeInitialisation)
{
  EXPECT_EQ(noErr, unit.Set(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, FloatFormat(48000, 2)));
  EXPECT_EQ(noErr, unit.Set(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, FloatFormat(48000, 1)));
  // 1 in, 2 out is no configuration of "1-1 2-2".
  EXPECT_EQ(badComponentSelector, unit.Call(kAudioUnitInitializeSelect));
  EXPECT_FALSE(Plug()->UnitInitialised());

  EXPECT_EQ(noErr, unit.OpenLikeAHost(48000, 512));
  EXPECT_EQ(kAudioUnitErr_InvalidProperty,
            unit.Set(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, FloatFormat(48000, 1)));
}

TEST_F(AuWrapperTest, ParameterStringsNamesAndInfo)
{
  CFArrayRef strings = nullptr;
  UInt32 size = sizeof strings;
  ASSERT_EQ(noErr, unit.GetProperty(kAudioUnitProperty_ParameterValueStrings, kAudioUnitScope_Global, kFilterType,
                                    &strings, &size));
  ASSERT_EQ(CFArrayGetCount(strings), 3);
  EXPECT_EQ(Text(CFArrayGetValueAtIndex(strings, 0)), "Lowpass");
  EXPECT_EQ(Text(CFArrayGetValueAtIndex(strings, 2)), "Bandpass");
  CFRelease(strings);
  size = sizeof strings;
  EXPECT_EQ(kAudioUnitErr_InvalidProperty, unit.GetProperty(kAudioUnitProperty_ParameterValueStrings,
                                                            kAudioUnitScope_Global, kFilterFreq, &strings, &size));
  EXPECT_EQ(size, 0u);

  const Float32 bandpass = 2.0f;
  AudioUnitParameterStringFromValue fromValue{kFilterType, &bandpass, nullptr};
  ASSERT_EQ(noErr, unit.Get(kAudioUnitProperty_ParameterStringFromValue, kAudioUnitScope_Global, 0, &fromValue));
  EXPECT_EQ(Text(fromValue.outString), "Bandpass");
  CFRelease(fromValue.outString);
  fromValue = {kFilterFreq, nullptr, nullptr};
  ASSERT_EQ(noErr, unit.Get(kAudioUnitProperty_ParameterStringFromValue, kAudioUnitScope_Global, 0, &fromValue));
  EXPECT_EQ(Text(fromValue.outString), "");
  CFRelease(fromValue.outString);

  // A short name is cut; -1 and any other negative length ask for all of it.
  for (SInt32 length : {6, -1, -7})
  {
    AudioUnitParameterNameInfo name{kFilterBandwidth, length, nullptr};
    ASSERT_EQ(noErr, unit.Get(kAudioUnitProperty_ParameterIDName, kAudioUnitScope_Global, 0, &name));
    EXPECT_EQ(Text(name.outName), length == 6 ? "Filter" : "Filter Bandwidth");
    CFRelease(name.outName);
  }

  AudioUnitParameterValueFromString fromString{kFilterType, CFSTR("Highpass"), 0.0f};
  ASSERT_EQ(noErr, unit.Get(kAudioUnitProperty_ParameterValueFromString, kAudioUnitScope_Global, 0, &fromString));
  EXPECT_EQ(fromString.outValue, 1.0f);

  AudioUnitParameterInfo info{};
  ASSERT_EQ(noErr, unit.Get(kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global, kFilterFreq, &info));
  EXPECT_EQ(info.flags, 0xC8000010u);
  EXPECT_EQ(info.unit, kAudioUnitParameterUnit_CustomUnit);
  EXPECT_EQ(Text(info.unitName), "Hz");
  EXPECT_EQ(Text(info.cfNameString), "Filter Freq");
  EXPECT_EQ(info.maxValue, 20000.0f);
  CFRelease(info.unitName);
  CFRelease(info.cfNameString);

  // Indices outside the parameter list.
  Float32 value = 0.0f;
  EXPECT_EQ(kAudioUnitErr_InvalidParameter, unit.GetParameter(kNumKestraneParams, &value));
  EXPECT_EQ(kAudioUnitErr_InvalidParameter, unit.SetParameter(kNumKestraneParams, 1.0f));
  fromValue = {kNumKestraneParams, nullptr, nullptr};
  EXPECT_EQ(kAudioUnitErr_InvalidParameter,
            unit.Get(kAudioUnitProperty_ParameterStringFromValue, kAudioUnitScope_Global, 0, &fromValue));
  EXPECT_EQ(kAudioUnitErr_InvalidElement,
            unit.Get(kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global, kNumKestraneParams, &info));
  EXPECT_EQ(kAudioUnitErr_InvalidProperty, unit.SetParameter(kFilterFreq, 100.0f, kAudioUnitScope_Input));
}

TEST_F(AuWrapperTest, ParametersFromHostAndFastDispatchAreClamped)
{
  ASSERT_EQ(noErr, unit.SetParameter(kFilterFreq, 50000.0f));
  Float32 value = 0.0f;
  ASSERT_EQ(noErr, unit.GetParameter(kFilterFreq, &value));
  EXPECT_EQ(value, 20000.0f);

  AudioUnitSetParameterProc set = nullptr;
  AudioUnitGetParameterProc get = nullptr;
  ASSERT_EQ(noErr, unit.Get(kAudioUnitProperty_FastDispatch, kAudioUnitScope_Global, kAudioUnitSetParameterSelect, &set));
  ASSERT_EQ(noErr, unit.Get(kAudioUnitProperty_FastDispatch, kAudioUnitScope_Global, kAudioUnitGetParameterSelect, &get));
  EXPECT_EQ(noErr, set(unit.Storage(), kFilterPan, kAudioUnitScope_Global, 0, -1000.0f, 0));
  EXPECT_EQ(noErr, get(unit.Storage(), kFilterPan, kAudioUnitScope_Global, 0, &value));
  EXPECT_EQ(value, -100.0f);
  EXPECT_EQ(Plug()->AppliedValue(kFilterPan), -100);
  void* unknown = nullptr;
  EXPECT_EQ(kAudioUnitErr_InvalidElement, unit.Get(kAudioUnitProperty_FastDispatch, kAudioUnitScope_Global, 9, &unknown));

  // A ramp (not followed) and an immediate change.
  AudioUnitParameterEvent events[2]{};
  events[0] = {kAudioUnitScope_Global, 0, kFilterMix, kParameterEvent_Ramped, {}};
  events[0].eventValues.ramp.startValue = events[0].eventValues.ramp.endValue = 10.0f;
  events[1] = {kAudioUnitScope_Global, 0, kFilterBandwidth, kParameterEvent_Immediate, {}};
  events[1].eventValues.immediate.value = 40.0f;
  EXPECT_EQ(noErr, unit.Call(kAudioUnitScheduleParametersSelect, {Word(events), Word(2u)}));
  EXPECT_EQ(Plug()->Param(kFilterMix)->CurrentValue(), 100.0);
  EXPECT_EQ(Plug()->Param(kFilterBandwidth)->CurrentValue(), 40.0);
}

TEST_F(AuWrapperTest, EditorEditsReachTheHostAsParameterEvents)
{
  StandInClearEvents();
  Plug()->BeginHostEdit(kFilterMix);
  Plug()->SetParameterFromEditor(kFilterMix, 0.5);
  Plug()->EndHostEdit(kFilterMix);
  ASSERT_EQ(StandInEventCount(), 3u);
  const AudioUnitEventType expected[3] = {kAudioUnitEvent_BeginParameterChangeGesture,
                                          kAudioUnitEvent_ParameterValueChange, kAudioUnitEvent_EndParameterChangeGesture};
  for (std::size_t i = 0; i < 3; ++i)
  {
    const AudioUnitEvent event = StandInEvent(i);
    EXPECT_EQ(event.mEventType, expected[i]);
    EXPECT_EQ(event.mArgument.mParameter.mAudioUnit, unit.unit);
    EXPECT_EQ(event.mArgument.mParameter.mParameterID, static_cast<UInt32>(kFilterMix));
  }
  Float32 value = 0.0f;
  ASSERT_EQ(noErr, unit.GetParameter(kFilterMix, &value));
  EXPECT_EQ(value, 50.0f);
}

TEST_F(AuWrapperTest, LatencyAndTailTimeAreEqual)
{
  Float64 latency = -1.0, tail = -1.0;
  ASSERT_EQ(noErr, unit.Get(kAudioUnitProperty_Latency, kAudioUnitScope_Global, 0, &latency));
  ASSERT_EQ(noErr, unit.Get(kAudioUnitProperty_TailTime, kAudioUnitScope_Global, 0, &tail));
  EXPECT_EQ(latency, 0.0);
  EXPECT_EQ(tail, latency);
}

TEST_F(AuWrapperTest, PropertyListenersAreKeptOnceAndHearEveryAttempt)
{
  Log log, other;
  const auto add = [&](AudioUnitPropertyListenerProc proc, void* refCon) {
    return unit.Call(kAudioUnitAddPropertyListenerSelect,
                     {Word(UInt32{kAudioUnitProperty_StreamFormat}), Word(reinterpret_cast<void*>(proc)), Word(refCon)});
  };
  EXPECT_EQ(noErr, add(Listener, &log));
  EXPECT_EQ(noErr, add(Listener, &other)); // same identifier and callback: the first stays
  // A set that fails is heard all the same.
  EXPECT_EQ(kAudioUnitErr_InvalidProperty,
            unit.Set(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 7, FloatFormat(48000, 2)));
  EXPECT_EQ(log.properties, std::vector<UInt32>{kAudioUnitProperty_StreamFormat});
  EXPECT_TRUE(other.properties.empty());

  EXPECT_EQ(noErr, unit.Call(kAudioUnitRemovePropertyListenerSelect,
                             {Word(UInt32{kAudioUnitProperty_StreamFormat}), Word(reinterpret_cast<void*>(Listener))}));
  EXPECT_EQ(noErr, unit.Set(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, FloatFormat(48000, 2)));
  EXPECT_EQ(log.properties.size(), 1u);
}

TEST_F(AuWrapperTest, RenderNotificationsAndTheFrameLimit)
{
  Log notified, kept, input;
  ConnectInputCallback(&input);
  ASSERT_EQ(noErr, unit.OpenLikeAHost(48000, 512));
  const auto notify = [&](SInt16 selector, Log* refCon) {
    return unit.Call(selector, {Word(reinterpret_cast<void*>(CountingNotify)), Word(refCon)});
  };
  EXPECT_EQ(noErr, notify(kAudioUnitAddRenderNotifySelect, &notified));
  BufferList out(2, 513);
  EXPECT_EQ(kAudioUnitErr_InvalidPropertyValue, unit.Render(0, 513, out.List()));
  EXPECT_EQ(notified.calls, 0);
  EXPECT_EQ(input.calls, 0);
  EXPECT_EQ(noErr, unit.Render(0, 512, out.List()));
  EXPECT_EQ(notified.calls, 2); // before and after

  // Removal compares the callback only.
  EXPECT_EQ(noErr, notify(kAudioUnitRemoveRenderNotifySelect, &kept));
  EXPECT_EQ(noErr, unit.Render(512, 512, out.List()));
  EXPECT_EQ(notified.calls, 2);
}

TEST_F(AuWrapperTest, TwoPullsAtOneSampleTimePullInputOnce)
{
  Log input;
  ConnectInputCallback(&input);
  ASSERT_EQ(noErr, unit.OpenLikeAHost(48000, 256));
  BufferList first(2, 256), second(2, 256);
  EXPECT_EQ(noErr, unit.Render(1024, 256, first.List()));
  EXPECT_EQ(noErr, unit.Render(1024, 256, second.List()));
  EXPECT_EQ(input.calls, 1);
  EXPECT_EQ(noErr, unit.Render(1280, 256, second.List()));
  EXPECT_EQ(input.calls, 2);
}

TEST_F(AuWrapperTest, BypassPassesInputThroughAndResetsTheEngine)
{
  Log input;
  ConnectInputCallback(&input);
  ASSERT_EQ(noErr, unit.OpenLikeAHost(48000, 256));
  const int resets = Plug()->resets;
  ASSERT_EQ(noErr, unit.Set(kAudioUnitProperty_BypassEffect, kAudioUnitScope_Global, 0, UInt32{1}));
  EXPECT_EQ(Plug()->resets, resets + 1);

  // The host lends no memory: the output is in the unit's own buffers.
  BufferList out(2, 256, false);
  ASSERT_EQ(noErr, unit.Render(256, 256, out.List()));
  for (int k = 0; k < 2; ++k)
  {
    ASSERT_NE(out.Channel(k), nullptr);
    for (int s = 0; s < 256; ++s) ASSERT_EQ(out.Channel(k)[s], TestInput(k, 256 + s)) << k << ' ' << s;
  }
  UInt32 bypassed = 0;
  EXPECT_EQ(noErr, unit.Get(kAudioUnitProperty_BypassEffect, kAudioUnitScope_Global, 0, &bypassed));
  EXPECT_EQ(bypassed, 1u);
}

TEST_F(AuWrapperTest, RateAndSliceChangesResetTheEngine)
{
  const int resets = Plug()->resets;
  EXPECT_EQ(noErr, unit.Set(kAudioUnitProperty_SampleRate, kAudioUnitScope_Global, 0, Float64{96000}));
  EXPECT_EQ(noErr, unit.Set(kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, UInt32{2048}));
  EXPECT_EQ(Plug()->resets, resets + 2);
  EXPECT_EQ(Plug()->SampleRate(), 96000.0);
  EXPECT_EQ(Plug()->BlockSize(), 2048);
  // Rates and sizes no host can mean change nothing.
  EXPECT_EQ(kAudioUnitErr_InvalidPropertyValue,
            unit.Set(kAudioUnitProperty_SampleRate, kAudioUnitScope_Global, 0, Float64{std::nan("")}));
  EXPECT_EQ(kAudioUnitErr_InvalidPropertyValue,
            unit.Set(kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, UInt32{0xFFFFFFFF}));
  EXPECT_EQ(Plug()->SampleRate(), 96000.0);
  EXPECT_EQ(Plug()->BlockSize(), 2048);
}

TEST_F(AuWrapperTest, UpstreamUnitsArePulledThroughEitherRenderPath)
{
  for (bool fast : {true, false})
  {
    AuUnit kestrane(ProbeComponent());
    AuUnit generator(GeneratorComponent());
    Generator(generator.unit)->offerFastRender = fast;
    const AudioUnitConnection connection{generator.unit, 0, 0};
    ASSERT_EQ(noErr, kestrane.Set(kAudioUnitProperty_MakeConnection, kAudioUnitScope_Input, 0, connection));
    ASSERT_EQ(noErr, kestrane.OpenLikeAHost(48000, 128));
    ASSERT_EQ(noErr, kestrane.SetParameter(kFilterType, 0.0f)); // lowpass
    BufferList out(2, 128);
    ASSERT_EQ(noErr, kestrane.Render(0, 128, out.List()));
    EXPECT_EQ(Generator(generator.unit)->renders, 1);
    // The filter (lowpass at 20 Hz by default) leaves far less than the input.
    double in = 0, filtered = 0;
    for (int s = 0; s < 128; ++s)
    {
      in += std::fabs(TestInput(0, s));
      filtered += std::fabs(out.Channel(0)[s]);
    }
    EXPECT_GT(filtered, 0.0);
    EXPECT_LT(filtered, in / 4);
  }
}

TEST_F(AuWrapperTest, ClassInfoRoundTripRecallsTheCurrentPreset)
{
  ASSERT_EQ(noErr, unit.OpenLikeAHost(48000, 256));
  ASSERT_EQ(noErr, unit.Set(kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, AUPreset{5, nullptr}));
  ASSERT_EQ(noErr, unit.SetParameter(kFilterFreq, 3000.0f)); // an edit after the recall
  CFPropertyListRef saved = nullptr;
  ASSERT_EQ(noErr, unit.Get(kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, &saved));

  ASSERT_EQ(noErr, unit.Set(kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, AUPreset{9, nullptr}));
  ASSERT_EQ(noErr, unit.Set(kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, saved));
  AUPreset current{};
  ASSERT_EQ(noErr, unit.Get(kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &current));
  EXPECT_EQ(current.presetNumber, 5);
  EXPECT_EQ(Text(current.presetName), "Glissando");
  CFRelease(current.presetName);
  EXPECT_EQ(Plug()->Param(kFilterFreq)->CurrentValue(), 3000.0);

  // Another component's state changes nothing.
  CFDictionaryRef original = static_cast<CFDictionaryRef>(saved);
  CFMutableDictionaryRef foreign =
      CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
  for (const char* key : {"version", "type", "manufacturer", "name", "data"})
    CFDictionarySetValue(foreign, __CFStringMakeConstantString(key), CFDictionaryGetValue(original, __CFStringMakeConstantString(key)));
  const SInt32 otherSubtype = 0x4F746872; // 'Othr'
  CFNumberRef number = CFNumberCreate(nullptr, kCFNumberSInt32Type, &otherSubtype);
  CFDictionarySetValue(foreign, CFSTR("subtype"), number);
  CFRelease(number);
  ASSERT_EQ(noErr, unit.Set(kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, AUPreset{9, nullptr}));
  const double before = Plug()->Param(kFilterFreq)->CurrentValue();
  const CFPropertyListRef foreignInfo = foreign;
  EXPECT_EQ(kAudioUnitErr_InvalidPropertyValue, unit.Set(kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, foreignInfo));
  EXPECT_EQ(Plug()->CurrentPresetIndex(), 9);
  EXPECT_EQ(Plug()->Param(kFilterFreq)->CurrentValue(), before);
  CFRelease(foreign);
  CFRelease(saved);
}

TEST_F(AuWrapperTest, ClassInfoWithALongNameOrShortDataFromElsewhere)
{
  CFPropertyListRef saved = nullptr;
  ASSERT_EQ(noErr, unit.SetParameter(kFilterFreq, 4000.0f));
  ASSERT_EQ(noErr, unit.Get(kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, &saved));
  CFMutableDictionaryRef info = const_cast<CFMutableDictionaryRef>(static_cast<CFDictionaryRef>(saved));
  ASSERT_EQ(noErr, unit.SetParameter(kFilterFreq, 100.0f));

  // A name beyond 63 bytes matches no preset; the state still loads.
  const std::string longName = "Glissando" + std::string(80, '!');
  CFStringRef name = MakeCFString(longName.c_str());
  CFDictionarySetValue(info, CFSTR("name"), name);
  CFRelease(name);
  EXPECT_EQ(noErr, unit.Set(kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, saved));
  EXPECT_EQ(Plug()->CurrentPresetIndex(), 0);
  EXPECT_EQ(Plug()->Param(kFilterFreq)->CurrentValue(), 4000.0);

  // A state that ends early is a failure.
  const UInt8 bytes[12] = {};
  CFDataRef shortData = CFDataCreate(nullptr, bytes, sizeof bytes);
  CFDictionarySetValue(info, CFSTR("data"), shortData);
  CFRelease(shortData);
  EXPECT_EQ(kAudioUnitErr_InvalidPropertyValue, unit.Set(kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, saved));
  CFRelease(saved);
}

TEST_F(AuWrapperTest, FactoryPresetsAreRecordsOwnedByTheArray)
{
  CFArrayRef presets = nullptr;
  ASSERT_EQ(noErr, unit.Get(kAudioUnitProperty_FactoryPresets, kAudioUnitScope_Global, 0, &presets));
  ASSERT_EQ(CFArrayGetCount(presets), 24);
  const AUPreset* glissando = static_cast<const AUPreset*>(CFArrayGetValueAtIndex(presets, 5));
  EXPECT_EQ(glissando->presetNumber, 5);
  EXPECT_EQ(Text(glissando->presetName), "Glissando");
  EXPECT_EQ(Text(static_cast<const AUPreset*>(CFArrayGetValueAtIndex(presets, 0))->presetName), "---- default ----");
  EXPECT_EQ(Text(static_cast<const AUPreset*>(CFArrayGetValueAtIndex(presets, 23))->presetName), "Tremolo");
  EXPECT_GT(StandInLiveCFBlocks(), 0);
  CFRelease(presets); // the records and their names go with the array
  EXPECT_EQ(StandInLiveCFBlocks(), 0);
}

TEST_F(AuWrapperTest, MidiSelectorsReachTheEnvelope)
{
  ASSERT_EQ(noErr, unit.OpenLikeAHost(48000, 256));
  EXPECT_EQ(noErr, unit.Midi(0x93, 60, 100));
  EXPECT_EQ(Plug()->EnvelopeState().mNotesHeld, 1);
  EXPECT_EQ(noErr, unit.Midi(0x83, 60, 0));
  EXPECT_EQ(Plug()->EnvelopeState().mNotesHeld, 0);

  const MusicDeviceNoteParams note{2, 64.7f, 100.0f};
  UInt32 noteInstance = 0;
  EXPECT_EQ(noErr, unit.Call(kMusicDeviceStartNoteSelect, {Word(0u), Word(0u), Word(&noteInstance), Word(0u), Word(&note)}));
  EXPECT_EQ(noteInstance, 64u);
  EXPECT_EQ(Plug()->EnvelopeState().mNotesHeld, 0);
}
} // namespace
