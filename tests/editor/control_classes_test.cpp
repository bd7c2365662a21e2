#include <gtest/gtest.h>

#include "editor/IBitmapControl.h"
#include "editor/IEditableTextControl.h"
#include "editor/IKnobControl.h"
#include "editor/ISwitchControl.h"
#include "editor/ITextControl.h"
#include "tests/editor/EditorTestSupport.h"

using namespace editortest;

namespace
{
// IKnobControl leaves drawing to the knobs built on it.
class TestKnob : public IKnobControl
{
public:
  using IKnobControl::IKnobControl;
  bool Paint(IGraphics*) override { return true; }
};
} // namespace

TEST(BitmapControl, SixFramesChangeHalfwayBetweenFrameValues)
{
  EditorRig rig;
  auto* c = rig.Add(new IBitmapControl(rig.plug.get(), IRECT(0, 0, 10, 10), -1, IBitmap(nullptr, 10, 60, 6)));
  auto frameAt = [c](double v) {
    c->SetValueFromEngine(v);
    return c->FrameForValue();
  };
  EXPECT_EQ(frameAt(0.0), 1);
  EXPECT_EQ(frameAt(0.0999), 1);
  EXPECT_EQ(frameAt(0.1), 2);
  EXPECT_EQ(frameAt(0.2999), 2);
  EXPECT_EQ(frameAt(0.3), 3);
  EXPECT_EQ(frameAt(0.5), 4);
  EXPECT_EQ(frameAt(0.9), 6);
  EXPECT_EQ(frameAt(1.0), 6);
}

TEST(BitmapControl, FewerThanTwoFramesAlwaysShowTheFirst)
{
  EditorRig rig;
  auto* c = rig.Add(new IBitmapControl(rig.plug.get(), IRECT(0, 0, 10, 10), -1, IBitmap(nullptr, 10, 10, 1)));
  c->SetValueFromEngine(1.0);
  EXPECT_EQ(c->FrameForValue(), 1);
}

TEST(BitmapControl, RectangleFromAPositionCoversOneFrame)
{
  EditorRig rig;
  const IBitmap map(nullptr, 168, 39, 6); // six frames side by side
  IBitmapControl side(rig.plug.get(), 26, 98, -1, map, false);
  EXPECT_EQ(side.Area(), IRECT(26, 98, 54, 137));
  const IBitmap comp(nullptr, 39, 69, 3); // three stacked
  IBitmapControl stacked(rig.plug.get(), 143, 302, -1, comp, true);
  EXPECT_EQ(stacked.Area(), IRECT(143, 302, 182, 325));
}

TEST(SwitchControl, TwoFramesToggleAndThreeFramesCycle)
{
  EditorRig rig;
  auto* two = rig.Add(new ISwitchControl(rig.plug.get(), IRECT(0, 0, 10, 10), TestPlug::kAmount,
                                         IBitmap(nullptr, 10, 20, 2)));
  auto* three = rig.Add(new ISwitchControl(rig.plug.get(), IRECT(20, 0, 30, 10), TestPlug::kPan,
                                           IBitmap(nullptr, 10, 30, 3)));
  rig.Attach();
  two->SetValueFromEngine(0.0);
  three->SetValueFromEngine(0.0);
  MouseMods left(true, false);

  std::vector<double> twoSeen, threeSeen;
  for (int i = 0; i < 4; ++i)
  {
    rig.editor->MouseDown(5, 5, &left);
    rig.editor->MouseUp(5, 5, &left);
    twoSeen.push_back(two->Value());
    rig.editor->MouseDown(25, 5, &left);
    rig.editor->MouseUp(25, 5, &left);
    threeSeen.push_back(three->Value());
  }
  EXPECT_EQ(twoSeen, (std::vector<double>{1.0, 0.0, 1.0, 0.0}));
  EXPECT_EQ(threeSeen, (std::vector<double>{0.5, 1.0, 0.0, 0.5}));
  // Every click reports its value to the host.
  EXPECT_EQ(rig.plug->CallsOf(Call::kAutomate).size(), 8u);
  EXPECT_EQ(rig.plug->Param(TestPlug::kPan)->CurrentValue(), 0.0);
}

