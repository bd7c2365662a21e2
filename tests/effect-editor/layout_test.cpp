// The editor the effect builds: every control in its place, in its order,
// with its style.
#include <cstring>
#include <typeinfo>

#include "controls/GRAPH.h"
#include "controls/IButton.h"
#include "controls/IButtonClick.h"
#include "controls/IDropDown.h"
#include "controls/IDropDownChild.h"
#include "controls/IKnobArcImg.h"
#include "controls/IRadioButtons.h"
#include "controls/ISlider.h"
#include "controls/ISwitchLbl.h"
#include "controls/IURLOpen.h"
#include "editor/IBitmapControl.h"
#include "editor/ISwitchControl.h"
#include "editor/ITextControl.h"
#include "raster/EditorImages.h"
#include "tests/effect-editor/KestraneEditorRig.h"

using namespace effecteditortest;

namespace
{
struct Place
{
  int index;
  int param;
  IRECT rect;
};

// Every control's list index, parameter and rectangle.
const Place kPlaces[] = {
    {layout::kBackground, -1, IRECT(0, 0, 388, 470)},
    {layout::kEnvGraph, -1, IRECT(37, 333, 194, 335)},
    {layout::kLfoGraph, -1, IRECT(217, 270, 351, 272)},
    {layout::kVersionText, -1, IRECT(224, 7, 261, 25)},
    {layout::kProductPage, -1, IRECT(72, 7, 264, 54)},
    {layout::kRoutingIndicator, -1, IRECT(26, 98, 54, 137)},
    {layout::kFilterFreqKnob, kFilterFreq, IRECT(63, 90, 121, 164)},
    {layout::kFilterBandwidthKnob, kFilterBandwidth, IRECT(133, 92, 187, 162)},
    {layout::kFilterPanKnob, kFilterPan, IRECT(201, 92, 255, 162)},
    {layout::kFilterMixKnob, kFilterMix, IRECT(269, 92, 323, 162)},
    {layout::kFilterTypeButtons, kFilterType, IRECT(334, 98, 362, 137)},
    {layout::kEnvTargetList, kEnvTarget, IRECT(95, 263, 139, 277)},
    {layout::kEnvAttackKnob, kEnvAttack, IRECT(31, 185, 85, 255)},
    {layout::kEnvDecayKnob, kEnvDecay, IRECT(99, 185, 153, 255)},
    {layout::kEnvSustainKnob, kEnvSustain, IRECT(167, 185, 221, 255)},
    {layout::kEnvReleaseKnob, kEnvRelease, IRECT(235, 185, 289, 255)},
    {layout::kEnvDepthKnob, kEnvDepth, IRECT(303, 185, 357, 255)},
    {layout::kEnvDirectionButton, kEnvDirection, IRECT(141, 261, 191, 277)},
    {layout::kEnvVolCompensationSlider, kEnvVolCompensation, IRECT(44, 300, 134, 330)},
    {layout::kEnvCompensationSwitch, kEnvCompensation, IRECT(143, 302, 182, 325)},
    {layout::kLfoSyncButton, kLfoSync, IRECT(41, 379, 75, 397)},
    {layout::kLfoEnvChildButton, kLfoEnvChild, IRECT(41, 399, 75, 421)},
    {layout::kLfoTargetList, kLfoTarget, IRECT(277, 331, 321, 345)},
    {layout::kLfoWaveSwitch, kLfoWave, IRECT(83, 386, 143, 445)},
    {layout::kLfoRateSyncKnob, kLfoRateSync, IRECT(154, 375, 208, 445)},
    {layout::kLfoRateMsKnob, kLfoRateMs, IRECT(154, 375, 208, 445)},
    {layout::kLfoDepthKnob, kLfoDepth, IRECT(222, 375, 276, 445)},
    {layout::kLfoStartKnob, kLfoStart, IRECT(290, 375, 344, 445)},
    {layout::kLfoVolCompensationSlider, kLfoVolCompensation, IRECT(220, 295, 310, 325)},
    {layout::kLfoCompensationSwitch, kLfoCompensation, IRECT(311, 297, 344, 320)},
};

struct Knob
{
  int index;
  int cx;
  int cy;
  IColor ring;
};

const IColor kAccent(255, 100, 200, 255);
const IColor kGrey(255, 200, 200, 200);

const Knob kKnobs[] = {
    {layout::kFilterFreqKnob, 92, 119, kAccent},     {layout::kFilterBandwidthKnob, 160, 119, kGrey},
    {layout::kFilterPanKnob, 228, 119, kGrey},       {layout::kFilterMixKnob, 296, 119, kGrey},
    {layout::kEnvAttackKnob, 58, 212, kGrey},        {layout::kEnvDecayKnob, 126, 212, kGrey},
    {layout::kEnvSustainKnob, 194, 212, kGrey},      {layout::kEnvReleaseKnob, 262, 212, kGrey},
    {layout::kEnvDepthKnob, 330, 212, kAccent},      {layout::kLfoRateSyncKnob, 181, 402, kGrey},
    {layout::kLfoRateMsKnob, 181, 402, kGrey},       {layout::kLfoDepthKnob, 249, 402, kAccent},
    {layout::kLfoStartKnob, 317, 402, kGrey},
};
} // namespace

