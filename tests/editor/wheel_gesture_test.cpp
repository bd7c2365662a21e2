#include <gtest/gtest.h>

#include "tests/editor/EditorTestSupport.h"

using namespace editortest;

namespace
{
struct Wheel : ::testing::Test
{
  EditorRig rig;
  ProbeControl* knob = rig.Add(new ProbeControl(rig.plug.get(), IRECT(10, 10, 50, 50), TestPlug::kAmount));
  ProbeControl* other = rig.Add(new ProbeControl(rig.plug.get(), IRECT(90, 80, 120, 99), TestPlug::kPan));
  MouseMods none;

  void SetUp() override
  {
    rig.Attach();
    rig.plug->ClearCalls();
  }

  std::vector<std::pair<Call::Kind, int>> Gestures() const
  {
    std::vector<std::pair<Call::Kind, int>> seen;
    for (const Call& c : rig.plug->Calls()) seen.emplace_back(c.kind, c.index);
    return seen;
  }
};
} // namespace

TEST_F(Wheel, StepsAreCoarseOrFineAndClampedAtTheEnds)
{
  rig.editor->MouseWheel(20, 20, &none, 1);
  EXPECT_DOUBLE_EQ(knob->Value(), 0.51);
  MouseMods shift(false, false, true);
  rig.editor->MouseWheel(20, 20, &shift, 1);
  EXPECT_DOUBLE_EQ(knob->Value(), 0.511);
  MouseMods ctrl(false, false, false, true);
  rig.editor->MouseWheel(20, 20, &ctrl, -2);
  EXPECT_DOUBLE_EQ(knob->Value(), 0.509);

  knob->SetValue(0.995);
  for (int i = 0; i < 3; ++i) rig.editor->MouseWheel(20, 20, &none, 1);
  EXPECT_EQ(knob->Value(), 1.0);
  rig.editor->MouseWheel(20, 20, &none, 3);
  EXPECT_EQ(knob->Value(), 1.0);

  knob->SetValue(0.003);
  rig.editor->MouseWheel(20, 20, &none, -1);
  EXPECT_EQ(knob->Value(), 0.0);
  // What the host heard last is the clamped value.
  EXPECT_EQ(rig.plug->CallsOf(Call::kAutomate).back().value, 0.0);
}

TEST_F(Wheel, FiveNotchesMakeOneGestureEndingHalfASecondLater)
{
  for (int i = 0; i < 5; ++i) rig.editor->MouseWheel(20, 20, &none, 1);
  EXPECT_EQ(rig.editor->ParamChangeCountdown(), 12);
  for (int t = 0; t < 11; ++t) rig.editor->Tick();
  EXPECT_TRUE(rig.plug->CallsOf(Call::kEndEdit).empty());
  rig.editor->Tick();

  std::vector<Call::Kind> expected{Call::kBeginEdit};
  for (int i = 0; i < 5; ++i) expected.push_back(Call::kAutomate);
  expected.push_back(Call::kEndEdit);
  EXPECT_EQ(rig.GestureKinds(), expected);
  EXPECT_EQ(rig.plug->CallsOf(Call::kEndEdit)[0].index, TestPlug::kAmount);
  EXPECT_EQ(rig.plug->PendingEditParam(), -1);
  EXPECT_EQ(rig.editor->ParamChangeCountdown(), 0);

  // Further ticks end nothing more.
  for (int t = 0; t < 30; ++t) rig.editor->Tick();
  EXPECT_EQ(rig.plug->CallsOf(Call::kEndEdit).size(), 1u);
}

TEST_F(Wheel, EveryNotchRestartsTheCountdown)
{
  rig.editor->MouseWheel(20, 20, &none, 1);
  for (int t = 0; t < 8; ++t) rig.editor->Tick();
  rig.editor->MouseWheel(20, 20, &none, 1);
  for (int t = 0; t < 11; ++t) rig.editor->Tick();
  EXPECT_TRUE(rig.plug->CallsOf(Call::kEndEdit).empty());
  rig.editor->Tick();
  EXPECT_EQ(rig.plug->CallsOf(Call::kEndEdit).size(), 1u);
}