TEST(SwitchControl, SixFramesStepByAFifthAndWrap)
{
  EditorRig rig;
  auto* sw = rig.Add(new ISwitchControl(rig.plug.get(), IRECT(0, 0, 10, 10), -1, IBitmap(nullptr, 60, 10, 6), false));
  MouseMods left(true, false);
  std::vector<int> frames;
  for (int i = 0; i < 6; ++i)
  {
    sw->MouseDown(5, 5, &left);
    frames.push_back(sw->FrameForValue());
  }
  EXPECT_EQ(frames, (std::vector<int>{2, 3, 4, 5, 6, 1}));
}

TEST(SwitchControl, RightClickPromptsInsteadOfStepping)
{
  EditorRig rig;
  auto* sw = rig.Add(new ISwitchControl(rig.plug.get(), IRECT(0, 0, 10, 10), TestPlug::kType,
                                        IBitmap(nullptr, 10, 30, 3)));
  rig.Attach();
  const double before = sw->Value();
  MouseMods right(false, true);
  rig.editor->MouseDown(5, 5, &right);
  EXPECT_EQ(sw->Value(), before);
  ASSERT_TRUE(rig.editor->HasPrompt());
  EXPECT_EQ(rig.editor->Prompt().control, sw);
  EXPECT_EQ(rig.editor->Prompt().param, rig.plug->Param(TestPlug::kType));
}

TEST(ControlFlags, GreyingChangesOnlyTheWeight)
{
  EditorRig rig;
  auto* c = rig.Add(new ProbeControl(rig.plug.get(), IRECT(0, 0, 10, 10)));
  IBitmapControl added(rig.plug.get(), IRECT(0, 0, 10, 10), -1, IBitmap(), true,
                       IChannelBlend(IChannelBlend::kBlendAdd, 0.6f));
  c->SetDimmed(true);
  EXPECT_TRUE(c->IsDimmed());
  EXPECT_EQ(c->Blend().mWeight, 0.25f);
  EXPECT_EQ(c->Blend().mMethod, IChannelBlend::kBlendNone);
  c->SetDimmed(false);
  EXPECT_EQ(c->Blend().mWeight, 1.0f);

  added.SetDimmed(true);
  EXPECT_EQ(added.Blend().mWeight, 0.25f);
  EXPECT_EQ(added.Blend().mMethod, IChannelBlend::kBlendAdd);
  added.SetDimmed(false);
  EXPECT_EQ(added.Blend().mWeight, 1.0f); // not the 0.6 it was built with
}

TEST(ControlFlags, MarkDirtyClampsAndTreatsNaNAsTheBottom)
{
  EditorRig rig;
  auto* c = rig.Add(new ProbeControl(rig.plug.get(), IRECT(0, 0, 10, 10), TestPlug::kAmount));
  rig.Attach();
  c->SetValue(1.7);
  c->MarkDirty(false);
  EXPECT_EQ(c->Value(), 1.0);
  c->SetClamp(0.2, 0.8);
  c->SetValue(std::nan(""));
  c->MarkDirty(true);
  EXPECT_EQ(c->Value(), 0.2);
  EXPECT_EQ(rig.plug->CallsOf(Call::kAutomate).back().value, 0.2);
  c->SetValue(0.9);
  c->MarkDirty(false);
  EXPECT_EQ(c->Value(), 0.8);
}

TEST(ControlFlags, ValueFromUserClosesThePromptAndReports)
{
  EditorRig rig;
  auto* c = rig.Add(new ProbeControl(rig.plug.get(), IRECT(0, 0, 10, 10), TestPlug::kAmount));
  rig.Attach();
  c->SetPromptOpen(true);
  c->SetValueFromUser(0.3);
  EXPECT_FALSE(c->IsPromptOpen());
  EXPECT_EQ(rig.plug->CallsOf(Call::kAutomate).back().value, 0.3);
  EXPECT_DOUBLE_EQ(rig.plug->Param(TestPlug::kAmount)->CurrentValue(), 0.3);
}

