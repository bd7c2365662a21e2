// Built plug-in libraries loaded and driven exactly as hosts do: dlopen (or
// LoadLibrary, in the Windows build, run under Wine), VSTPluginMain, and the
// dispatcher and callbacks of the AEffect record, in the call orders real
// hosts use. The same tests run against kestrane.so and kestrane.dll.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/vst/support/PluginInstance.h"

namespace
{
std::vector<std::string> PluginPaths()
{
  std::vector<std::string> paths;
  std::stringstream list(KESTRANE_PLUGIN_LIBRARIES);
  std::string path;
  while (std::getline(list, path, ';'))
    if (!path.empty()) paths.push_back(path);
  return paths;
}

enum class Callback
{
  kReplacing,
  kDouble,
  kAccumulating
};

constexpr int kBlock = 256;

// A deterministic stereo input: two sines and some noise-like content.
double InputSample(int channel, long frame)
{
  const double t = static_cast<double>(frame) / 48000.0;
  return 0.4 * std::sin(2 * M_PI * (220.0 + 110.0 * channel) * t) +
         0.2 * std::sin(2 * M_PI * 3137.0 * t + channel) + 0.1 * std::sin(frame * 0.7 * (channel + 1));
}

// An input that needs no maths library, so two builds whose C runtimes
// round sin differently still feed the plug-in the same samples: a
// sawtooth and a square of unrelated periods, and a little pseudo-noise.
double PlainInputSample(int channel, long frame)
{
  const double saw = static_cast<double>(frame % (97 + 13 * channel)) / (97 + 13 * channel) - 0.5;
  const double square = (frame / (41 + 7 * channel)) % 2 ? 0.25 : -0.25;
  const uint32_t noise = static_cast<uint32_t>(frame) * 2654435761u + static_cast<uint32_t>(channel) * 40503u;
  return 0.5 * saw + 0.3 * square + 0.1 * (static_cast<double>(noise >> 8) / (1 << 24) - 0.5);
}

// Renders `blocks` blocks the way a running host does: time info, the event
// list (a note-on at the very end of the block every 4th block), then the
// process callback. Returns both output channels, interleaved.
std::vector<double> Render(PluginInstance& plugin, Callback callback, int blocks,
                           double (*input)(int, long) = InputSample)
{
  plugin.host.time.sampleRate = 48000.0;
  plugin.host.time.tempo = 120.0;
  plugin.host.time.timeSigNumerator = 4;
  plugin.host.time.timeSigDenominator = 4;
  plugin.host.time.flags = kVstTempoValid | kVstTimeSigValid | kVstTransportPlaying;

  std::vector<double> result;
  std::vector<float> inF[2], outF[2];
  std::vector<double> inD[2], outD[2];
  for (int c = 0; c < 2; ++c)
  {
    inF[c].resize(kBlock);
    outF[c].resize(kBlock);
    inD[c].resize(kBlock);
    outD[c].resize(kBlock);
  }
  for (int b = 0; b < blocks; ++b)
  {
    const long start = static_cast<long>(b) * kBlock;
    plugin.host.time.samplePos = static_cast<double>(start);
    for (int c = 0; c < 2; ++c)
      for (int s = 0; s < kBlock; ++s)
      {
        inD[c][s] = static_cast<float>(input(c, start + s));
        inF[c][s] = static_cast<float>(inD[c][s]);
        outF[c][s] = 0.125f;
        outD[c][s] = std::nan("");
      }
    EventList events;
    if (b % 4 == 0) events.AddMidi(kBlock - 1, 0x90, 60, 100);
    if (b % 4 == 2) events.AddMidi(kBlock / 2, 0x80, 60, 0);
    plugin.Dispatch(effProcessEvents, 0, 0, events.Events());

    plugin.host.insideProcess = true;
    float* fin[2] = {inF[0].data(), inF[1].data()};
    float* fout[2] = {outF[0].data(), outF[1].data()};
    double* din[2] = {inD[0].data(), inD[1].data()};
    double* dout[2] = {outD[0].data(), outD[1].data()};
    if (callback == Callback::kReplacing) plugin.effect->processReplacing(plugin.effect, fin, fout, kBlock);
    if (callback == Callback::kAccumulating) plugin.effect->process(plugin.effect, fin, fout, kBlock);
    if (callback == Callback::kDouble) plugin.effect->processDoubleReplacing(plugin.effect, din, dout, kBlock);
    plugin.host.insideProcess = false;

    for (int s = 0; s < kBlock; ++s)
      for (int c = 0; c < 2; ++c)
      {
        if (callback == Callback::kDouble)
          result.push_back(outD[c][s]);
        else if (callback == Callback::kReplacing)
          result.push_back(outF[c][s]);
        else
          result.push_back(static_cast<double>(outF[c][s]) - 0.125);
      }
  }
  return result;
}

double Peak(const std::vector<double>& samples)
{
  double peak = 0;
  for (double v : samples) peak = std::max(peak, std::fabs(v));
  return peak;
}

class PluginLibraryTest : public ::testing::TestWithParam<std::string>
{
protected:
  void SetUp() override { ASSERT_TRUE(library.Loaded()) << library.Error(); }

