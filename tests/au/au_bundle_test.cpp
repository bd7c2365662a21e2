// The built Audio Unit bundle, loaded as a host loads it: its layout, its two
// exports, its legacy view component, and audio through a whole chain (a generator unit upstream) that
// matches the VST 2 build's output for the same presets and MIDI.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/au/support/AuHost.h"
#include "tests/au/support/GeneratorUnit.h"
#include "tests/vst/support/PluginInstance.h"

namespace
{
constexpr UInt32 kBlock = 256;
constexpr int kBlocks = 48;
const std::string kContents = KESTRANE_AU_CONTENTS;

Component Kestrane()
{
  return LoadBundleComponent(KESTRANE_AU_LIBRARY, kContents + "/Info.plist");
}

std::string FileBytes(const std::string& path)
{
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The MIDI both builds receive before block b: a note-on every 4th block,
// its note-off two blocks later.
struct Note
{
  bool on;
  bool off;
};
Note NoteBefore(int block) { return {block % 4 == 0, block % 4 == 2}; }

std::vector<float> RenderAu(int preset)
{
  AuUnit kestrane(Kestrane());
  AuUnit generator(GeneratorComponent());
  EXPECT_TRUE(kestrane.Opened());
  const AudioUnitConnection connection{generator.unit, 0, 0};
  EXPECT_EQ(noErr, kestrane.Set(kAudioUnitProperty_MakeConnection, kAudioUnitScope_Input, 0, connection));
  EXPECT_EQ(noErr, kestrane.OpenLikeAHost(48000, kBlock));
  EXPECT_EQ(noErr, kestrane.Set(kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, AUPreset{preset, nullptr}));

  std::vector<float> result;
  BufferList out(2, kBlock);
  for (int b = 0; b < kBlocks; ++b)
  {
    if (NoteBefore(b).on) kestrane.Midi(0x90, 60, 100, kBlock - 1);
    if (NoteBefore(b).off) kestrane.Midi(0x80, 60, 0, kBlock / 2);
    EXPECT_EQ(noErr, kestrane.Render(static_cast<double>(b) * kBlock, kBlock, out.List()));
    for (UInt32 s = 0; s < kBlock; ++s)
      for (int c = 0; c < 2; ++c) result.push_back(out.Channel(c)[s]);
  }
  return result;
}

std::vector<float> RenderVst(int preset)
{
  PluginLibrary library(KESTRANE_VST_LIBRARY);
  EXPECT_TRUE(library.Loaded());
  PluginInstance plugin(library);
  plugin.OpenLikeAHost(48000.0f, kBlock);
  plugin.Dispatch(effSetProgram, 0, preset);
  plugin.host.time.sampleRate = 48000.0;
  plugin.host.time.tempo = 120.0; // what an Audio Unit assumes without host callbacks
  plugin.host.time.flags = kVstTempoValid;

  std::vector<float> result;
  std::vector<float> in[2], out[2];
  for (int c = 0; c < 2; ++c)
  {
    in[c].resize(kBlock);
    out[c].resize(kBlock);
  }
  for (int b = 0; b < kBlocks; ++b)
  {
    const long start = static_cast<long>(b) * kBlock;
    plugin.host.time.samplePos = static_cast<double>(start);
    for (int c = 0; c < 2; ++c)
      for (UInt32 s = 0; s < kBlock; ++s) in[c][s] = TestInput(c, start + static_cast<long>(s));
    EventList events;
    if (NoteBefore(b).on) events.AddMidi(kBlock - 1, 0x90, 60, 100);
    if (NoteBefore(b).off) events.AddMidi(kBlock / 2, 0x80, 60, 0);
    plugin.Dispatch(effProcessEvents, 0, 0, events.Events());
    float* inputs[2] = {in[0].data(), in[1].data()};
    float* outputs[2] = {out[0].data(), out[1].data()};
    plugin.host.insideProcess = true;
    plugin.effect->processReplacing(plugin.effect, inputs, outputs, kBlock);
    plugin.host.insideProcess = false;
    for (UInt32 s = 0; s < kBlock; ++s)
      for (int c = 0; c < 2; ++c) result.push_back(out[c][s]);
  }
  return result;
}

TEST(AuBundle, LayoutDescriptionImagesAndEntryExports)
{
  const ComponentDescription description = BundleDescription(kContents + "/Info.plist");
  EXPECT_EQ(description.componentType, kAudioUnitType_MusicEffect);
  EXPECT_EQ(description.componentSubType, 0x796A6A33u);
  EXPECT_EQ(description.componentManufacturer, 0x4F6C7644u); // 'OlvD'
  EXPECT_NE(FileBytes(kContents + "/Info.plist").find("<string>com.olvendu.audiounit.Kestrane</string>"),
            std::string::npos);

  for (const char* image : {"bg", "knob", "slider", "sync", "wave", "map", "comp", "comp2", "adsr_tp", "flt_tp",
                            "lfo1_tg", "lfo1_tg_", "child"})
  {
    const std::string name = std::string(image) + ".png";
    const std::string shipped = FileBytes(kContents + "/Resources/" + name);
    EXPECT_FALSE(shipped.empty()) << name;
    EXPECT_EQ(shipped, FileBytes(std::string(KESTRANE_IMAGE_DIR) + "/" + name)) << name;
  }

  FILE* pipe = popen(("nm -D --defined-only '" + std::string(KESTRANE_AU_LIBRARY) + "'").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string symbols;
  char line[512];
  while (std::fgets(line, sizeof line, pipe)) symbols += line;
  pclose(pipe);
  EXPECT_NE(symbols.find(" CLS_KESTRANE_Entry\n"), std::string::npos) << symbols;
  EXPECT_NE(symbols.find(" CLS_KESTRANE_ViewEntry\n"), std::string::npos) << symbols;
  EXPECT_EQ(std::count(symbols.begin(), symbols.end(), '\n'), 2) << symbols;
}

TEST(AuBundle, LegacyViewComponentMakesNoViewAndOutlivesItsUnit)
{
  Component viewComponent = LoadBundleViewComponent(KESTRANE_AU_LIBRARY);
  ASSERT_NE(viewComponent, nullptr);
  ComponentInstance view = nullptr;
  ASSERT_EQ(noErr, StandInOpenComponent(viewComponent, &view));

  void* outControl = &outControl;
  const long noUnit[] = {0, 0, 0, 0, 0, reinterpret_cast<long>(&outControl)};
  EXPECT_EQ(badComponentSelector, StandInCallComponent(view, kAudioUnitCarbonViewCreateSelect, noUnit, 6));
  EXPECT_EQ(badComponentSelector, StandInCallComponent(view, kAudioUnitInitializeSelect, nullptr, 0));

  {
    AuUnit kestrane(Kestrane());
    ASSERT_TRUE(kestrane.Opened());
    const long create[] = {Word(kestrane.unit), 0, 0, 0, 0, Word(&outControl)};
    EXPECT_EQ(noErr, StandInCallComponent(view, kAudioUnitCarbonViewCreateSelect, create, 6));
    EXPECT_EQ(outControl, nullptr);
  }
  // The unit (and its plug-in) went first: closing the view must not reach
  // for the plug-in it was created with.
  EXPECT_EQ(noErr, StandInCloseComponent(view));
}

TEST(AuBundle, OpensAsTheComponentItsBundleDescribes)
{
  AuUnit kestrane(Kestrane());
  ASSERT_TRUE(kestrane.Opened());
  CFPropertyListRef info = nullptr;
  ASSERT_EQ(noErr, kestrane.Get(kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, &info));
  SInt32 subtype = 0;
  CFNumberGetValue(static_cast<CFNumberRef>(CFDictionaryGetValue(static_cast<CFDictionaryRef>(info), CFSTR("subtype"))),
                   kCFNumberSInt32Type, &subtype);
  EXPECT_EQ(static_cast<UInt32>(subtype), 0x796A6A33u);
  CFRelease(info);
}

TEST(AuBundle, AudioThroughAGeneratorMatchesTheVstBuild)
{
  // "Glissando" (the envelope on the cutoff) and "Oscillating Filter" (the
  // LFO in time with the tempo).
  for (int preset : {5, 11})
  {
    const std::vector<float> au = RenderAu(preset);
    const std::vector<float> vst = RenderVst(preset);
    ASSERT_EQ(au.size(), vst.size());
    std::size_t differences = 0;
    for (std::size_t i = 0; i < au.size(); ++i) differences += au[i] != vst[i];
    EXPECT_EQ(differences, 0u) << "preset " << preset;
    float peak = 0.0f;
    for (float v : au) peak = std::max(peak, std::fabs(v));
    EXPECT_GT(peak, 0.01f) << "preset " << preset; // not two silences
  }
  EXPECT_EQ(StandInLiveCFObjects(), 0);
  EXPECT_EQ(StandInLiveCFBlocks(), 0);
}
} // namespace
