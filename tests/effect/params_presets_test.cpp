#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "tests/effect/EffectTestSupport.h"

using namespace effect_test;

namespace
{
std::string Format(const CLS_KESTRANE& plug, int paramIdx, double value, bool normalized = false)
{
  char text[IParam::kDisplaySize];
  plug.Param(paramIdx)->FormatValue(value, normalized, text);
  return text;
}
} // namespace

TEST(KestraneIdentity, ReportsWhatHostsSee)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  EXPECT_STREQ(plug.EffectName(), "Kestrane");
  EXPECT_STREQ(plug.MakerName(), "Olvendu");
  EXPECT_STREQ(plug.ProductName(), "");
  EXPECT_EQ(plug.UniqueCode(), 0x796A6A33);
  EXPECT_EQ(plug.MakerCode(), ('O' << 24) | ('l' << 16) | ('v' << 8) | 'D');
  EXPECT_EQ(plug.EffectVersion(false), 0x00010100);
  EXPECT_EQ(plug.EffectVersion(true), 10100);
  char version[32];
  plug.EffectVersionText(version);
  EXPECT_STREQ(version, "v1.01");
  EXPECT_EQ(plug.ParamCount(), 24);
  EXPECT_EQ(plug.PresetCount(), 30);
  EXPECT_TRUE(plug.IsLegalIO(1, 1));
  EXPECT_TRUE(plug.IsLegalIO(2, 2));
  EXPECT_FALSE(plug.IsLegalIO(1, 2));
  EXPECT_EQ(plug.Latency(), 0);
  EXPECT_EQ(plug.MidiMode(), 1);
  EXPECT_FALSE(plug.UsesChunks());
  EXPECT_FALSE(plug.IsInstrument());
  EXPECT_EQ(plug.CurrentPresetIndex(), 0);
  EXPECT_FALSE(plug.IsReady());
}

TEST(KestraneParams, TableOfNamesRangesUnitsAndDefaults)
{
  struct Row
  {
    const char* name;
    IParam::EParamKind kind;
    double defaultValue, minValue, maxValue;
    const char* label;
    double shape;
  };
  const Row rows[24] = {
      {"Filter Type", IParam::kTypeEnum, 1, 0, 2, "", 1},
      {"Filter Freq", IParam::kTypeInt, 20, 20, 20000, "Hz", 2},
      {"Filter Bandwidth", IParam::kTypeInt, 20, 1, 100, "%", 1},
      {"Filter Pan", IParam::kTypeInt, 0, -100, 100, "%", 1},
      {"Filter Mix", IParam::kTypeInt, 100, 0, 100, "%", 1},
      {"ENV Target", IParam::kTypeEnum, 0, 0, 4, "", 1},
      {"ENV Attack", IParam::kTypeInt, 800, 0, 16000, "ms", 1},
      {"ENV Decay", IParam::kTypeInt, 500, 0, 16000, "ms", 1},
      {"ENV Sustain", IParam::kTypeInt, 90, 0, 100, "%", 1},
      {"ENV Release", IParam::kTypeInt, 700, 0, 16000, "ms", 1},
      {"ENV Depth", IParam::kTypeInt, 90, 0, 100, "%", 1},
      {"ENV Direction", IParam::kTypeEnum, 0, 0, 1, "", 1},
      {"ENV Vol Compensation", IParam::kTypeInt, 6, 0, 24, "dB", 1},
      {"ENV Compensation", IParam::kTypeEnum, 1, 0, 2, "", 1},
      {"LFO1 Target", IParam::kTypeEnum, 0, 0, 4, "", 1},
      {"LFO1 Wave", IParam::kTypeEnum, 0, 0, 5, "", 1},
      {"LFO1 Sync", IParam::kTypeEnum, 1, 0, 1, "", 1},
      {"LFO1 Rate", IParam::kTypeEnum, 15, 0, 30, "", 1},
      {"LFO1 Rate", IParam::kTypeInt, 2000, 60, 64000, "ms", 2},
      {"LFO1 Env Child", IParam::kTypeEnum, 0, 0, 1, "", 1},
      {"LFO1 Depth", IParam::kTypeInt, 90, 0, 100, "%", 1},
      {"LFO1 Start", IParam::kTypeInt, 25, 0, 100, "%", 1},
      {"LFO1 Vol Compensation", IParam::kTypeInt, 6, 0, 24, "dB", 1},
      {"LFO1 Compensation", IParam::kTypeEnum, 1, 0, 2, "", 1},
  };
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  for (int i = 0; i < 24; ++i)
  {
    SCOPED_TRACE(i);
    const IParam* p = plug.Param(i);
    double lo = 0, hi = 0;
    p->Bounds(&lo, &hi);
    EXPECT_STREQ(p->Title(), rows[i].name);
    EXPECT_EQ(p->Kind(), rows[i].kind);
    EXPECT_EQ(p->CurrentValue(), rows[i].defaultValue);
    EXPECT_EQ(lo, rows[i].minValue);
    EXPECT_EQ(hi, rows[i].maxValue);
    EXPECT_STREQ(p->UnitLabel(), rows[i].label);
    EXPECT_EQ(p->ShapeExponent(), rows[i].shape);
    EXPECT_EQ(p->StepSize(), 1.0);
    EXPECT_EQ(p->Precision(), 0);
  }
}