TEST(KestraneLayout, EveryControlInItsPlaceAndOrder)
{
  KestraneEditorRig rig;
  ASSERT_NE(rig.editor, nullptr);
  EXPECT_EQ(rig.editor->Width(), 388);
  EXPECT_EQ(rig.editor->Height(), 470);
  EXPECT_EQ(rig.editor->FrameRate(), 24);
  ASSERT_EQ(rig.editor->NControls(), layout::kNumControls);
  for (const Place& p : kPlaces)
  {
    const IControl* control = rig.editor->GetControl(p.index);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->Area(), p.rect) << p.index;
    EXPECT_EQ(control->HitArea(), p.rect) << p.index;
    EXPECT_EQ(control->ParamIdx(), p.param) << p.index;
  }
  // The classes that give each its behaviour.
  EXPECT_NE(rig.Control<GRAPH>(layout::kEnvGraph), nullptr);
  EXPECT_NE(rig.Control<GRAPH>(layout::kLfoGraph), nullptr);
  EXPECT_NE(rig.Control<IURLOpen>(layout::kProductPage), nullptr);
  EXPECT_EQ(typeid(*rig.editor->GetControl(layout::kRoutingIndicator)), typeid(IBitmapControl));
  EXPECT_NE(rig.Control<IRadioButtons>(layout::kFilterTypeButtons), nullptr);
  EXPECT_NE(rig.Control<IDropDown>(layout::kEnvTargetList), nullptr);
  EXPECT_NE(rig.Control<IDropDown>(layout::kLfoTargetList), nullptr);
  EXPECT_EQ(typeid(*rig.editor->GetControl(layout::kEnvDirectionButton)), typeid(IButton));
  EXPECT_EQ(typeid(*rig.editor->GetControl(layout::kLfoEnvChildButton)), typeid(IButton));
  EXPECT_NE(rig.Control<IButtonClick>(layout::kLfoSyncButton), nullptr);
  EXPECT_NE(rig.Control<ISlider>(layout::kEnvVolCompensationSlider), nullptr);
  EXPECT_NE(rig.Control<ISlider>(layout::kLfoVolCompensationSlider), nullptr);
  EXPECT_NE(rig.Control<ISwitchControl>(layout::kEnvCompensationSwitch), nullptr);
  EXPECT_NE(rig.Control<ISwitchControl>(layout::kLfoCompensationSwitch), nullptr);
  EXPECT_NE(rig.Control<ISwitchLbl>(layout::kLfoWaveSwitch), nullptr);
  // The background overwrites without alpha; everything else blends.
  EXPECT_EQ(rig.editor->GetControl(layout::kBackground)->Blend().mMethod, IChannelBlend::kBlendClobber);
  for (int i = 1; i < layout::kNumControls; ++i)
    EXPECT_EQ(rig.editor->GetControl(i)->Blend().mMethod, IChannelBlend::kBlendNone) << i;
}

TEST(KestraneLayout, KnobsAreCentredWithTheirReadOutStripsUnderneath)
{
  KestraneEditorRig rig;
  rig.editor->PaintAll();
  for (const Knob& k : kKnobs)
  {
    SCOPED_TRACE(k.index);
    auto* knob = rig.Control<IKnobArcImg>(k.index);
    ASSERT_NE(knob, nullptr);
    EXPECT_EQ(knob->CentreX(), k.cx);
    EXPECT_EQ(knob->CentreY(), k.cy);
    EXPECT_EQ(knob->ArcColor(), k.ring);
    if (knob->IsHidden()) continue; // the rate knob not shown draws no read-out
    const IRECT& strip = knob->LabelRect();
    const IRECT& area = knob->Area();
    EXPECT_EQ(strip, IRECT(area.L, area.B - 15, area.R, area.B));
  }
  EXPECT_EQ(rig.Control<IKnobArcImg>(layout::kFilterFreqKnob)->LabelRect(), IRECT(63, 149, 121, 164));
}

