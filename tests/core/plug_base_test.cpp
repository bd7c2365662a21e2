#include <cmath>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/RecordingEditor.h"
#include "tests/support/TestPlug.h"

TEST(PlugBase, ChannelStringGivesConfigurationsAndChannelCounts)
{
  TestPlug plug;
  EXPECT_EQ(plug.InputCount(), 2);
  EXPECT_EQ(plug.OutputCount(), 2);
  EXPECT_TRUE(plug.IsLegalIO(1, 1));
  EXPECT_TRUE(plug.IsLegalIO(2, 2));
  EXPECT_TRUE(plug.IsLegalIO(1, -1));
  EXPECT_TRUE(plug.IsLegalIO(-1, 2));
  EXPECT_FALSE(plug.IsLegalIO(1, 2));
  EXPECT_FALSE(plug.IsLegalIO(0, 0));

  // A token that does not parse is a 0-0 configuration.
  TestPlug odd(1, "x 0-4 3-1");
  EXPECT_TRUE(odd.IsLegalIO(0, 0));
  EXPECT_TRUE(odd.IsLegalIO(0, 4));
  EXPECT_EQ(odd.InputCount(), 3);
  EXPECT_EQ(odd.OutputCount(), 4);

  TestPlug none(1, "");
  EXPECT_EQ(none.InputCount(), 0);
  EXPECT_FALSE(none.IsLegalIO(-1, -1));
}

TEST(PlugBase, InitialStateAndIdentity)
{
  TestPlug plug;
  EXPECT_EQ(plug.SampleRate(), 44100.0);
  EXPECT_EQ(plug.CurrentPresetIndex(), 0);
  EXPECT_EQ(plug.PendingEditParam(), -1);
  EXPECT_FALSE(plug.IsReady());
  EXPECT_EQ(plug.Editor(), nullptr);
  EXPECT_STREQ(plug.EffectName(), "Test Effect");
  EXPECT_STREQ(plug.ProductName(), "Test Product");
  EXPECT_STREQ(plug.MakerName(), "Test Maker");
  EXPECT_EQ(plug.EffectVersion(false), 0x00010100);
  EXPECT_EQ(plug.EffectVersion(true), 10100);
  char text[32];
  plug.EffectVersionText(text);
  EXPECT_STREQ(text, "v1.01");
  EXPECT_EQ(plug.Param(-1), nullptr);
  EXPECT_EQ(plug.Param(TestPlug::kNumParams), nullptr);
  EXPECT_STREQ(plug.PresetName(0), "- 1 -");
  EXPECT_STREQ(plug.PresetName(3), "- 4 -");
  EXPECT_STREQ(plug.PresetName(4), "");
}

TEST(PlugBase, OverlongNamesAreCutAtTheirField)
{
  const std::string longName(300, 'x');
  IPlugTest plug(IPlugTest::InstanceInfo{}, 1, "2-2", 1, longName.c_str(), longName.c_str(), longName.c_str(),
                 0x00010000, 1, 2, 0, 0, false, false);
  EXPECT_EQ(std::strlen(plug.EffectName()), 127u);
  EXPECT_EQ(std::strlen(plug.ProductName()), 127u);
  EXPECT_EQ(std::strlen(plug.MakerName()), 127u);
}

TEST(PlugBase, HostIdentificationByProductString)
{
  struct Case
  {
    const char* product;
    int code;
  };
  const Case cases[] = {
      {"Steinberg CUBASE", 3},  {"Ableton Live 11", 9}, {"", 0},          {"Some unknown host", 0},
      {"REAPER64", 1},          {"Ardour 7.3", 27},      {"Adobe Audition", 17},
      // "cubase" is searched before "live": the earlier substring wins.
      {"cubase live", 3},       {"BrainWaveProducer cubase", 28},
  };
  for (const Case& c : cases)
  {
    TestPlug plug;
    plug.SetHostKind(c.product, 0x00070300);
    EXPECT_EQ(plug.HostKind(), c.code) << c.product;
    EXPECT_EQ(plug.HostVersionCode(), 0x00070300);
  }

  // Only the first 263 characters are considered.
  std::string padded(263, ' ');
  TestPlug plug;
  plug.SetHostKind((padded + "reaper").c_str(), 0);
  EXPECT_EQ(plug.HostKind(), 0);
  plug.SetHostKind((std::string(257, ' ') + "reaper").c_str(), 0);
  EXPECT_EQ(plug.HostKind(), 1);

  TestPlug lazy;
  lazy.SetHostProduct("Cakewalk Sonar");
  EXPECT_EQ(lazy.HostKind(), 5);
}

TEST(PlugBase, SamplesPerBeatFollowsHostTempo)
{
  TestPlug plug;
  plug.ChangeSampleRate(48000.0);
  plug.SetTempo(120.0);
  EXPECT_EQ(plug.SamplesPerBeat(), 24000.0);
  plug.SetTempo(0.0);
  EXPECT_EQ(plug.SamplesPerBeat(), 0.0);
  plug.SetTempo(-5.0);
  EXPECT_EQ(plug.SamplesPerBeat(), 0.0);
}

