// The sliders: handle area and travel, clicks and drags, the value bar.
#include <gtest/gtest.h>

#include "controls/ISlider.h"
#include "tests/controls/ControlsTestSupport.h"

using namespace controlstest;

namespace
{
const IText kReadout("Arial", 15, IColor(160, 255, 255, 255));
const IColor kBar(255, 120, 120, 120);

struct SliderRig : ::testing::Test
{
  // A transparent handle, so the bar under it shows.
  std::unique_ptr<LICE_MemBitmap> handle = Solid(16, 16, 0);
  Rig rig;
  ISlider* slider = nullptr;

  void SetUp() override
  {
    slider = rig.Add(new ISlider(&rig.plug, ControlPlug::kLevel, IRECT(44, 300, 134, 330), Frames(handle, 1),
                                 kReadout, kBar, 82, 6, true, 1, false));
    rig.Attach();
  }
  double Level() const { return rig.plug.Param(ControlPlug::kLevel)->NormalizedValue(); }
};
} // namespace

TEST_F(SliderRig, HandleTravelsSixtySixPixelsAcrossItsArea)
{
  EXPECT_EQ(slider->HandleArea(), IRECT(48, 300, 130, 316));
  EXPECT_EQ(slider->Travel(), 66);
  rig.Click(48 + 8, 305);
  EXPECT_EQ(slider->Value(), 0.0);
  EXPECT_EQ(Level(), 0.0);
  rig.Click(48 + 74, 305);
  EXPECT_EQ(slider->Value(), 1.0);
  EXPECT_EQ(Level(), 1.0);
  EXPECT_EQ(rig.Gesture(ControlPlug::kLevel), std::vector<Call::Kind>({Call::kBeginEdit, Call::kAutomate,
                                                                        Call::kEndEdit, Call::kBeginEdit,
                                                                        Call::kAutomate, Call::kEndEdit}));
  // Beyond the ends of the travel (still in the area) the value is clamped.
  rig.Click(49, 300);
  EXPECT_EQ(slider->Value(), 0.0);
}

TEST_F(SliderRig, DragsOutsideTheHandleAreaAreIgnored)
{
  MouseMods left(true, false);
  rig.editor->MouseDown(89, 305, &left);
  const double pressed = slider->Value();
  EXPECT_NEAR(pressed, (89 - 56) / 66.0, 1e-12);
  rig.editor->MouseDrag(100, 305, &left);
  EXPECT_NEAR(slider->Value(), (100 - 56) / 66.0, 1e-12);
  rig.editor->MouseDrag(140, 305, &left); // past the right end
  rig.editor->MouseDrag(110, 320, &left); // below the area
  EXPECT_NEAR(slider->Value(), (100 - 56) / 66.0, 1e-12);
  rig.editor->MouseUp(110, 320, &left);
  // A click outside the area (in the read-out strip) does not move it.
  rig.Click(60, 325);
  EXPECT_NEAR(slider->Value(), (100 - 56) / 66.0, 1e-12);
}

TEST_F(SliderRig, AtZeroTheBarRunsFromTheStartToTheHandlesCentre)
{
  IRECT bar;
  ASSERT_TRUE(slider->BarRect(0.0, &bar));
  EXPECT_EQ(bar, IRECT(49, 305, 56, 311));
  rig.Clear(kBlack);
  rig.editor->PaintAll();
  for (int y = 303; y < 313; ++y)
    for (int x = 46; x < 60; ++x)
    {
      const bool inBar = x >= 49 && x < 56 && y >= 305 && y < 311;
      EXPECT_EQ(rig.editor->PixelAt(x, y), inBar ? kBar.ToPixel() : kBlack) << x << "," << y;
    }
  // At the top the bar reaches the handle's centre at the far end.
  ASSERT_TRUE(slider->BarRect(1.0, &bar));
  EXPECT_EQ(bar, IRECT(49, 305, 122, 311));
}

TEST(SliderBar, NoBarOnlyWhenTheHandlesCentreIsAtOrBeforeTheStart)
{
  Rig rig;
  auto handle = Solid(16, 16, 0);
  // The bar starts 8 pixels in: exactly at the handle's centre at value 0.
  ISlider late(&rig.plug, ControlPlug::kLevel, IRECT(44, 300, 134, 330), Frames(handle, 1), kReadout, kBar, 82, 6,
               true, 8, false);
  IRECT bar;
  EXPECT_FALSE(late.BarRect(0.0, &bar));
  EXPECT_TRUE(late.BarRect(0.02, &bar));
  // Centred bars grow from the middle.
  ISlider centred(&rig.plug, ControlPlug::kLevel, IRECT(44, 300, 134, 330), Frames(handle, 1), kReadout, kBar, 82, 6,
                  true, 1, true);
  ASSERT_TRUE(centred.BarRect(0.25, &bar));
  EXPECT_EQ(bar, IRECT(73, 305, 89, 311));
}

TEST_F(SliderRig, RightClickOnlyAsksForAValue)
{
  rig.Click(89, 305, true);
  EXPECT_TRUE(rig.editor->HasPrompt());
  EXPECT_EQ(slider->Value(), 0.0);
  EXPECT_EQ(rig.Gesture(ControlPlug::kLevel), std::vector<Call::Kind>({Call::kBeginEdit, Call::kEndEdit}));
}