  PluginLibrary library{GetParam()};

  // Settings that make every test hear the filter and the modulation.
  static void Configure(PluginInstance& plugin, int preset)
  {
    plugin.OpenLikeAHost(48000.0f, kBlock);
    plugin.Dispatch(effBeginSetProgram);
    plugin.Dispatch(effSetProgram, 0, preset);
    plugin.Dispatch(effEndSetProgram);
  }
};

std::string TestName(const ::testing::TestParamInfo<std::string>& info)
{
  std::string name = info.param.substr(info.param.find_last_of("/\\") + 1);
  name = name.substr(0, name.find('.'));
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}
} // namespace

TEST_P(PluginLibraryTest, ExportsOnlyItsEntryPointsAndNeedsNothingBesideIt)
{
  EXPECT_EQ(ExportedNames(GetParam()), (std::set<std::string>{"VSTPluginMain", "main"}));
  // main is the same function.
  EXPECT_NE(library.Symbol("VSTPluginMain"), nullptr);
  EXPECT_EQ(library.Symbol("VSTPluginMain"), library.Symbol("main"));
  EXPECT_EQ(LoadingProblems(GetParam()), std::vector<std::string>{});
}

TEST_P(PluginLibraryTest, ScanAsALinuxDawDoes)
{
  PluginInstance plugin(library);
  ASSERT_NE(plugin.effect, nullptr);
  EXPECT_EQ(plugin.effect->magic, kEffectMagic);
  plugin.Dispatch(effOpen);
  EXPECT_EQ(plugin.Dispatch(effGetVstVersion), 2400);
  EXPECT_FALSE(plugin.Text(effGetEffectName).empty());
  EXPECT_EQ(plugin.Text(effGetVendorString).empty(), false);
  EXPECT_EQ(plugin.Dispatch(effGetPlugCategory), kPlugCategEffect);
  EXPECT_EQ(plugin.Dispatch(effCanDo, 0, 0, const_cast<char*>("receiveVstEvents")), 1);
  EXPECT_EQ(plugin.Dispatch(effCanDo, 0, 0, const_cast<char*>("sendVstEvents")), 1);
  EXPECT_EQ(plugin.Dispatch(effCanDo, 0, 0, const_cast<char*>("sendVstMidiEvent")), 1);
  EXPECT_EQ(plugin.Dispatch(effCanDo, 0, 0, const_cast<char*>("sendVstMidiEvents")), 0);
  plugin.Dispatch(effMainsChanged, 0, 0);
  // Scanning changes nothing at the host: no automation, no events.
  EXPECT_TRUE(plugin.host.CallsOf(audioMasterAutomate).empty());
  EXPECT_TRUE(plugin.host.CallsOf(audioMasterProcessEvents).empty());
}

TEST_P(PluginLibraryTest, ListingProgramsInATemporaryInstance)
{
  // Without a sample rate or block size, as a host's program browser does.
  PluginInstance plugin(library);
  std::vector<std::string> names;
  for (int i = 0; i < plugin.effect->numPrograms; ++i)
  {
    char name[kVstMaxProgNameLen + 1] = {};
    plugin.Dispatch(effGetProgramNameIndexed, i, -1, name);
    names.push_back(name);
    EXPECT_FALSE(names.back().empty());
  }
  char beyond[kVstMaxProgNameLen + 1] = "x";
  EXPECT_EQ(plugin.Dispatch(effGetProgramNameIndexed, plugin.effect->numPrograms, -1, beyond), 0);
  EXPECT_STREQ(beyond, "");
  plugin.Dispatch(effMainsChanged, 0, 0);
}