TEST(PlugBase, AttachEditorShowsNormalisedValuesThenOwnsTheEditor)
{
  bool deleted = false;
  {
    TestPlug plug;
    plug.AttachEditor(nullptr); // nothing happens
    EXPECT_EQ(plug.Editor(), nullptr);

    auto* editor = new RecordingEditor(&plug, 24, &deleted);
    plug.AttachEditor(editor);
    EXPECT_EQ(plug.Editor(), editor);
    EXPECT_EQ(editor->mPrepareCount, 1);
    ASSERT_EQ(editor->mShown.size(), static_cast<size_t>(TestPlug::kNumParams));
    for (int i = 0; i < TestPlug::kNumParams; ++i)
    {
      EXPECT_EQ(editor->mShown[i].paramIdx, i);
      EXPECT_TRUE(editor->mShown[i].normalized);
      EXPECT_DOUBLE_EQ(editor->mShown[i].value, plug.Param(i)->NormalizedValue());
    }

    // RefreshParamControls sends real values.
    editor->mShown.clear();
    plug.RefreshParamControls();
    ASSERT_EQ(editor->mShown.size(), static_cast<size_t>(TestPlug::kNumParams));
    EXPECT_FALSE(editor->mShown[TestPlug::kFreq].normalized);
    EXPECT_EQ(editor->mShown[TestPlug::kFreq].value, 1000.0);
    EXPECT_FALSE(deleted);
  }
  EXPECT_TRUE(deleted);
}

TEST(PlugBase, AnEditorReplacedByAnotherIsDeleted)
{
  bool firstDeleted = false;
  bool secondDeleted = false;
  {
    TestPlug plug;
    auto* first = new RecordingEditor(&plug, 24, &firstDeleted);
    plug.AttachEditor(first);
    plug.AttachEditor(first); // the same editor again: kept
    EXPECT_FALSE(firstDeleted);
    EXPECT_EQ(first->mPrepareCount, 2);
    auto* second = new RecordingEditor(&plug, 24, &secondDeleted);
    plug.AttachEditor(second);
    EXPECT_TRUE(firstDeleted);
    EXPECT_EQ(plug.Editor(), second);
    EXPECT_FALSE(secondDeleted);
  }
  EXPECT_TRUE(secondDeleted);
}

TEST(PlugBase, AfterParamsResetAppliesEveryParameterInOrder)
{
  TestPlug plug;
  plug.Open();
  EXPECT_EQ(plug.mApplied, (std::vector<int>{0, 1, 2, 3}));
}

TEST(PlugBase, SendMidiMessagesReportsWhetherAllWereTaken)
{
  TestPlug plug;
  MidiMessage msgs[2];
  msgs[0].mStatusByte = 0x90;
  msgs[1].mStatusByte = 0x80;
  EXPECT_TRUE(plug.SendMidiMessages(msgs, 2));
  ASSERT_EQ(plug.CallsOf(IPlugTest::HostCall::kMidiOut).size(), 2u);
  EXPECT_EQ(plug.CallsOf(IPlugTest::HostCall::kMidiOut)[1].midi.mStatusByte, 0x80);
  plug.SetMidiOutAccepted(false);
  EXPECT_FALSE(plug.SendMidiMessages(msgs, 2));
  EXPECT_EQ(plug.CallsOf(IPlugTest::HostCall::kMidiOut).size(), 4u); // still sends each
}

TEST(PlugBase, DefaultProcessBlockCopiesThroughAndSilencesExtraOutputs)
{
  IPlugTest plug(IPlugTest::InstanceInfo{}, 0, "1-2", 1, "e", "p", "m", 0, 0, 0, 0, 0, false, false);
  plug.SetReady(true);
  double in0[4] = {1, 2, 3, 4};
  double out0[4] = {}, out1[4] = {9, 9, 9, 9};
  double* ins[] = {in0};
  double* outs[] = {out0, out1};
  plug.ProcessDouble(ins, outs, 4);
  for (int s = 0; s < 4; ++s)
  {
    EXPECT_EQ(out0[s], in0[s]);
    EXPECT_EQ(out1[s], 0.0);
  }
}

// The test wrapper reaches the sample rate through the same facade as the VST
// and AU wrappers: a rate no host could deliver never reaches the engine.
TEST(PlugBase, HostFacadeIgnoresSampleRatesThatAreNotPositiveNumbers)
{
  TestPlug plug;
  plug.SetSampleRate(48000.0);
  for (double bad : {0.0, -44100.0, std::nan(""), HUGE_VAL, -HUGE_VAL})
  {
    plug.SetSampleRate(bad);
    EXPECT_EQ(plug.SampleRate(), 48000.0) << bad;
  }
}
