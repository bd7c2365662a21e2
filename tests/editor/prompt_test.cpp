#include <gtest/gtest.h>

#include "tests/editor/EditorTestSupport.h"

using namespace editortest;

namespace
{
struct Prompt : ::testing::Test
{
  EditorRig rig;
  ProbeControl* type = rig.Add(new ProbeControl(rig.plug.get(), IRECT(0, 0, 10, 10), TestPlug::kType));
  ProbeControl* freq = rig.Add(new ProbeControl(rig.plug.get(), IRECT(20, 0, 30, 10), TestPlug::kFreq));
  ProbeControl* pan = rig.Add(new ProbeControl(rig.plug.get(), IRECT(40, 0, 50, 10), TestPlug::kPan));
  ProbeControl* amount = rig.Add(new ProbeControl(rig.plug.get(), IRECT(60, 0, 70, 10), TestPlug::kAmount));
  MouseMods right{false, true};

  void SetUp() override
  {
    rig.Attach();
    rig.plug->ClearCalls();
  }

  void Apply(ProbeControl* c, const char* text)
  {
    rig.editor->ApplyPromptText(c, rig.plug->Param(c->ParamIdx()), text);
  }
};
} // namespace

TEST_F(Prompt, DisplayTextSelectsItsEntry)
{
  Apply(type, "Bandpass");
  EXPECT_EQ(type->Value(), 1.0);
  EXPECT_EQ(rig.plug->Param(TestPlug::kType)->CurrentValue(), 2.0);
  EXPECT_EQ(rig.GestureKinds(), (std::vector<Call::Kind>{Call::kBeginEdit, Call::kAutomate, Call::kEndEdit}));
  Apply(type, "Lowpass");
  EXPECT_EQ(type->Value(), 0.0);
  // Display texts match exactly; a number still works for such a parameter.
  Apply(type, "highpass");
  EXPECT_EQ(type->Value(), 0.0);
  Apply(type, "1");
  EXPECT_EQ(type->Value(), 0.5);
}

TEST_F(Prompt, NumbersAreRealValuesNormalizedWithTheShape)
{
  Apply(freq, "5015");
  EXPECT_DOUBLE_EQ(freq->Value(), 0.5);
  EXPECT_EQ(rig.plug->Param(TestPlug::kFreq)->CurrentValue(), 5015.0);
  Apply(freq, "20000 Hz"); // the leading number counts
  EXPECT_EQ(freq->Value(), 1.0);
  Apply(pan, "-50");
  EXPECT_DOUBLE_EQ(pan->Value(), 0.25);
  Apply(amount, "7"); // above the range: clamped by the parameter
  EXPECT_EQ(amount->Value(), 1.0);
}

TEST_F(Prompt, LettersOnlySetTheValueThatNormalizesFromZero)
{
  Apply(pan, "loud");
  EXPECT_DOUBLE_EQ(pan->Value(), 0.5); // 0 on -100..100
  EXPECT_EQ(rig.plug->Param(TestPlug::kPan)->CurrentValue(), 0.0);
  Apply(freq, "abc");
  EXPECT_EQ(freq->Value(), 0.0); // 0 lies below 20 Hz
  Apply(freq, "");
  EXPECT_EQ(freq->Value(), 0.0);
}

