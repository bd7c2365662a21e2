// The labelled switch, radio buttons, buttons and the product-page area.
#include <gtest/gtest.h>

#include "controls/IButton.h"
#include "controls/IButtonClick.h"
#include "controls/IRadioButtons.h"
#include "controls/ISwitchLbl.h"
#include "controls/IURLOpen.h"
#include "tests/controls/ControlsTestSupport.h"

using namespace controlstest;

namespace
{
const IText kReadout("Arial", 15, IColor(160, 255, 255, 255));
constexpr LICE_pixel kOnColour = LICE_RGBA(0, 220, 90, 255);
} // namespace

TEST(SwitchLbl, StepsThroughItsFramesAndWraps)
{
  Rig rig;
  auto frames = MakeFrames(30, 30, 6, false);
  auto* wave = rig.Add(new ISwitchLbl(&rig.plug, ControlPlug::kWave, 83, 386, Frames(frames, 6), kReadout, 14, 60,
                                      true));
  rig.Attach();
  EXPECT_EQ(wave->Area(), IRECT(83, 386, 143, 445));
  EXPECT_EQ(wave->ImageRect(), IRECT(98, 386, 128, 416));

  const double expected[] = {0.2, 0.4, 0.6, 0.8, 1.0, 0.0, 0.2};
  for (int i = 0; i < 7; ++i)
  {
    rig.Click(100, 400);
    EXPECT_NEAR(wave->Value(), expected[i], 1e-12) << i;
    EXPECT_NEAR(rig.plug.Param(ControlPlug::kWave)->NormalizedValue(), expected[i], 1e-12) << i;
    rig.editor->Tick();
    // The frame of that step, centred over the read-out.
    const int frame = static_cast<int>(expected[i] * 5 + 0.5) + 1;
    EXPECT_EQ(rig.editor->PixelAt(98, 386), FrameColour(frame)) << i;
    EXPECT_EQ(rig.editor->PixelAt(127, 415), FrameColour(frame)) << i;
  }
  EXPECT_EQ(rig.plug.Param(ControlPlug::kWave)->CurrentValue(), 1.0);
  // A right click asks for the value instead of stepping.
  rig.Click(100, 400, true);
  EXPECT_TRUE(rig.editor->HasPrompt());
  EXPECT_NEAR(wave->Value(), 0.2, 1e-12);
}

TEST(RadioButtons, ThreeEqualButtonsAndOnlyTheSelectedOneDrawn)
{
  Rig rig;
  auto group = MakeFrames(28, 13, 3, true);
  auto* type = rig.Add(new IRadioButtons(&rig.plug, ControlPlug::kType, 334, 98, Frames(group, 3), true,
                                         IRadioButtons::kVertical));
  rig.Attach();
  ASSERT_EQ(type->ButtonCount(), 3);
  EXPECT_EQ(type->Area(), IRECT(334, 98, 362, 137));
  EXPECT_EQ(*type->Button(0), IRECT(334, 98, 362, 111));
  EXPECT_EQ(*type->Button(1), IRECT(334, 111, 362, 124));
  EXPECT_EQ(*type->Button(2), IRECT(334, 124, 362, 137));

  rig.Click(340, 117);
  EXPECT_EQ(type->Value(), 0.5);
  EXPECT_EQ(rig.plug.Param(ControlPlug::kType)->CurrentValue(), 1.0);
  rig.Clear(kBlack);
  rig.editor->PaintAll();
  EXPECT_EQ(rig.editor->PixelAt(340, 104), kBlack);
  EXPECT_EQ(rig.editor->PixelAt(340, 117), FrameColour(2));
  EXPECT_EQ(rig.editor->PixelAt(361, 123), FrameColour(2));
  EXPECT_EQ(rig.editor->PixelAt(340, 130), kBlack);

  rig.Click(350, 136);
  EXPECT_EQ(type->Value(), 1.0);
  rig.Clear(kBlack);
  rig.editor->PaintAll();
  EXPECT_EQ(rig.editor->PixelAt(340, 117), kBlack);
  EXPECT_EQ(rig.editor->PixelAt(340, 130), FrameColour(3));
}