TEST(KestraneParams, DisplayTexts)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  const char* types[] = {"Lowpass", "Highpass", "Bandpass"};
  const char* targets[] = {"No Assign", "Filter Freq", "Filter Bandwidth", "Filter Pan", "Filter Mix"};
  const char* waves[] = {"Sine", "Triangle", "Saw", "Saw Rev", "Sine Half", "Sine Half 2"};
  const char* comps[] = {"Left", "Right", "Both"};
  for (int v = 0; v < 3; ++v) EXPECT_EQ(Format(plug, kFilterType, v), types[v]);
  for (int v = 0; v < 5; ++v)
  {
    EXPECT_EQ(Format(plug, kEnvTarget, v), targets[v]);
    EXPECT_EQ(Format(plug, kLfoTarget, v), targets[v]);
  }
  // The target texts are the names of the four filter parameters.
  for (int v = 1; v < 5; ++v) EXPECT_STREQ(plug.Param(v)->Title(), targets[v]);
  for (int v = 0; v < 6; ++v) EXPECT_EQ(Format(plug, kLfoWave, v), waves[v]);
  for (int v = 0; v < 3; ++v)
  {
    EXPECT_EQ(Format(plug, kEnvCompensation, v), comps[v]);
    EXPECT_EQ(Format(plug, kLfoCompensation, v), comps[v]);
  }
  EXPECT_EQ(Format(plug, kEnvDirection, 0), "Up");
  EXPECT_EQ(Format(plug, kEnvDirection, 1), "Down");
  EXPECT_EQ(Format(plug, kLfoSync, 0), "No");
  EXPECT_EQ(Format(plug, kLfoSync, 1), "Yes");
  EXPECT_EQ(Format(plug, kLfoEnvChild, 1), "Yes");

  const char* divisions[31] = {"1/32", "1/16T", "1/32D", "1/16", "1/8T",  "1/16D", "1/8",  "1/4T",
                               "1/8D", "1/4",   "1/2T",  "1/4D", "1/2",   "1/1T",  "1/2D", "1/1",
                               "2/1T", "1/1D",  "2/1",   "4/1T", "2/1D",  "4/1",   "8/1T", "4/1D",
                               "8/1",  "16/1T", "8/1D",  "16/1", "32/1T", "16/1D", "32/1"};
  for (int v = 0; v < 31; ++v) EXPECT_EQ(Format(plug, kLfoRateSync, v), divisions[v]) << v;

  // Integers format as plain numbers, without their unit.
  EXPECT_EQ(Format(plug, kFilterPan, -100), "-100");
  EXPECT_EQ(Format(plug, kFilterBandwidth, 20), "20");
}

TEST(KestraneParams, ShapedParametersFromNormalized)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  plug.Param(kFilterFreq)->SetFromNormalized(0.5);
  EXPECT_EQ(plug.Param(kFilterFreq)->CurrentValue(), 5015.0);
  plug.Param(kLfoRateMs)->SetFromNormalized(0.5);
  EXPECT_EQ(plug.Param(kLfoRateMs)->CurrentValue(), 16045.0);
}