TEST_P(PluginLibraryTest, RunsWithMidiEveryCycleAndPassesItThrough)
{
  PluginInstance plugin(library);
  Configure(plugin, 1);
  plugin.host.Clear();
  const std::vector<double> out = Render(plugin, Callback::kReplacing, 16);
  for (double v : out) ASSERT_TRUE(std::isfinite(v));
  EXPECT_GT(Peak(out), 0.01);

  // Every note went out again, inside a process call, with its offset.
  std::vector<RecordingHost::SentEvent> notes;
  for (const RecordingHost::SentEvent& event : plugin.host.sent)
    if (event.type == kVstMidiType) notes.push_back(event);
  ASSERT_EQ(notes.size(), 8u);
  for (const RecordingHost::SentEvent& event : notes) EXPECT_TRUE(event.duringProcess);
  EXPECT_EQ(notes[0].bytes, (std::vector<uint8_t>{0x90, 60, 100}));
  EXPECT_EQ(notes[0].deltaFrames, kBlock - 1);
  EXPECT_EQ(notes[1].bytes, (std::vector<uint8_t>{0x80, 60, 0}));
  EXPECT_EQ(notes[1].deltaFrames, kBlock / 2);
  // The plug-in asked for the tempo while processing.
  EXPECT_FALSE(plugin.host.CallsOf(audioMasterGetTime).empty());
}

TEST_P(PluginLibraryTest, RateAndBlockSizeBeforeOpen)
{
  // The order of a widely used host-side library: identify, rate and block
  // size, and only then effOpen.
  PluginInstance plugin(library);
  plugin.Dispatch(effIdentify);
  plugin.Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  plugin.Dispatch(effSetBlockSize, 0, kBlock);
  plugin.Dispatch(effOpen);
  plugin.Dispatch(effMainsChanged, 0, 1);
  const std::vector<double> out = Render(plugin, Callback::kReplacing, 4);
  for (double v : out) ASSERT_TRUE(std::isfinite(v));
  EXPECT_GT(Peak(out), 0.01);
}

TEST_P(PluginLibraryTest, SuspendChangeBlockSizeAndResume)
{
  PluginInstance plugin(library);
  Configure(plugin, 1);
  Render(plugin, Callback::kReplacing, 2);

  // An offline bounce: suspend, larger blocks, resume (twice), process.
  plugin.Dispatch(effMainsChanged, 0, 0);
  plugin.Dispatch(effSetBlockSize, 0, 8192);
  plugin.Dispatch(effMainsChanged, 0, 1);
  plugin.Dispatch(effMainsChanged, 0, 1);
  std::vector<float> left(8192, 0.5f), right(8192, -0.5f), outLeft(8192, NAN), outRight(8192, NAN);
  float* in[2] = {left.data(), right.data()};
  float* out[2] = {outLeft.data(), outRight.data()};
  plugin.effect->processReplacing(plugin.effect, in, out, 8192);
  for (int s = 0; s < 8192; ++s) ASSERT_TRUE(std::isfinite(outLeft[s]) && std::isfinite(outRight[s])) << s;

  // Back to the usual size, the same way, with the suspend sent twice.
  plugin.Dispatch(effMainsChanged, 0, 0);
  plugin.Dispatch(effMainsChanged, 0, 0);
  plugin.Dispatch(effSetBlockSize, 0, kBlock);
  plugin.Dispatch(effMainsChanged, 0, 1);
  const std::vector<double> after = Render(plugin, Callback::kReplacing, 2);
  for (double v : after) ASSERT_TRUE(std::isfinite(v));
  EXPECT_GT(Peak(after), 0.01);
}

