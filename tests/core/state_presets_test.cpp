#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/RecordingEditor.h"
#include "tests/support/TestPlug.h"

namespace
{
ChunkBuffer StateOf(std::initializer_list<double> values)
{
  ChunkBuffer chunk;
  for (double v : values) chunk.WriteDouble(v);
  return chunk;
}

std::vector<double> Values(const IPlugBase& plug)
{
  std::vector<double> v;
  for (int i = 0; i < plug.ParamCount(); ++i) v.push_back(plug.Param(i)->CurrentValue());
  return v;
}
} // namespace

TEST(State, SaveWritesEachRealValueAsALittleEndianDouble)
{
  TestPlug big(30, "1-1 2-2", 24);
  for (int i = 0; i < 24; ++i) big.Param(i)->SetClamped(i * 10.0 - 5.0);
  ChunkBuffer chunk;
  ASSERT_TRUE(big.SaveState(&chunk));
  ASSERT_EQ(chunk.Length(), 192);
  for (int i = 0; i < 24; ++i)
  {
    double v = 0;
    std::memcpy(&v, chunk.Bytes() + 8 * i, 8);
    EXPECT_EQ(v, i * 10.0 - 5.0);
  }
  // The bytes are the IEEE little-endian encoding: -5.0 is 0xC014000000000000.
  const unsigned char minusFive[] = {0, 0, 0, 0, 0, 0, 0x14, 0xC0};
  EXPECT_EQ(std::memcmp(chunk.Bytes(), minusFive, 8), 0);
}

TEST(State, LoadAppliesClampsAndReportsTheEndPosition)
{
  TestPlug plug;
  ChunkBuffer chunk = StateOf({2, 30000, -3.5, 0.25, 99, 99}); // two extra values
  EXPECT_EQ(plug.LoadState(&chunk, 0), 32);
  EXPECT_EQ(Values(plug), (std::vector<double>{2, 20000, -3.5, 0.25}));
  EXPECT_EQ(plug.mApplied, (std::vector<int>{0, 1, 2, 3}));
}

TEST(State, ShortStateRestoresWhatItHoldsAndFails)
{
  TestPlug plug;
  const std::vector<double> before = Values(plug);
  ChunkBuffer chunk = StateOf({0, 440});
  chunk.WriteInt(7); // half a value
  EXPECT_EQ(plug.LoadState(&chunk, 0), -1);
  EXPECT_EQ(Values(plug), (std::vector<double>{0, 440, before[2], before[3]}));
  EXPECT_EQ(plug.mApplied, (std::vector<int>{0, 1}));

  // An empty state changes nothing at all.
  TestPlug untouched;
  ChunkBuffer empty;
  EXPECT_EQ(untouched.LoadState(&empty, 0), -1);
  EXPECT_EQ(Values(untouched), before);
  EXPECT_TRUE(untouched.mApplied.empty());
  EXPECT_EQ(untouched.LoadState(&chunk, -1), -1);
  EXPECT_EQ(untouched.LoadState(nullptr, 0), -1);
}

TEST(State, TwentyFourParametersLoadFromLongAndShortStates)
{
  TestPlug plug(30, "1-1 2-2", 24);
  ChunkBuffer longState;
  for (int i = 0; i < 25; ++i) longState.WriteDouble(i);
  ASSERT_EQ(longState.Length(), 200);
  EXPECT_EQ(plug.LoadState(&longState, 0), 192);
  EXPECT_EQ(plug.Param(23)->CurrentValue(), 23.0);

  TestPlug shorter(30, "1-1 2-2", 24);
  ChunkBuffer shortState;
  for (int i = 0; i < 12; ++i) shortState.WriteDouble(i + 1);
  shortState.WriteInt(0); // 100 bytes in all
  ASSERT_EQ(shortState.Length(), 100);
  EXPECT_EQ(shorter.LoadState(&shortState, 0), -1);
  EXPECT_EQ(shorter.Param(11)->CurrentValue(), 12.0);
  EXPECT_EQ(shorter.Param(12)->CurrentValue(), 0.0); // its default, untouched
  EXPECT_EQ(shorter.mApplied.size(), 12u);
}

