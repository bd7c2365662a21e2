// The effect's editor: one fixed 388 x 470 panel. Everything that does not
// move is painted on the background image; the controls draw the rings,
// knob images, read-outs, markers and selected states over it.
#include "effect/KestraneEditorLayout.h"

#include "controls/GRAPH.h"
#include "controls/IButton.h"
#include "controls/IButtonClick.h"
#include "controls/IDropDown.h"
#include "controls/IKnobArcImg.h"
#include "controls/IRadioButtons.h"
#include "controls/ISlider.h"
#include "controls/ISwitchLbl.h"
#include "controls/IURLOpen.h"
#include "editor/IBitmapControl.h"
#include "editor/IGraphics.h"
#include "editor/ISwitchControl.h"
#include "editor/ITextControl.h"
#include "effect/Kestrane.h"
#include "platform/PlatformEditor.h"
#include "raster/EditorImages.h"


namespace
{
using namespace kestrane_layout;

constexpr int kFrameRate = 0; // the editor's default, 24 per second

// Knobs: ring inner radius, sweep, read-out strip under the knob with a gap
// of 1, vertical drag with gearing 4.
constexpr float kKnobRadius = 21.0f;
constexpr int kKnobSweep = 300;
constexpr int kKnobLabelGap = 1;
constexpr double kKnobGearing = 4.0;
constexpr float kKnobImageWeight = 1.0f;

// Sliders: 82 pixels long, horizontal, a 6-pixel bar from 1 pixel in.
constexpr int kSliderLength = 82;
constexpr int kSliderBarThickness = 6;
constexpr int kSliderBarStart = 1;

// The LFO wave switch: picture centred in 60 pixels, name 14 pixels below.
constexpr int kWaveLabelGap = 14;
constexpr int kWaveWidth = 60;

const IText kReadoutStyle("Arial", 15, IColor(160, 255, 255, 255), IText::kStyleNormal, IText::kAlignNear, 0,
                          IText::kQualityDefault);
const IText kVersionStyle("Verdana", 13, IColor(55, 255, 255, 255), IText::kStyleNormal, IText::kAlignFar, 0,
                          IText::kQualityDefault);
const IColor kAccent(255, 100, 200, 255);
const IColor kGrey(255, 200, 200, 200);
const IColor kSliderBar(255, 120, 120, 120);

struct KnobPlace
{
  int control;
  int param;
  int cx;
  int cy;
  float ringWidth;
  int margin;
  bool accent;
};

// Every knob, by its index in the list.
const KnobPlace kKnobs[] = {
    {kFilterFreqKnob, kFilterFreq, 92, 119, 3.9f, 4, true},
    {kFilterBandwidthKnob, kFilterBandwidth, 160, 119, 3.8f, 2, false},
    {kFilterPanKnob, kFilterPan, 228, 119, 3.7f, 2, false},
    {kFilterMixKnob, kFilterMix, 296, 119, 3.6f, 2, false},
    {kEnvAttackKnob, kEnvAttack, 58, 212, 3.9f, 2, false},
    {kEnvDecayKnob, kEnvDecay, 126, 212, 3.8f, 2, false},
    {kEnvSustainKnob, kEnvSustain, 194, 212, 3.7f, 2, false},
    {kEnvReleaseKnob, kEnvRelease, 262, 212, 3.6f, 2, false},
    {kEnvDepthKnob, kEnvDepth, 330, 212, 3.6f, 2, true},
    {kLfoRateSyncKnob, kLfoRateSync, 181, 402, 3.8f, 2, false},
    {kLfoRateMsKnob, kLfoRateMs, 181, 402, 3.8f, 2, false},
    {kLfoDepthKnob, kLfoDepth, 249, 402, 3.7f, 2, true},
    {kLfoStartKnob, kLfoStart, 317, 402, 3.6f, 2, false},
};

// The image, or, when it cannot be loaded, an image of its expected size
// without pixels: every control keeps its place and is still hit, only its
// picture is missing.
IBitmap Image(IGraphics* editor, int id)
{
  const EditorImage* info = FindEditorImage(id);
  if (!info) return IBitmap();
  const IBitmap image = editor->LoadEditorImage(id, info->name, info->frames);
  if (image.IsLoaded()) return image;
  return IBitmap(nullptr, info->width, info->height, info->frames);
}

void AddKnob(IGraphics* editor, IPlugBase* plug, int param, const KnobPlace& k, const IBitmap& knobImage)
{
  auto* knob = new IKnobArcImg(plug, param, k.cx, k.cy, kReadoutStyle, k.accent ? kAccent : kGrey, kKnobRadius,
                               k.ringWidth, kKnobLabelGap, IKnobArc::kLabelStrip, k.margin, kKnobSweep,
                               kKnobGearing, IKnobControl::kVertical, knobImage);
  knob->SetImageRing(k.ringWidth, k.margin);
  knob->SetImageWeight(kKnobImageWeight);
  editor->AddControl(knob);
}

// Adds the knobs whose list index is in [first, last].
void AddKnobs(IGraphics* editor, IPlugBase* plug, int first, int last, const IBitmap& knobImage)
{
  for (const KnobPlace& k : kKnobs)
    if (k.control >= first && k.control <= last) AddKnob(editor, plug, k.param, k, knobImage);
}
} // namespace