TEST_P(PluginLibraryTest, SessionRestoreThroughSetParameter)
{
  PluginInstance original(library);
  Configure(original, 2);
  original.effect->setParameter(original.effect, 1, 0.3f);
  std::vector<float> values;
  for (int i = 0; i < original.effect->numParams; ++i)
    values.push_back(original.effect->getParameter(original.effect, i));

  // A session without chunks restores every value, then resumes.
  PluginInstance restored(library);
  restored.OpenLikeAHost(48000.0f, kBlock);
  for (int i = 0; i < restored.effect->numParams; ++i)
    restored.effect->setParameter(restored.effect, i, values[static_cast<std::size_t>(i)]);
  restored.Dispatch(effMainsChanged, 0, 1);
  for (int i = 0; i < restored.effect->numParams; ++i)
  {
    EXPECT_EQ(restored.effect->getParameter(restored.effect, i), values[static_cast<std::size_t>(i)]) << i;
    EXPECT_EQ(restored.Text(effGetParamDisplay, i), original.Text(effGetParamDisplay, i)) << i;
  }
  // Host automation is never echoed back as automation.
  EXPECT_TRUE(restored.host.CallsOf(audioMasterAutomate).empty());
  // Both now sound the same.
  EXPECT_EQ(Render(original, Callback::kDouble, 8), Render(restored, Callback::kDouble, 8));
}

TEST_P(PluginLibraryTest, ChunksTravelBetweenInstances)
{
  PluginInstance source(library);
  Configure(source, 3);
  source.effect->setParameter(source.effect, 1, 0.5f);
  EXPECT_EQ(source.Text(effGetParamDisplay, 1), "5015");

  void* data = nullptr;
  const VstIntPtr size = source.Dispatch(effGetChunk, 1, 0, &data);
  ASSERT_EQ(size, 4 + 8 * source.effect->numParams);
  int32_t version = 0;
  std::memcpy(&version, data, 4);
  EXPECT_EQ(version, source.effect->version);
  const std::vector<uint8_t> chunk(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);

  PluginInstance target(library);
  target.OpenLikeAHost(48000.0f, kBlock);
  std::vector<uint8_t> copy = chunk;
  EXPECT_EQ(target.Dispatch(effSetChunk, 3, 0, nullptr), 0);
  EXPECT_EQ(target.Dispatch(effSetChunk, 1, 3, copy.data()), 0);
  EXPECT_NE(target.Text(effGetParamDisplay, 1), "5015");
  EXPECT_EQ(target.Dispatch(effSetChunk, 1, size, copy.data()), 1);
  for (int i = 0; i < target.effect->numParams; ++i)
    EXPECT_EQ(target.Text(effGetParamDisplay, i), source.Text(effGetParamDisplay, i)) << i;
  void* again = nullptr;
  ASSERT_EQ(target.Dispatch(effGetChunk, 1, 0, &again), size);
  EXPECT_EQ(std::memcmp(again, chunk.data(), chunk.size()), 0);
}

TEST_P(PluginLibraryTest, ThreeProcessCallbacksGiveTheSameAudio)
{
  std::vector<double> outputs[3];
  const Callback callbacks[3] = {Callback::kDouble, Callback::kReplacing, Callback::kAccumulating};
  for (int i = 0; i < 3; ++i)
  {
    PluginInstance plugin(library);
    Configure(plugin, 1);
    outputs[i] = Render(plugin, callbacks[i], 24);
  }
  const double peak = Peak(outputs[0]);
  ASSERT_GT(peak, 0.01);
  // Single precision differs from double only by its rounding of input and
  // output (and the accumulating path by the addition to the host's buffer).
  for (int i = 1; i < 3; ++i)
  {
    ASSERT_EQ(outputs[i].size(), outputs[0].size());
    double worst = 0;
    for (std::size_t s = 0; s < outputs[0].size(); ++s) worst = std::max(worst, std::fabs(outputs[i][s] - outputs[0][s]));
    EXPECT_LT(worst, 1e-5 * std::max(1.0, peak)) << "callback " << i;
  }
}