TEST(Presets, MakePresetFromValuesFillsTheFirstFreeSlotWithoutTouchingLiveValues)
{
  TestPlug plug(3);
  plug.NameFreePresets("---- default ----", 1);
  const double values[] = {2, 440.7, -10, 0.125};
  EXPECT_TRUE(plug.MakePresetFromValues("Bright", values, 4));
  EXPECT_STREQ(plug.PresetName(0), "---- default ----");
  EXPECT_STREQ(plug.PresetName(1), "Bright");
  EXPECT_EQ(plug.Param(TestPlug::kFreq)->CurrentValue(), 1000.0);

  EXPECT_TRUE(plug.RecallPreset(1));
  EXPECT_EQ(plug.CurrentPresetIndex(), 1);
  // Integral parameters take whole numbers; doubles are kept as given.
  EXPECT_EQ(Values(plug), (std::vector<double>{2, 440, -10, 0.125}));

  EXPECT_FALSE(plug.MakePresetFromValues("Wrong count", values, 3));
  EXPECT_TRUE(plug.MakePresetFromValues("Last", values, 4));
  EXPECT_FALSE(plug.MakePresetFromValues("No room", values, 4));
  EXPECT_STREQ(plug.PresetName(2), "Last");
}

TEST(Presets, RecallingAnEmptyFilledSlotFailsAndChangesNothing)
{
  TestPlug plug(3);
  plug.NameFreePresets("---- default ----", 1);
  plug.Param(TestPlug::kType)->SetClamped(2);
  EXPECT_FALSE(plug.RecallPreset(0));
  EXPECT_EQ(plug.Param(TestPlug::kType)->CurrentValue(), 2.0);
  EXPECT_TRUE(plug.mApplied.empty());
  EXPECT_FALSE(plug.RecallPreset(3));
  EXPECT_FALSE(plug.RecallPreset(-1));
}

TEST(Presets, SelectingAFreeSlotMakesAUserPreset)
{
  TestPlug plug(4);
  auto* editor = new RecordingEditor(&plug);
  plug.AttachEditor(editor);
  editor->mShown.clear();

  plug.Param(TestPlug::kPan)->SetClamped(33);
  EXPECT_TRUE(plug.RecallPreset(2));
  EXPECT_STREQ(plug.PresetName(2), "user preset 1");
  EXPECT_EQ(plug.CurrentPresetIndex(), 2);
  EXPECT_EQ(plug.Param(TestPlug::kPan)->CurrentValue(), 33.0); // live values stay
  EXPECT_EQ(editor->mShown.size(), 4u);                         // controls refreshed

  // The second time the slot is filled but holds no state: it fails.
  plug.RecallPreset(0);
  EXPECT_FALSE(plug.RecallPreset(2));
  EXPECT_EQ(plug.CurrentPresetIndex(), 0);

  // Storing into it gives it the live state; recalling it then works.
  EXPECT_TRUE(plug.RecallPreset(1));
  plug.Param(TestPlug::kPan)->SetClamped(-40);
  plug.StoreIntoCurrentPreset("Mine");
  EXPECT_STREQ(plug.PresetName(1), "Mine");
  plug.Param(TestPlug::kPan)->SetClamped(0);
  EXPECT_TRUE(plug.RecallPreset(1));
  EXPECT_EQ(plug.Param(TestPlug::kPan)->CurrentValue(), -40.0);

  // A null or empty name keeps the old one.
  plug.StoreIntoCurrentPreset("");
  EXPECT_STREQ(plug.PresetName(1), "Mine");
}

TEST(Presets, UserPresetNumberingCountsExistingNames)
{
  TestPlug plug(4);
  plug.RecallPreset(0); // user preset 1
  plug.RecallPreset(1); // user preset 2
  plug.RecallPreset(0);
  plug.StoreIntoCurrentPreset("my user preset 3"); // still contains the text
  plug.RecallPreset(1);
  plug.StoreIntoCurrentPreset("other");
  char name[IPreset::kNameSize];
  plug.MakeUserPresetName(name);
  EXPECT_STREQ(name, "user preset 2"); // one slot matches: count 1, plus 1

  TestPlug dup(3);
  dup.RecallPreset(0);
  dup.RecallPreset(1);
  dup.RecallPreset(1);
  dup.StoreIntoCurrentPreset("user preset 3");
  dup.MakeUserPresetName(name);
  EXPECT_STREQ(name, "user preset 3"); // a duplicate, by design of the count
}

TEST(Presets, NameFreePresetsStopsWhenSlotsRunOut)
{
  TestPlug plug(3);
  plug.NameFreePresets(nullptr, 10);
  for (int i = 0; i < 3; ++i) EXPECT_STREQ(plug.PresetName(i), "Default");
}

