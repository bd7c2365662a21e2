#include <gtest/gtest.h>

#include "tests/editor/EditorTestSupport.h"

using namespace editortest;
using Event = ProbeControl::Event;

namespace
{
struct Routing : ::testing::Test
{
  EditorRig rig;
  ProbeControl* knob = rig.Add(new ProbeControl(rig.plug.get(), IRECT(10, 10, 50, 50), TestPlug::kAmount));
  ProbeControl* other = rig.Add(new ProbeControl(rig.plug.get(), IRECT(90, 80, 120, 99), TestPlug::kPan));
  MouseMods left{true, false};

  void SetUp() override
  {
    rig.Attach();
    rig.plug->ClearCalls();
  }
};
} // namespace

TEST_F(Routing, DragLeavingTheControlStaysCapturedAndReleaseOutsideEndsTheGesture)
{
  rig.editor->MouseDown(20, 20, &left);
  rig.editor->MouseDrag(100, 90, &left);  // over the other control
  rig.editor->MouseDrag(150, 150, &left); // over nothing
  rig.editor->MouseUp(160, 170, &left);   // released over nothing

  ASSERT_EQ(knob->mEvents.size(), 4u);
  EXPECT_EQ(knob->mEvents[1].kind, Event::kDrag);
  EXPECT_EQ(knob->mEvents[2].kind, Event::kDrag);
  EXPECT_EQ(knob->mEvents[3].kind, Event::kUp);
  EXPECT_EQ(knob->mEvents[3].x, 160);
  EXPECT_TRUE(other->mEvents.empty());

  const auto begins = rig.plug->CallsOf(Call::kBeginEdit);
  const auto ends = rig.plug->CallsOf(Call::kEndEdit);
  ASSERT_EQ(begins.size(), 1u);
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(begins[0].index, TestPlug::kAmount);
  EXPECT_EQ(ends[0].index, TestPlug::kAmount);
  EXPECT_EQ(rig.editor->Capture(), -1);
}

TEST_F(Routing, DragDeltasRunFromThePressAndRepeatsAreDropped)
{
  rig.editor->MouseDrag(30, 30, &left); // no capture yet: nothing
  EXPECT_TRUE(knob->mEvents.empty());

  rig.editor->MouseDown(20, 20, &left);
  rig.editor->MouseDrag(20, 20, &left); // the press position itself
  rig.editor->MouseDrag(25, 17, &left);
  rig.editor->MouseDrag(25, 17, &left); // same as the last delivered
  rig.editor->MouseDrag(22, 30, &left);

  std::vector<std::pair<int, int>> deltas;
  for (const Event& e : knob->mEvents)
    if (e.kind == Event::kDrag) deltas.emplace_back(e.dX, e.dY);
  const std::vector<std::pair<int, int>> expected{{5, -3}, {-3, 13}};
  EXPECT_EQ(deltas, expected);
}

TEST_F(Routing, PressOnAControlWithoutParameterTellsTheHostNothing)
{
  auto* label = new ProbeControl(rig.plug.get(), IRECT(150, 0, 200, 20));
  rig.editor->AddControl(label);
  rig.editor->MouseDown(160, 10, &left);
  rig.editor->MouseUp(160, 10, &left);
  EXPECT_EQ(label->Count(Event::kDown), 1);
  EXPECT_EQ(label->Count(Event::kUp), 1);
  EXPECT_TRUE(rig.plug->Calls().empty());
}

TEST_F(Routing, DoubleClickRestoresTheLearnedDefault)
{
  // Attaching pushed the parameter's initial value, 0.5.
  ASSERT_EQ(knob->Default(), 0.5);
  knob->SetValue(0.9);
  EXPECT_FALSE(rig.editor->MouseDoubleClick(20, 20, &left));
  EXPECT_EQ(knob->Value(), 0.5);
  EXPECT_EQ(knob->Count(Event::kDouble), 1);
  EXPECT_EQ(rig.editor->Capture(), -1);
  rig.editor->MouseUp(20, 20, &left);

  EXPECT_EQ(rig.GestureKinds(), (std::vector<Call::Kind>{Call::kBeginEdit, Call::kAutomate, Call::kEndEdit}));
  EXPECT_EQ(rig.plug->CallsOf(Call::kAutomate)[0].value, 0.5);
  EXPECT_DOUBLE_EQ(rig.plug->Param(TestPlug::kAmount)->CurrentValue(), 0.5);
}