TEST_P(PluginLibraryTest, TwoInstancesOnTwoThreadsDoNotInterfere)
{
  constexpr int kBlocks = 64;
  // Each instance alone, one after the other.
  std::vector<double> reference[2];
  for (int i = 0; i < 2; ++i)
  {
    PluginInstance plugin(library);
    Configure(plugin, 1 + i);
    reference[i] = Render(plugin, i == 0 ? Callback::kReplacing : Callback::kDouble, kBlocks);
  }
  ASSERT_NE(reference[0], reference[1]);

  // Both at once on two audio threads, while a third thread reads their
  // parameters as an editor or a host's generic view would.
  PluginInstance first(library);
  PluginInstance second(library);
  Configure(first, 1);
  Configure(second, 2);
  std::vector<double> results[2];
  std::atomic<bool> done{false};
  std::thread reader([&] {
    char text[64];
    while (!done.load())
    {
      for (PluginInstance* plugin : {&first, &second})
        for (int p = 0; p < plugin->effect->numParams; ++p)
        {
          plugin->effect->getParameter(plugin->effect, p);
          plugin->Dispatch(effGetParamDisplay, p, 0, text);
        }
    }
  });
  std::thread a([&] { results[0] = Render(first, Callback::kReplacing, kBlocks); });
  std::thread b([&] { results[1] = Render(second, Callback::kDouble, kBlocks); });
  a.join();
  b.join();
  done = true;
  reader.join();
  EXPECT_EQ(results[0], reference[0]);
  EXPECT_EQ(results[1], reference[1]);
}

