// The editor driven together with the effect: base-class controls placed
// where the effect's editor puts its controls, bound to the same parameters.
#include <gtest/gtest.h>

#include "editor/IBitmapControl.h"
#include "editor/IKnobControl.h"
#include "editor/ISwitchControl.h"
#include "effect/Kestrane.h"
#include "effect/ModulationTarget.h"
#include "tests/editor/EditorTestSupport.h"

using namespace editortest;

namespace
{
class Knob : public IKnobControl
{
public:
  using IKnobControl::IKnobControl;
  bool Paint(IGraphics*) override { return true; }
};

constexpr int kRoutingIndex = 5;

struct EffectEditor : ::testing::Test
{
  CLS_KESTRANE plug{IPlugTest::InstanceInfo{}};
  IGraphicsHeadless* editor = new IGraphicsHeadless(&plug, 388, 470, 0);
  std::unique_ptr<LICE_MemBitmap> routingFrames = MakeFrames(28, 39, 6, false);
  IBitmapControl* routing = nullptr;
  Knob* freq = nullptr;
  Knob* rateSync = nullptr;
  Knob* rateMs = nullptr;
  MouseMods left{true, false};
  MouseMods none;

  void SetUp() override
  {
    editor->SetBackgroundImage(100, "../img/bg.png");
    for (int i = 1; i < kRoutingIndex; ++i) editor->AddControl(new ProbeControl(&plug, IRECT(0, 0, 1, 1)));
    routing = new IBitmapControl(&plug, 26, 98, -1, IBitmap(routingFrames.get(), 168, 39, 6), false);
    EXPECT_EQ(editor->AddControl(routing), kRoutingIndex);
    freq = new Knob(&plug, IRECT(63, 90, 121, 164), kFilterFreq);
    editor->AddControl(freq);
    editor->AddControl(new ISwitchControl(&plug, IRECT(41, 379, 75, 397), kLfoSync, IBitmap(nullptr, 34, 36, 2)));
    rateSync = new Knob(&plug, IRECT(154, 375, 208, 445), kLfoRateSync);
    rateMs = new Knob(&plug, IRECT(154, 375, 208, 445), kLfoRateMs);
    editor->AddControl(rateSync);
    editor->AddControl(rateMs);
    editor->SetControlHidden(kLfoRateSync, true);
    editor->SetControlHidden(kLfoRateMs, true);
    plug.AttachEditor(editor);
    plug.AttachModulationDisplays(nullptr, nullptr, kRoutingIndex);
    plug.SetSampleRate(48000.0);
    plug.Open();
    plug.ClearCalls();
  }
};
} // namespace

TEST_F(EffectEditor, TheSyncSwitchDecidesWhichRateKnobIsHit)
{
  // "LFO1 Sync" starts on: the divisions knob is shown.
  EXPECT_FALSE(rateSync->IsHidden());
  EXPECT_TRUE(rateMs->IsHidden());
  EXPECT_EQ(editor->GetControl(editor->ControlAt(181, 402)), rateSync);

  editor->MouseDown(50, 385, &left);
  editor->MouseUp(50, 385, &left);
  EXPECT_EQ(plug.Param(kLfoSync)->CurrentValue(), 0.0);
  EXPECT_TRUE(rateSync->IsHidden());
  EXPECT_FALSE(rateMs->IsHidden());
  EXPECT_EQ(editor->GetControl(editor->ControlAt(181, 402)), rateMs);

  const auto begins = plug.CallsOf(Call::kBeginEdit);
  const auto ends = plug.CallsOf(Call::kEndEdit);
  ASSERT_EQ(begins.size(), 1u);
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(begins[0].index, kLfoSync);
  EXPECT_EQ(ends[0].index, kLfoSync);
}

TEST_F(EffectEditor, WheelNotchesOnAKnobAreOneHostGesture)
{
  const double before = plug.Param(kFilterFreq)->CurrentValue();
  for (int i = 0; i < 5; ++i) editor->MouseWheel(92, 119, &none, 1);
  for (int t = 0; t < 12; ++t) editor->Tick();
  EXPECT_EQ(plug.CallsOf(Call::kBeginEdit).size(), 1u);
  EXPECT_EQ(plug.CallsOf(Call::kEndEdit).size(), 1u);
  EXPECT_EQ(plug.CallsOf(Call::kAutomate).size(), 5u);
  EXPECT_GT(plug.Param(kFilterFreq)->CurrentValue(), before);
  EXPECT_NEAR(plug.Param(kFilterFreq)->NormalizedValue(), freq->Value(), 1e-3);
}

TEST_F(EffectEditor, DraggingAKnobUpRaisesTheParameter)
{
  const double before = plug.Param(kFilterFreq)->CurrentValue();
  editor->MouseDown(92, 119, &left);
  editor->MouseDrag(92, 100, &left);
  editor->MouseDrag(92, 80, &left);
  editor->MouseUp(92, 80, &left);
  // 39 pixels up on a 74-pixel knob with ratio 4: about 0.13 of the range.
  EXPECT_NEAR(freq->Value() - freq->Default(), 39.0 / 74.0 / 4.0, 1e-12);
  EXPECT_GT(plug.Param(kFilterFreq)->CurrentValue(), before);
  EXPECT_EQ(plug.CallsOf(Call::kBeginEdit).size(), 1u);
  EXPECT_EQ(plug.CallsOf(Call::kEndEdit).size(), 1u);
}

TEST_F(EffectEditor, RoutingIndicatorFollowsTheTargetsOnScreen)
{
  editor->Tick();
  editor->Tick();
  EXPECT_EQ(editor->PixelAt(30, 100), FrameColour(1));

  // The host routes the envelope somewhere: the indicator shows frame 2.
  plug.SetParameterFromHost(kEnvTarget, plug.Param(kEnvTarget)->ToNormalized(1.0));
  EXPECT_DOUBLE_EQ(routing->Value(), 0.2);
  IRECT dirty;
  ASSERT_TRUE(editor->NeedsRedraw(&dirty));
  editor->Tick();
  EXPECT_EQ(editor->PixelAt(30, 100), FrameColour(2));
  EXPECT_EQ(editor->PixelAt(53, 136), FrameColour(2));
  EXPECT_TRUE(plug.CallsOf(Call::kAutomate).empty());
}