void CLS_KESTRANE::MakeEditor()
{
  IGraphics* editor = MakePlatformEditor(this, kEditorWidth, kEditorHeight, kFrameRate);
  if (!editor) return;

  editor->SetBackgroundImage(kImageBackground, FindEditorImage(kImageBackground)->name);
  const IBitmap knob = Image(editor, kImageKnob);
  const IBitmap targetFace = Image(editor, kImageTargetFace);
  const IBitmap targetList = Image(editor, kImageTargetList);
  const IBitmap sliderHandle = Image(editor, kImageSlider);

  auto* envGraph = new GRAPH(this, 37, 333, 194, 335);
  editor->AddControl(envGraph);
  auto* lfoGraph = new GRAPH(this, 217, 270, 351, 272);
  editor->AddControl(lfoGraph);

  char version[32];
  EffectVersionText(version);
  editor->AddControl(new ITextControl(this, IRECT(224, 7, 261, 25), kVersionStyle, version));
  editor->AddControl(new IURLOpen(this, IRECT(72, 7, 264, 54)));
  const int routing =
      editor->AddControl(new IBitmapControl(this, 26, 98, -1, Image(editor, kImageRoutingMap), false));

  // Filter.
  AddKnobs(editor, this, kFilterFreqKnob, kFilterMixKnob, knob);
  editor->AddControl(
      new IRadioButtons(this, kFilterType, 334, 98, Image(editor, kImageFilterType), true, IRadioButtons::kVertical));

  // Envelope.
  editor->AddControl(new IDropDown(this, kEnvTarget, 95, 264, targetFace, targetList, 1, IDropDown::kBelowLeft));
  AddKnobs(editor, this, kEnvAttackKnob, kEnvDepthKnob, knob);
  editor->AddControl(new IButton(this, kEnvDirection, 141, 261, Image(editor, kImageEnvDirection)));
  editor->AddControl(new ISlider(this, kEnvVolCompensation, IRECT(44, 300, 134, 330), sliderHandle, kReadoutStyle,
                                 kSliderBar, kSliderLength, kSliderBarThickness, true, kSliderBarStart, false));
  editor->AddControl(new ISwitchControl(this, 143, 302, kEnvCompensation, Image(editor, kImageEnvCompensation), true));

  // LFO.
  editor->AddControl(
      new IButtonClick(this, kLfoSync, 41, 379, Image(editor, kImageSync), [this] { MarkSyncClicked(); }));
  editor->AddControl(new IButton(this, kLfoEnvChild, 41, 399, Image(editor, kImageChild)));
  editor->AddControl(new IDropDown(this, kLfoTarget, 277, 332, targetFace, targetList, 1, IDropDown::kBelowLeft));
  editor->AddControl(new ISwitchLbl(this, kLfoWave, 83, 386, Image(editor, kImageWave), kReadoutStyle, kWaveLabelGap,
                                    kWaveWidth, true));
  // The two rate knobs share one place; "LFO1 Sync" shows one of them.
  AddKnobs(editor, this, kLfoRateSyncKnob, kLfoRateMsKnob, knob);
  editor->SetControlHidden(kLfoRateSync, true);
  editor->SetControlHidden(kLfoRateMs, true);
  AddKnobs(editor, this, kLfoDepthKnob, kLfoStartKnob, knob);
  editor->AddControl(new ISlider(this, kLfoVolCompensation, IRECT(220, 295, 310, 325), sliderHandle, kReadoutStyle,
                                 kSliderBar, kSliderLength, kSliderBarThickness, true, kSliderBarStart, false));
  editor->AddControl(new ISwitchControl(this, 311, 297, kLfoCompensation, Image(editor, kImageLfoCompensation), true));

  AttachEditor(editor);
  AttachModulationDisplays(envGraph, lfoGraph, routing);
}