TEST(KestraneLayout, SlidersSwitchesAndListsFromTheirImages)
{
  KestraneEditorRig rig;
  EXPECT_EQ(rig.Control<ISlider>(layout::kEnvVolCompensationSlider)->HandleArea(), IRECT(48, 300, 130, 316));
  EXPECT_EQ(rig.Control<ISlider>(layout::kLfoVolCompensationSlider)->HandleArea(), IRECT(224, 295, 306, 311));
  EXPECT_EQ(rig.Control<ISlider>(layout::kEnvVolCompensationSlider)->BarColor(), IColor(255, 120, 120, 120));
  EXPECT_EQ(rig.Control<ISwitchLbl>(layout::kLfoWaveSwitch)->ImageRect(), IRECT(98, 386, 128, 416));
  auto* type = rig.Control<IRadioButtons>(layout::kFilterTypeButtons);
  ASSERT_EQ(type->ButtonCount(), 3);
  EXPECT_EQ(*type->Button(0), IRECT(334, 98, 362, 111));
  EXPECT_EQ(*type->Button(1), IRECT(334, 111, 362, 124));
  EXPECT_EQ(*type->Button(2), IRECT(334, 124, 362, 137));

  // The lists open below their faces, left-aligned, overlapping one row.
  rig.Click(100, 270);
  auto* envList = rig.Control<IDropDownChild>(layout::kNumControls);
  ASSERT_NE(envList, nullptr);
  EXPECT_EQ(envList->Area(), IRECT(95, 276, 139, 336));
  rig.Click(100, 270);
  rig.Click(290, 338);
  auto* lfoList = rig.Control<IDropDownChild>(layout::kNumControls + 1);
  ASSERT_NE(lfoList, nullptr);
  EXPECT_EQ(lfoList->Area(), IRECT(277, 344, 321, 404));
  EXPECT_TRUE(rig.Control<IDropDown>(layout::kLfoTargetList)->IsOpen());
}

TEST(KestraneLayout, VersionTextIsTheRightAlignedPluginVersion)
{
  KestraneEditorRig rig;
  auto* version = rig.Control<ITextControl>(layout::kVersionText);
  ASSERT_NE(version, nullptr);
  EXPECT_STREQ(version->Text(), "v1.01");
  const IText* style = version->TextStyle();
  EXPECT_STREQ(style->mFont, "Verdana");
  EXPECT_EQ(style->mSize, 13);
  EXPECT_EQ(style->mColor, IColor(55, 255, 255, 255));
  EXPECT_EQ(style->mAlign, IText::kAlignFar);
}

TEST(KestraneLayout, ProductPageOpensFromTheTitle)
{
  KestraneEditorRig rig;
  rig.Click(150, 30);
  ASSERT_NE(rig.editor->LastWebPage(), nullptr);
  EXPECT_EQ(rig.editor->LastWebPage()->url, "https://www.olvendu.com/Kestrane");
}

TEST(KestraneLayout, ReplacingTheEditorUnlinksTheEngineFromTheOldOne)
{
  KestraneEditorRig rig;
  // A host-side stand-in replaces the built editor: the engine must not write
  // into the deleted displays when audio runs.
  rig.plug.AttachEditor(new IGraphicsHeadless(&rig.plug, 388, 470, 0));
  rig.HostSets(kEnvTarget, 1);
  rig.HostSets(kLfoTarget, 2);
  rig.Process(2048);
  EXPECT_EQ(rig.plug.Editor()->NControls(), 0);
}

TEST(KestraneLayout, TheArtworkHasTheSizesTheControlsAreBuiltFrom)
{
  KestraneEditorRig rig;
  for (const EditorImage& info : kEditorImages)
  {
    SCOPED_TRACE(info.name);
    const IBitmap image = rig.editor->LoadEditorImage(info.id, info.name, info.frames);
    ASSERT_TRUE(image.IsLoaded());
    EXPECT_EQ(image.W, info.width);
    EXPECT_EQ(image.H, info.height);
  }
  EXPECT_EQ(FindEditorImage(110)->frames, 6);
  EXPECT_EQ(FindEditorImage(99), nullptr);
}