TEST_F(Wheel, NotchOnAnotherParameterEndsThePendingGestureFirst)
{
  rig.editor->MouseWheel(20, 20, &none, 1);
  rig.editor->MouseWheel(100, 90, &none, 1);
  const std::vector<std::pair<Call::Kind, int>> expected{
      {Call::kBeginEdit, TestPlug::kAmount}, {Call::kAutomate, TestPlug::kAmount},
      {Call::kEndEdit, TestPlug::kAmount},   {Call::kBeginEdit, TestPlug::kPan},
      {Call::kAutomate, TestPlug::kPan}};
  EXPECT_EQ(Gestures(), expected);
  EXPECT_EQ(rig.plug->PendingEditParam(), TestPlug::kPan);
}

TEST_F(Wheel, PressEndsThePendingGestureFirst)
{
  rig.editor->MouseWheel(20, 20, &none, 1);
  MouseMods left(true, false);
  rig.editor->MouseDown(100, 90, &left);
  rig.editor->MouseUp(100, 90, &left);
  const std::vector<std::pair<Call::Kind, int>> expected{
      {Call::kBeginEdit, TestPlug::kAmount}, {Call::kAutomate, TestPlug::kAmount},
      {Call::kEndEdit, TestPlug::kAmount},   {Call::kBeginEdit, TestPlug::kPan},
      {Call::kEndEdit, TestPlug::kPan}};
  EXPECT_EQ(Gestures(), expected);
  EXPECT_EQ(rig.editor->ParamChangeCountdown(), 0);
  for (int t = 0; t < 30; ++t) rig.editor->Tick();
  EXPECT_EQ(rig.plug->CallsOf(Call::kEndEdit).size(), 2u);
}

TEST_F(Wheel, NotchDuringADragOfTheSameKnobJoinsTheDragsGesture)
{
  MouseMods left(true, false);
  rig.editor->MouseDown(20, 20, &left);
  rig.editor->MouseWheel(20, 20, &none, 1);
  rig.editor->MouseUp(20, 20, &left);
  for (int t = 0; t < 30; ++t) rig.editor->Tick();
  const std::vector<std::pair<Call::Kind, int>> expected{{Call::kBeginEdit, TestPlug::kAmount},
                                                         {Call::kAutomate, TestPlug::kAmount},
                                                         {Call::kEndEdit, TestPlug::kAmount}};
  EXPECT_EQ(Gestures(), expected);
}

TEST_F(Wheel, ClosingTheWindowEndsThePendingGesture)
{
  rig.editor->MouseWheel(20, 20, &none, 1);
  rig.editor->CloseEditorWindow();
  EXPECT_EQ(rig.GestureKinds(), (std::vector<Call::Kind>{Call::kBeginEdit, Call::kAutomate, Call::kEndEdit}));
  EXPECT_EQ(rig.editor->ParamChangeCountdown(), 0);
}

class WheelAtFrameRate : public ::testing::TestWithParam<std::pair<int, int>>
{
};

TEST_P(WheelAtFrameRate, GestureEndsAfterHalfTheFrameRateInTicks)
{
  const int fps = GetParam().first;
  const int ticks = GetParam().second;
  EditorRig rig(200, 100, fps);
  rig.Add(new ProbeControl(rig.plug.get(), IRECT(10, 10, 50, 50), TestPlug::kAmount));
  rig.Attach();
  MouseMods none;
  rig.editor->MouseWheel(20, 20, &none, 1);
  for (int t = 0; t < ticks - 1; ++t) rig.editor->Tick();
  EXPECT_TRUE(rig.plug->CallsOf(Call::kEndEdit).empty());
  rig.editor->Tick();
  EXPECT_EQ(rig.plug->CallsOf(Call::kEndEdit).size(), 1u);
}

// fps 0 means 24; at 1 fps half of it would be 0 ticks, and the gesture
// still ends on the next tick rather than never.
INSTANTIATE_TEST_SUITE_P(FrameRates, WheelAtFrameRate,
                         ::testing::Values(std::make_pair(0, 12), std::make_pair(1, 1), std::make_pair(3, 1),
                                           std::make_pair(30, 15)));