TEST(KnobControl, DragRatioFourOnAHundredPixelKnob)
{
  EditorRig rig;
  auto* knob = rig.Add(new TestKnob(rig.plug.get(), IRECT(0, 0, 40, 100), TestPlug::kAmount,
                                        IKnobControl::kVertical, 4.0));
  rig.Attach();
  MouseMods left(true, false);
  MouseMods shift(true, false, true);
  MouseMods ctrl(true, false, false, true);

  rig.editor->MouseDown(20, 50, &left);
  rig.editor->MouseDrag(20, 46, &left); // 4 px up
  EXPECT_NEAR(knob->Value(), 0.5 + 4 * 0.0025, 1e-12);
  rig.editor->MouseDrag(35, 46, &left); // sideways: no change
  EXPECT_NEAR(knob->Value(), 0.51, 1e-12);
  rig.editor->MouseDrag(35, 36, &shift); // 10 px up, fine
  EXPECT_NEAR(knob->Value(), 0.51 + 10 * 0.00025, 1e-12);
  rig.editor->MouseDrag(35, 56, &ctrl); // 20 px down, fine
  EXPECT_NEAR(knob->Value(), 0.5075, 1e-12);
  rig.editor->MouseDrag(35, 400, &left); // far down: clamped
  EXPECT_EQ(knob->Value(), 0.0);
  rig.editor->MouseUp(35, 400, &left);
  EXPECT_EQ(rig.plug->CallsOf(Call::kAutomate).back().value, 0.0);
}

TEST(KnobControl, HorizontalDragUsesTheWidth)
{
  EditorRig rig;
  auto* knob = rig.Add(new TestKnob(rig.plug.get(), IRECT(0, 0, 50, 10), -1, IKnobControl::kHorizontal, 2.0));
  MouseMods left(true, false);
  knob->MouseDrag(10, 5, 10, -7, &left);
  EXPECT_NEAR(knob->Value(), 0.1, 1e-12);

  auto* flat = rig.Add(new TestKnob(rig.plug.get(), IRECT(0, 0, 0, 0), -1));
  flat->MouseDrag(0, 0, 5, 0, &left); // no extent: nothing to measure against
  EXPECT_EQ(flat->Value(), 0.0);
}

TEST(TextControls, EditableTextOpensAFieldAndTakesTheEnteredText)
{
  EditorRig rig;
  const IText style("Arial", 12, IColor(255, 255, 255, 255));
  auto* text = rig.Add(new IEditableTextControl(rig.plug.get(), IRECT(0, 0, 80, 20), style, "name"));
  auto* readOnly = rig.Add(new IEditableTextControl(rig.plug.get(), IRECT(0, 30, 80, 50), style, "fixed",
                                                    IColor(0, 0, 0, 0), false));
  rig.Attach();
  MouseMods left(true, false);
  rig.editor->MouseDown(10, 10, &left);
  ASSERT_TRUE(rig.editor->HasPrompt());
  EXPECT_EQ(rig.editor->Prompt().textControl, text);
  EXPECT_EQ(rig.editor->Prompt().param, nullptr);
  EXPECT_TRUE(rig.editor->ConfirmPrompt("renamed"));
  EXPECT_STREQ(text->Text(), "renamed");
  EXPECT_TRUE(rig.plug->CallsOf(Call::kAutomate).empty());

  rig.editor->MouseDown(10, 40, &left);
  ASSERT_TRUE(rig.editor->HasPrompt());
  rig.editor->ConfirmPrompt("changed");
  EXPECT_STREQ(readOnly->Text(), "fixed");

  text->SetNoPrompt(true);
  rig.editor->MouseDown(10, 10, &left);
  EXPECT_FALSE(rig.editor->HasPrompt());
}

TEST(TextControls, SameTextCausesNoRedraw)
{
  EditorRig rig;
  auto* text = rig.Add(new IEditableTextControl(rig.plug.get(), IRECT(0, 0, 80, 20), IText(), "same"));
  rig.Attach();
  rig.editor->Tick();
  IRECT out;
  ASSERT_FALSE(rig.editor->NeedsRedraw(&out));
  text->TextFromTextEntry("same");
  EXPECT_FALSE(rig.editor->NeedsRedraw(&out));
  text->TextFromTextEntry("other");
  EXPECT_TRUE(rig.editor->NeedsRedraw(&out));
  auto* label = rig.Add(new ITextControl(rig.plug.get(), IRECT(0, 40, 80, 60), IText(), "a"));
  rig.editor->Tick();
  label->SetTextFromPlug("a");
  EXPECT_FALSE(rig.editor->NeedsRedraw(&out));
  label->SetTextFromPlug("b");
  EXPECT_TRUE(rig.editor->NeedsRedraw(&out));
  EXPECT_STREQ(label->Text(), "b");
}