TEST_F(Routing, TheReleaseAfterADoubleClickEndsTheDoubleClickedParameter)
{
  knob->SetValue(0.9);
  EXPECT_FALSE(rig.editor->MouseDoubleClick(20, 20, &left));
  rig.editor->MouseUp(100, 90, &left); // released over the other control
  EXPECT_EQ(rig.GestureKinds(TestPlug::kAmount),
            (std::vector<Call::Kind>{Call::kBeginEdit, Call::kAutomate, Call::kEndEdit}));
  EXPECT_TRUE(rig.GestureKinds(TestPlug::kPan).empty());
  rig.editor->MouseUp(100, 90, &left); // a stray release ends nothing
  EXPECT_EQ(rig.plug->CallsOf(Call::kEndEdit).size(), 1u);
}

TEST_F(Routing, DoubleClickDoesNothingWhileTheDefaultIsUnknown)
{
  // Added after attaching: no value was ever pushed to it.
  auto* late = new ProbeControl(rig.plug.get(), IRECT(150, 0, 200, 20), TestPlug::kAmount);
  rig.editor->AddControl(late);
  late->SetValue(0.9);
  EXPECT_FALSE(rig.editor->MouseDoubleClick(160, 10, &left));
  EXPECT_EQ(late->Value(), 0.9);
  EXPECT_TRUE(rig.plug->CallsOf(Call::kAutomate).empty());
}

TEST_F(Routing, DoubleAsSingleCapturesAndDeliversAPress)
{
  knob->SetDoubleAsSingle(true);
  knob->SetValue(0.9);
  EXPECT_TRUE(rig.editor->MouseDoubleClick(20, 20, &left));
  EXPECT_EQ(rig.editor->Capture(), 0);
  EXPECT_EQ(knob->Count(Event::kDown), 1);
  EXPECT_EQ(knob->Count(Event::kDouble), 0);
  EXPECT_EQ(knob->Value(), 0.9); // not reset to the default

  rig.editor->MouseDrag(20, 24, &left);
  ASSERT_EQ(knob->Count(Event::kDrag), 1);
  EXPECT_EQ(knob->mEvents.back().dY, 4);
  rig.editor->MouseUp(200, 200, &left);
  EXPECT_EQ(knob->Count(Event::kUp), 1);
  EXPECT_EQ(rig.GestureKinds(), (std::vector<Call::Kind>{Call::kBeginEdit, Call::kEndEdit}));
}

TEST_F(Routing, KeysGoToTheControlUnderThePointerOrTheCapturedOne)
{
  EXPECT_TRUE(rig.editor->KeyDown(100, 90, kKeyA));
  ASSERT_EQ(other->Count(Event::kKey), 1);
  EXPECT_EQ(other->mEvents.back().dX, kKeyA);

  rig.editor->MouseDown(20, 20, &left);
  EXPECT_TRUE(rig.editor->KeyDown(100, 90, kKeyUp));
  EXPECT_EQ(knob->Count(Event::kKey), 1);
  EXPECT_EQ(other->Count(Event::kKey), 1);
}

TEST_F(Routing, HoverIsSwitchedOffUnlessAsked)
{
  EXPECT_FALSE(rig.editor->MouseOver(20, 20, &left));
  EXPECT_TRUE(knob->mEvents.empty());
  EXPECT_EQ(rig.editor->HoverIndex(), -1);

  rig.editor->SetTrackHover(true);
  EXPECT_TRUE(rig.editor->MouseOver(20, 20, nullptr));
  EXPECT_TRUE(rig.editor->MouseOver(100, 90, nullptr));
  EXPECT_EQ(rig.editor->HoverIndex(), 1);
  EXPECT_EQ(knob->Count(Event::kOver), 1);
  EXPECT_EQ(knob->Count(Event::kOut), 1);
  EXPECT_EQ(other->Count(Event::kOver), 1);
  rig.editor->MouseOut();
  EXPECT_EQ(other->Count(Event::kOut), 1);
  EXPECT_EQ(rig.editor->HoverIndex(), -1);
}

TEST_F(Routing, MissingModifiersCountAsNoButtons)
{
  rig.editor->MouseDown(20, 20, nullptr);
  rig.editor->MouseWheel(20, 20, nullptr, 1);
  rig.editor->MouseUp(20, 20, nullptr);
  EXPECT_EQ(knob->Count(Event::kDown), 1);
  EXPECT_FALSE(rig.editor->HasPrompt());
  EXPECT_DOUBLE_EQ(knob->Value(), 0.51);
}