TEST(Presets, EnsureDefaultPresetOnlyWithoutSlots)
{
  TestPlug none(0);
  none.EnsureDefaultPreset();
  EXPECT_EQ(none.PresetCount(), 1);
  EXPECT_STREQ(none.PresetName(0), "Default");
  TestPlug some(2);
  some.EnsureDefaultPreset();
  EXPECT_EQ(some.PresetCount(), 2);
  EXPECT_STREQ(some.PresetName(0), "- 1 -");
}

TEST(Presets, RemoveFreePresetsKeepsOrder)
{
  TestPlug plug(5);
  const double values[] = {0, 100, 0, 0};
  plug.NameFreePresets("A", 1);
  plug.MakePresetFromValues("B", values, 4);
  plug.RecallPreset(3);
  plug.RemoveFreePresets();
  ASSERT_EQ(plug.PresetCount(), 3);
  EXPECT_STREQ(plug.PresetName(0), "A");
  EXPECT_STREQ(plug.PresetName(1), "B");
  EXPECT_STREQ(plug.PresetName(2), "user preset 1");
}

TEST(Presets, RecallPresetNamedMatchesExactly)
{
  TestPlug plug(3);
  const double values[] = {0, 300, 0, 0};
  plug.MakePresetFromValues("Warm", values, 4);
  EXPECT_FALSE(plug.RecallPresetNamed(nullptr));
  EXPECT_FALSE(plug.RecallPresetNamed(""));
  EXPECT_FALSE(plug.RecallPresetNamed("warm"));
  EXPECT_TRUE(plug.RecallPresetNamed("Warm"));
  EXPECT_EQ(plug.Param(TestPlug::kFreq)->CurrentValue(), 300.0);
}

TEST(Presets, OverlongNamesAreCut)
{
  TestPlug plug(2);
  const std::string longName(400, 'q');
  plug.NameFreePresets(longName.c_str(), 1);
  EXPECT_EQ(std::strlen(plug.PresetName(0)), 255u);
  plug.StoreIntoCurrentPreset(longName.c_str());
  EXPECT_EQ(std::strlen(plug.PresetName(0)), 255u);
}

TEST(PresetBank, RoundTripRestoresNamesFlagsAndStates)
{
  TestPlug source(4);
  const double a[] = {0, 100, -50, 0.25};
  const double b[] = {2, 8000, 75, 1.0};
  source.NameFreePresets("---- default ----", 1);
  source.MakePresetFromValues("A", a, 4);
  source.MakePresetFromValues("B", b, 4);
  ChunkBuffer bank;
  ASSERT_TRUE(source.SavePresetBank(&bank));
  // 4 slots: names and flags, and two 32-byte states.
  EXPECT_EQ(bank.Length(), (4 + 17 + 1) + (4 + 1 + 1 + 32) + (4 + 1 + 1 + 32) + (4 + 5 + 1));

  TestPlug dest(4);
  EXPECT_EQ(dest.LoadPresetBank(&bank, 0), bank.Length());
  EXPECT_STREQ(dest.PresetName(0), "---- default ----");
  EXPECT_STREQ(dest.PresetName(1), "A");
  EXPECT_STREQ(dest.PresetName(2), "B");
  EXPECT_STREQ(dest.PresetName(3), "- 4 -");
  EXPECT_TRUE(dest.RecallPreset(2));
  EXPECT_EQ(Values(dest), (std::vector<double>{2, 8000, 75, 1.0}));
  EXPECT_TRUE(dest.RecallPreset(1));
  EXPECT_EQ(Values(dest), (std::vector<double>{0, 100, -50, 0.25}));
}

TEST(PresetBank, GarbageAndTruncatedBanksNeverCrash)
{
  TestPlug source(3);
  const double a[] = {1, 500, 10, 0.5};
  source.MakePresetFromValues("A", a, 4);
  source.MakePresetFromValues("B", a, 4);
  ChunkBuffer bank;
  source.SavePresetBank(&bank);
  for (int cut = 0; cut < bank.Length(); ++cut)
  {
    ChunkBuffer truncated;
    truncated.WriteBytes(bank.Bytes(), cut);
    TestPlug dest(3);
    const int pos = dest.LoadPresetBank(&truncated, 0);
    EXPECT_LE(pos, truncated.Length() + 4) << cut;
    for (int i = 0; i < 3; ++i) EXPECT_LT(std::strlen(dest.PresetName(i)), 256u);
  }

  ChunkBuffer garbage;
  for (int i = 0; i < 64; ++i) garbage.WriteInt(i * 0x10203 - 77);
  TestPlug dest(3);
  dest.LoadPresetBank(&garbage, 0);
  EXPECT_EQ(dest.LoadPresetBank(nullptr, 0), -1);
}