TEST_P(PluginLibraryTest, ParameterEdgeCases)
{
  PluginInstance plugin(library);
  plugin.OpenLikeAHost(48000.0f, kBlock);
  // Parameters 0 and 1 are "Filter Type" and "Filter Freq".
  EXPECT_EQ(plugin.Text(effGetParamName, 1), "Filter Freq");
  plugin.effect->setParameter(plugin.effect, 1, 0.5f);
  EXPECT_EQ(plugin.Text(effGetParamDisplay, 1), "5015");
  EXPECT_EQ(plugin.Text(effGetParamLabel, 1), "Hz");
  char text[64] = "Highpass";
  EXPECT_EQ(plugin.Dispatch(effVendorSpecific, 27, 0, text), 0xBEEF);
  EXPECT_STREQ(text, "0.50000000000000000");
  EXPECT_EQ(plugin.Dispatch(effVendorSpecific, 7, 1, text, 0.5f), 0xBEEF);
  EXPECT_STREQ(text, "5015");
  // Out of range: nothing happens, nothing is written.
  std::strcpy(text, "keep");
  plugin.Dispatch(effGetParamName, plugin.effect->numParams, 0, text);
  EXPECT_STREQ(text, "keep");
  plugin.effect->setParameter(plugin.effect, plugin.effect->numParams, 1.0f);
  EXPECT_EQ(plugin.effect->getParameter(plugin.effect, plugin.effect->numParams), 0.0f);

  VstPinProperties pin{};
  EXPECT_EQ(plugin.Dispatch(effGetInputProperties, 0, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Input 1");
  EXPECT_EQ(pin.flags, 3);
  EXPECT_EQ(plugin.Dispatch(effGetInputProperties, 1, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Input 2");
  EXPECT_EQ(pin.flags, 1);
  EXPECT_EQ(plugin.Dispatch(effGetInputProperties, 2, 0, &pin), 0);
  EXPECT_EQ(plugin.Dispatch(effCanDo, 0, 0, const_cast<char*>("receiveVstMidiEvent")), 1);
  EXPECT_EQ(plugin.Dispatch(effCanDo, 0, 0, const_cast<char*>("somethingElse")), 0);
}

#ifdef KESTRANE_EFFECT_PLUGIN_LIBRARY
// Values of the Kestrane effect itself, in its plug-in library.
TEST(KestranePluginLibrary, StateAndPrograms)
{
  PluginLibrary library(KESTRANE_EFFECT_PLUGIN_LIBRARY);
  ASSERT_TRUE(library.Loaded());
  PluginInstance plugin(library);
  plugin.OpenLikeAHost(48000.0f, kBlock);
  EXPECT_EQ(plugin.effect->numParams, 24);
  EXPECT_EQ(plugin.effect->numPrograms, 30);
  // Has-editor (0x01) joins where the editor opens a window for the host.
  ERect* rect = nullptr;
  const bool offersEditor = plugin.Dispatch(effEditGetRect, 0, 0, &rect) == 1;
  EXPECT_EQ(plugin.effect->flags, 0x1018 | (offersEditor ? effFlagsHasEditor : 0));
  if (offersEditor)
  {
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, 388);
    EXPECT_EQ(rect->bottom - rect->top, 470);
  }
  EXPECT_EQ(plugin.effect->uniqueID, 0x796A6A33);
  EXPECT_EQ(plugin.effect->version, 10100);

  void* data = nullptr;
  ASSERT_EQ(plugin.Dispatch(effGetChunk, 1, 0, &data), 196);
  int32_t version = 0;
  std::memcpy(&version, data, 4);
  EXPECT_EQ(version, 10100);
  const double defaults[24] = {1, 20, 20, 0, 100, 0, 800, 500, 90, 700, 90, 0,
                               6, 1, 0,  0, 1,   15, 2000, 0, 90, 25, 6, 1};
  for (int i = 0; i < 24; ++i)
  {
    double v = 0;
    std::memcpy(&v, static_cast<char*>(data) + 4 + 8 * i, 8);
    EXPECT_EQ(v, defaults[i]) << i;
  }

  char name[kVstMaxProgNameLen + 1] = {};
  plugin.Dispatch(effGetProgramNameIndexed, 0, -1, name);
  EXPECT_STREQ(name, "---- default ----");
  plugin.Dispatch(effGetProgramNameIndexed, 11, -1, name);
  EXPECT_STREQ(name, "Oscillating Filter");
  plugin.Dispatch(effGetProgramNameIndexed, 29, -1, name);
  EXPECT_STREQ(name, "- 30 -");
  EXPECT_EQ(plugin.Dispatch(effGetProgramNameIndexed, 30, -1, name), 0);
  EXPECT_STREQ(name, "");

  // "LFO1 Rate" is the name of two parameters.
  EXPECT_EQ(plugin.Text(effGetParamName, 17), "LFO1 Rate");
  EXPECT_EQ(plugin.Text(effGetParamName, 18), "LFO1 Rate");
  plugin.Dispatch(effSetProgram, 0, 5);
  EXPECT_EQ(plugin.Text(effGetProgramName), "Glissando");
  EXPECT_EQ(plugin.Text(effGetParamDisplay, 0), "Highpass");
  EXPECT_EQ(plugin.Text(effGetParamDisplay, 1), "20");
}

// One input, preset and MIDI through the plug-in, in double precision. Each
// build writes what it rendered beside its tests; the Windows build then
// compares its render with the Linux build's, when that build has run.
TEST(KestranePluginLibrary, RenderMatchesTheLinuxBuild)
{
  PluginLibrary library(KESTRANE_EFFECT_PLUGIN_LIBRARY);
  ASSERT_TRUE(library.Loaded()) << library.Error();
  PluginInstance plugin(library);
  plugin.OpenLikeAHost(48000.0f, kBlock);
  plugin.Dispatch(effSetProgram, 0, 11); // "Oscillating Filter": LFO and resonance
  const std::vector<double> rendered = Render(plugin, Callback::kDouble, 96, PlainInputSample);
  ASSERT_GT(Peak(rendered), 0.01);
  if (FILE* out = std::fopen(KESTRANE_RENDER_OUTPUT, "wb"))
  {
    std::fwrite(rendered.data(), sizeof(double), rendered.size(), out);
    std::fclose(out);
  }
#ifdef KESTRANE_REFERENCE_RENDER
  std::vector<double> reference(rendered.size() + 1);
  FILE* in = std::fopen(KESTRANE_REFERENCE_RENDER, "rb");
  if (!in) GTEST_SKIP() << "no Linux render at " << KESTRANE_REFERENCE_RENDER << " (run the release tests first)";
  reference.resize(std::fread(reference.data(), sizeof(double), reference.size(), in));
  std::fclose(in);
  ASSERT_EQ(reference.size(), rendered.size());
  double worst = 0;
  std::size_t differing = 0;
  for (std::size_t i = 0; i < rendered.size(); ++i)
  {
    worst = std::max(worst, std::fabs(rendered[i] - reference[i]));
    differing += rendered[i] != reference[i];
  }
  std::printf("samples differing from the Linux render: %zu of %zu, largest difference %.3g\n", differing,
              rendered.size(), worst);
  // The two C runtimes' tan, sin and exp may round the last bit differently
  // (glibc's are correctly rounded in more cases than msvcrt's); through the
  // resonant filter's feedback such a bit stays far below audibility.
  EXPECT_LT(worst, 1e-9);
#endif
}
#endif

INSTANTIATE_TEST_SUITE_P(Libraries, PluginLibraryTest, ::testing::ValuesIn(PluginPaths()), TestName);