TEST(Button, LeftClickTogglesRightClickOnlyReports)
{
  Rig rig;
  auto on = Solid(50, 16, kOnColour);
  auto* button = rig.Add(new IButton(&rig.plug, ControlPlug::kOnOff, 141, 261, Frames(on, 1)));
  rig.Attach();
  EXPECT_EQ(button->Area(), IRECT(141, 261, 191, 277));

  rig.Click(150, 265, true);
  EXPECT_EQ(button->Value(), 0.0);
  EXPECT_FALSE(rig.editor->HasPrompt());
  EXPECT_EQ(rig.Gesture(ControlPlug::kOnOff), kGesture);
  EXPECT_EQ(rig.plug.CallsOf(Call::kAutomate).back().value, 0.0);

  rig.Clear(kBlack);
  rig.editor->PaintAll();
  EXPECT_EQ(rig.editor->PixelAt(150, 265), kBlack); // off: the background's picture

  rig.Click(150, 265);
  EXPECT_EQ(button->Value(), 1.0);
  EXPECT_EQ(rig.plug.Param(ControlPlug::kOnOff)->CurrentValue(), 1.0);
  rig.editor->PaintAll();
  EXPECT_EQ(rig.editor->PixelAt(150, 265), kOnColour);
  rig.Click(150, 265);
  EXPECT_EQ(button->Value(), 0.0);
}

TEST(ButtonClick, EveryPressRaisesTheFlagBeforeTheValueIsReported)
{
  Rig rig;
  auto on = Solid(34, 18, kOnColour);
  std::vector<size_t> reportedAtFlag;
  auto* sync = rig.Add(new IButtonClick(&rig.plug, ControlPlug::kOnOff, 41, 379, Frames(on, 1), [&] {
    reportedAtFlag.push_back(rig.plug.CallsOf(Call::kAutomate).size());
  }));
  rig.Attach();
  EXPECT_EQ(sync->Area(), IRECT(41, 379, 75, 397));

  rig.Click(50, 385);
  rig.Click(50, 385, true);
  rig.Click(50, 385);
  // Three presses, each flagged while the host had not yet seen its value.
  EXPECT_EQ(reportedAtFlag, std::vector<size_t>({0, 1, 2}));
  EXPECT_EQ(rig.plug.CallsOf(Call::kAutomate).size(), 3u);
  EXPECT_EQ(sync->Value(), 0.0); // on, kept by the right click, off
}

TEST(URLOpen, OpensTheProductPageOnTheMakersSite)
{
  Rig rig;
  auto* page = rig.Add(new IURLOpen(&rig.plug, IRECT(72, 7, 264, 54)));
  rig.Attach();
  EXPECT_EQ(rig.editor->LastWebPage(), nullptr);
  rig.Click(100, 20, true);
  const IGraphicsHeadless::WebPageRequest* request = rig.editor->LastWebPage();
  ASSERT_NE(request, nullptr);
  EXPECT_EQ(request->url, "https://www.olvendu.com/Kestrane");
  EXPECT_EQ(request->windowTitle, "");
  EXPECT_EQ(request->confirmMsg, "");
  EXPECT_EQ(request->errMsg, "Cannot open url. Check your default browser.");
  EXPECT_EQ(page->Value(), 0.0);
  EXPECT_TRUE(rig.plug.Calls().empty());
}

TEST(Button, AHalfFromTheHostIsOnAsTheParameterRoundsIt)
{
  Rig rig;
  auto on = Solid(50, 16, kOnColour);
  rig.Add(new IButton(&rig.plug, ControlPlug::kOnOff, 141, 261, Frames(on, 1)));
  rig.Attach();
  rig.plug.SetParameterFromHost(ControlPlug::kOnOff, 0.5);
  ASSERT_EQ(rig.plug.Param(ControlPlug::kOnOff)->CurrentValue(), 1.0);
  rig.Clear(kBlack);
  rig.editor->PaintAll();
  EXPECT_EQ(rig.editor->PixelAt(150, 265), kOnColour);
  // Drawn on, so a click turns it off.
  rig.Click(150, 265);
  EXPECT_EQ(rig.plug.Param(ControlPlug::kOnOff)->CurrentValue(), 0.0);
}
