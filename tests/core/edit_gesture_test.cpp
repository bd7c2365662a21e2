#include <gtest/gtest.h>

#include "tests/support/RecordingEditor.h"
#include "tests/support/TestPlug.h"

using Call = IPlugTest::HostCall;

namespace
{
std::vector<Call::Kind> Kinds(const IPlugTest& plug)
{
  std::vector<Call::Kind> kinds;
  for (const Call& c : plug.Calls())
    if (c.kind == Call::kBeginEdit || c.kind == Call::kEndEdit || c.kind == Call::kAutomate) kinds.push_back(c.kind);
  return kinds;
}

// One wheel notch as the editor performs it.
void WheelNotch(IPlugTest& plug, int paramIdx, double normalized)
{
  plug.BeginHostEditCoalesced(paramIdx);
  plug.SetParameterFromEditor(paramIdx, normalized);
  plug.EndHostEditDelayed(paramIdx);
}
} // namespace

TEST(EditGesture, SetParameterFromEditorSetsNotifiesAndApplies)
{
  TestPlug plug;
  plug.SetParameterFromEditor(TestPlug::kFreq, 0.5);
  EXPECT_EQ(plug.Param(TestPlug::kFreq)->CurrentValue(), 5015.0);
  ASSERT_EQ(plug.CallsOf(Call::kAutomate).size(), 1u);
  EXPECT_EQ(plug.CallsOf(Call::kAutomate)[0].index, TestPlug::kFreq);
  EXPECT_EQ(plug.CallsOf(Call::kAutomate)[0].value, 0.5);
  EXPECT_EQ(plug.mApplied, std::vector<int>{TestPlug::kFreq});

  plug.ClearCalls();
  plug.SetParameterFromEditor(99, 0.5); // bad index: nothing
  plug.SetParameterFromEditor(-1, 0.5);
  EXPECT_TRUE(plug.Calls().empty());
}

TEST(EditGesture, WheelNotchesOnOneParameterMakeOneGesture)
{
  TestPlug plug;
  auto* editor = new RecordingEditor(&plug, 24);
  plug.AttachEditor(editor);

  for (int i = 0; i < 5; ++i) WheelNotch(plug, TestPlug::kPan, 0.5 + 0.01 * i);
  EXPECT_EQ(plug.PendingEditParam(), TestPlug::kPan);
  EXPECT_EQ(editor->mStartedTicks.back(), 12); // 24 fps / 2

  // The end arrives only when the countdown runs out.
  for (int t = 0; t < 11; ++t) editor->Tick();
  EXPECT_TRUE(plug.CallsOf(Call::kEndEdit).empty());
  editor->Tick();

  std::vector<Call::Kind> expected{Call::kBeginEdit};
  for (int i = 0; i < 5; ++i) expected.push_back(Call::kAutomate);
  expected.push_back(Call::kEndEdit);
  EXPECT_EQ(Kinds(plug), expected);
  EXPECT_EQ(plug.PendingEditParam(), -1);
}

TEST(EditGesture, NotchOnAnotherParameterEndsThePendingOneFirst)
{
  TestPlug plug;
  plug.AttachEditor(new RecordingEditor(&plug, 24));
  WheelNotch(plug, TestPlug::kPan, 0.6);
  WheelNotch(plug, TestPlug::kFreq, 0.6);

  const auto& calls = plug.Calls();
  std::vector<std::pair<Call::Kind, int>> seen;
  for (const Call& c : calls) seen.emplace_back(c.kind, c.index);
  const std::vector<std::pair<Call::Kind, int>> expected{
      {Call::kBeginEdit, TestPlug::kPan}, {Call::kAutomate, TestPlug::kPan}, {Call::kEndEdit, TestPlug::kPan},
      {Call::kBeginEdit, TestPlug::kFreq}, {Call::kAutomate, TestPlug::kFreq}};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(plug.PendingEditParam(), TestPlug::kFreq);
}

TEST(EditGesture, MousePressFlushesPendingWheelGesture)
{
  TestPlug plug;
  auto* editor = new RecordingEditor(&plug, 24);
  plug.AttachEditor(editor);
  WheelNotch(plug, TestPlug::kPan, 0.6);
  plug.BeginHostEdit(TestPlug::kPan); // a press on the same parameter
  const auto begins = plug.CallsOf(Call::kBeginEdit);
  const auto ends = plug.CallsOf(Call::kEndEdit);
  EXPECT_EQ(begins.size(), 2u);
  EXPECT_EQ(ends.size(), 1u);
  EXPECT_EQ(editor->mTimerTicks, 0); // countdown cancelled
}

TEST(EditGesture, TickCountNeverBelowOne)
{
  TestPlug plug;
  auto* editor = new RecordingEditor(&plug, 1);
  plug.AttachEditor(editor);
  WheelNotch(plug, TestPlug::kPan, 0.6);
  EXPECT_EQ(editor->mStartedTicks.back(), 1);
}

TEST(EditGesture, WithoutEditorTheEndIsImmediate)
{
  TestPlug plug;
  WheelNotch(plug, TestPlug::kPan, 0.6);
  WheelNotch(plug, TestPlug::kPan, 0.7);
  // Without an editor nothing is pending, so each notch is its own gesture.
  EXPECT_EQ(plug.CallsOf(Call::kBeginEdit).size(), 2u);
  EXPECT_EQ(plug.CallsOf(Call::kEndEdit).size(), 2u);
  EXPECT_EQ(plug.PendingEditParam(), -1);
}