TEST_F(Prompt, RightClickOpensAPromptThatTheUserConfirms)
{
  rig.editor->MouseDown(25, 5, &right);
  rig.editor->MouseUp(25, 5, &right);
  ASSERT_TRUE(rig.editor->HasPrompt());
  EXPECT_EQ(rig.editor->Prompt().control, freq);
  EXPECT_EQ(rig.editor->Prompt().param, rig.plug->Param(TestPlug::kFreq));
  EXPECT_TRUE(rig.editor->Prompt().center);

  // Another request while the field is open is ignored.
  rig.editor->MouseDown(45, 5, &right);
  rig.editor->MouseUp(45, 5, &right);
  EXPECT_EQ(rig.editor->Prompt().control, freq);

  freq->SetPromptOpen(true); // as a control that shows its prompt state does
  EXPECT_TRUE(rig.editor->ConfirmPrompt("5015"));
  EXPECT_FALSE(rig.editor->HasPrompt());
  EXPECT_FALSE(freq->IsPromptOpen());
  EXPECT_DOUBLE_EQ(freq->Value(), 0.5);
  EXPECT_EQ(rig.plug->Param(TestPlug::kFreq)->CurrentValue(), 5015.0);
  EXPECT_EQ(rig.plug->CallsOf(Call::kBeginEdit).size(), rig.plug->CallsOf(Call::kEndEdit).size());
  EXPECT_FALSE(rig.editor->ConfirmPrompt("1"));
}

TEST_F(Prompt, CancelledPromptChangesNothing)
{
  rig.editor->MouseDown(45, 5, &right);
  rig.editor->MouseUp(45, 5, &right);
  ASSERT_TRUE(rig.editor->HasPrompt());
  pan->SetPromptOpen(true);
  rig.editor->CancelPrompt();
  EXPECT_FALSE(rig.editor->HasPrompt());
  EXPECT_FALSE(pan->IsPromptOpen());
  EXPECT_DOUBLE_EQ(pan->Value(), 0.5);
  EXPECT_EQ(rig.plug->Param(TestPlug::kPan)->CurrentValue(), 0.0);
}

TEST_F(Prompt, NoPromptWithoutAParameterOrWhenSwitchedOff)
{
  auto* label = rig.Add(new ProbeControl(rig.plug.get(), IRECT(100, 0, 120, 10)));
  rig.editor->MouseDown(110, 5, &right);
  EXPECT_FALSE(rig.editor->HasPrompt());
  amount->SetNoPrompt(true);
  rig.editor->MouseDown(65, 5, &right);
  EXPECT_FALSE(rig.editor->HasPrompt());
  MouseMods left(true, false);
  rig.editor->MouseDown(25, 5, &left); // a left click never prompts
  EXPECT_FALSE(rig.editor->HasPrompt());
  EXPECT_EQ(label->Count(ProbeControl::Event::kDown), 1);

  // An answer for a control without parameter and not editable text does nothing.
  rig.plug->ClearCalls();
  rig.editor->ApplyPromptText(label, nullptr, "12");
  rig.editor->ApplyPromptText(nullptr, rig.plug->Param(TestPlug::kPan), "12");
  EXPECT_EQ(label->Value(), 0.0);
  EXPECT_TRUE(rig.plug->Calls().empty());
}

TEST_F(Prompt, ClosingAPromptReportsNothingOutsideTheEditGesture)
{
  rig.editor->MouseDown(25, 5, &right);
  rig.editor->MouseUp(25, 5, &right);
  rig.plug->ClearCalls();
  ASSERT_TRUE(rig.editor->ConfirmPrompt("5015"));
  EXPECT_EQ(rig.GestureKinds(), (std::vector<Call::Kind>{Call::kBeginEdit, Call::kAutomate, Call::kEndEdit}));

  rig.editor->MouseDown(45, 5, &right);
  rig.editor->MouseUp(45, 5, &right);
  rig.plug->ClearCalls();
  rig.editor->CancelPrompt();
  EXPECT_TRUE(rig.plug->Calls().empty());
}

TEST_F(Prompt, ConfirmedBeforeTheOpeningClickIsReleasedJoinsItsGesture)
{
  rig.editor->MouseDown(25, 5, &right);
  ASSERT_TRUE(rig.editor->HasPrompt());
  ASSERT_TRUE(rig.editor->ConfirmPrompt("5015"));
  rig.editor->MouseUp(25, 5, &right);
  EXPECT_EQ(rig.GestureKinds(), (std::vector<Call::Kind>{Call::kBeginEdit, Call::kAutomate, Call::kEndEdit}));
}