namespace
{
struct PresetRow
{
  const char* name;
  int values[24];
};

const PresetRow kExpectedPresets[23] = {
    {"1 oct bandwidth", {2, 2000, 12, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 0, 0, 1, 15, 2000, 0, 90, 25, 6, 1}},
    {"1x2 oct bandwidth", {2, 2000, 25, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 0, 0, 1, 15, 2000, 0, 90, 25, 6, 1}},
    {"2x2 oct bandwidth", {2, 2000, 50, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 0, 0, 1, 15, 2000, 0, 90, 25, 6, 1}},
    {"3x2 oct bandwidth", {2, 2000, 100, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 0, 0, 1, 15, 2000, 0, 90, 25, 6, 1}},
    {"Glissando", {1, 20, 20, 0, 100, 1, 1200, 500, 100, 1000, 90, 0, 20, 1, 0, 0, 1, 15, 2000, 0, 90, 25, 6, 1}},
    {"Glissando Decrescendo", {2, 2000, 30, 0, 100, 1, 1200, 500, 100, 1000, 90, 1, 8, 0, 0, 0, 1, 15, 2000, 0, 90, 25, 6, 1}},
    {"High Frequencies", {1, 8000, 20, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 0, 0, 1, 15, 2000, 0, 90, 25, 6, 1}},
    {"High Phaser", {1, 8000, 10, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 1, 0, 1, 3, 2000, 0, 40, 25, 6, 1}},
    {"Low Frequencies", {0, 3000, 20, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 0, 0, 1, 15, 2000, 0, 90, 25, 6, 1}},
    {"Middle Frequencies", {2, 2000, 15, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 0, 0, 1, 15, 2000, 0, 90, 25, 6, 1}},
    {"Oscillating Filter", {2, 3000, 2, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 4, 1, 1, 9, 2000, 0, 100, 25, 6, 1}},
    {"Oscillating Freq", {1, 8000, 25, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 1, 1, 1, 12, 2000, 0, 60, 25, 6, 1}},
    {"Phaser", {2, 6000, 10, 0, 90, 0, 800, 500, 90, 700, 90, 0, 6, 1, 1, 1, 1, 3, 2000, 0, 50, 25, 6, 1}},
    {"Pan Phaser", {2, 6000, 25, 100, 90, 3, 800, 500, 90, 700, 50, 0, 6, 1, 1, 0, 1, 3, 2000, 0, 50, 25, 6, 1}},
    {"Pad Glissando", {0, 220, 25, 0, 100, 1, 2000, 1000, 100, 2000, 80, 0, 16, 1, 0, 0, 1, 15, 2000, 0, 90, 25, 6, 1}},
    {"Uplifting ADSR", {0, 300, 25, 0, 100, 1, 3000, 500, 100, 1500, 100, 0, 18, 1, 0, 0, 1, 15, 2000, 0, 90, 25, 6, 1}},
    {"Uplifting LFO", {0, 600, 25, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 1, 0, 1, 21, 2000, 0, 100, 25, 18, 1}},
    {"Uplifting HP", {1, 100, 50, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 1, 0, 1, 21, 2000, 0, 80, 25, 22, 1}},
    {"Uplifting BP", {2, 100, 50, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 1, 0, 1, 21, 2000, 0, 80, 25, 22, 1}},
    {"Vibrato", {1, 2000, 50, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 4, 0, 0, 0, 80, 0, 30, 25, 6, 1}},
    {"Vibrato Crescendo", {1, 2000, 50, 0, 100, 0, 3000, 1500, 90, 700, 90, 0, 6, 1, 4, 0, 0, 0, 80, 1, 30, 25, 3, 1}},
    {"Vibrato Sustain", {1, 2000, 50, 0, 100, 0, 2000, 500, 100, 700, 90, 0, 6, 1, 4, 0, 0, 0, 80, 1, 30, 25, 3, 1}},
    {"Tremolo", {1, 2000, 50, 0, 100, 0, 2000, 500, 100, 700, 90, 0, 6, 1, 4, 0, 0, 0, 150, 0, 30, 25, 6, 1}},
};
} // namespace

TEST(KestranePresets, SlotNamesInOrder)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  EXPECT_STREQ(plug.PresetName(0), "---- default ----");
  for (int slot = 1; slot <= 23; ++slot) EXPECT_STREQ(plug.PresetName(slot), kExpectedPresets[slot - 1].name);
  for (int slot = 24; slot < 30; ++slot) EXPECT_EQ(plug.PresetName(slot), "- " + std::to_string(slot + 1) + " -");
}

TEST(KestranePresets, EachFactoryPresetRecallsItsValues)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  OpenAt(plug, 48000.0);
  for (int slot = 1; slot <= 23; ++slot)
  {
    SCOPED_TRACE(kExpectedPresets[slot - 1].name);
    ASSERT_TRUE(plug.RecallPreset(slot));
    EXPECT_EQ(plug.CurrentPresetIndex(), slot);
    for (int i = 0; i < 24; ++i)
    {
      EXPECT_EQ(plug.Param(i)->CurrentValue(), kExpectedPresets[slot - 1].values[i]) << "parameter " << i;
      EXPECT_EQ(plug.AppliedValue(i), kExpectedPresets[slot - 1].values[i]) << "parameter " << i;
    }
  }
}

TEST(KestranePresets, GlissandoReachesTheEngine)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  OpenAt(plug, 48000.0);
  Set(plug, kFilterType, 0);
  ASSERT_TRUE(plug.RecallPreset(5));
  EXPECT_EQ(plug.FilterState().mFilterType, 1);
  EXPECT_EQ(plug.FilterState().mFreqParam, 20.0f);
  EXPECT_EQ(plug.EnvelopeState().mEnvTarget, 1);
  EXPECT_NEAR(plug.EnvelopeState().mEnvCompGain, 10.0, 1e-12); // 20 dB
}

TEST(KestranePresets, DefaultSlotRestoresNothing)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  OpenAt(plug, 48000.0);
  Set(plug, kFilterFreq, 1234);
  ASSERT_TRUE(plug.RecallPreset(3));
  plug.RecallPreset(0);
  EXPECT_EQ(plug.Param(kFilterFreq)->CurrentValue(), 2000.0); // still preset 3's
  EXPECT_EQ(plug.Param(kFilterBandwidth)->CurrentValue(), 50.0);
}
