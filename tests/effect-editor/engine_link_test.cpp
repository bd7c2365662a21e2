// The editor and the engine together: the rate knobs' swap, the sync
// button's carry-over, the routing indicator, the modulation displays, and
// edits made with the mouse reaching host and engine.
#include "controls/GRAPH.h"
#include "controls/IDropDown.h"
#include "controls/IKnobArcImg.h"
#include "editor/IBitmapControl.h"
#include "effect/ModulationTarget.h"
#include "tests/effect-editor/KestraneEditorRig.h"

using namespace effecteditortest;

TEST(KestraneEditor, RateKnobsFollowLfoSyncAndOnlyTheVisibleOneIsHit)
{
  KestraneEditorRig rig;
  auto* divisions = rig.Control<IKnobArcImg>(layout::kLfoRateSyncKnob);
  auto* millis = rig.Control<IKnobArcImg>(layout::kLfoRateMsKnob);
  // "LFO1 Sync" starts on: the divisions knob.
  EXPECT_FALSE(divisions->IsHidden());
  EXPECT_TRUE(millis->IsHidden());
  EXPECT_EQ(rig.editor->ControlAt(181, 402), layout::kLfoRateSyncKnob);

  rig.HostSets(kLfoSync, 0);
  EXPECT_TRUE(divisions->IsHidden());
  EXPECT_FALSE(millis->IsHidden());
  EXPECT_EQ(rig.editor->ControlAt(181, 402), layout::kLfoRateMsKnob);

  // A drag there moves the milliseconds only.
  const double divisionsBefore = rig.Value(kLfoRateSync);
  const double millisBefore = rig.Value(kLfoRateMs);
  MouseMods left(true, false);
  rig.editor->MouseDown(181, 402, &left);
  rig.editor->MouseDrag(181, 380, &left);
  rig.editor->MouseUp(181, 380, &left);
  EXPECT_GT(rig.Value(kLfoRateMs), millisBefore);
  EXPECT_EQ(rig.Value(kLfoRateSync), divisionsBefore);
  EXPECT_EQ(rig.Gesture(kLfoRateSync), std::vector<Call::Kind>());

  rig.HostSets(kLfoSync, 1);
  EXPECT_FALSE(divisions->IsHidden());
  EXPECT_TRUE(millis->IsHidden());
  EXPECT_EQ(rig.editor->ControlAt(181, 402), layout::kLfoRateSyncKnob);
  // The hidden one is never drawn.
  rig.editor->PaintAll();
  EXPECT_EQ(divisions->LabelRect(), IRECT(154, 430, 208, 445));
  EXPECT_TRUE(millis->LabelRect().Empty());
}

TEST(KestraneEditor, ARestoredSyncOffBeforeOpenShowsTheMillisecondsKnob)
{
  CLS_KESTRANE plug{IPlugTest::InstanceInfo{}};
  auto* editor = dynamic_cast<IGraphicsHeadless*>(plug.Editor());
  ASSERT_NE(editor, nullptr);
  plug.SetParameterFromHost(kLfoSync, 0.0); // the host restores its project first
  plug.Open();
  EXPECT_TRUE(editor->GetControl(layout::kLfoRateSyncKnob)->IsHidden());
  EXPECT_FALSE(editor->GetControl(layout::kLfoRateMsKnob)->IsHidden());
  EXPECT_EQ(editor->ControlAt(181, 402), layout::kLfoRateMsKnob);
}

TEST(KestraneEditor, SyncButtonCarriesTheFreeRateOverToTheNearestDivision)
{
  KestraneEditorRig rig;
  rig.Process(512); // the engine runs: 120 BPM at 48 kHz
  rig.HostSets(kLfoSync, 0);
  rig.HostSets(kLfoRateMs, 1000);
  rig.HostSets(kLfoRateMs, 2000); // free at 2000 ms: 96000 samples
  rig.HostSets(kLfoRateSync, 3);
  ASSERT_EQ(rig.plug.LfoState().mLfoPeriod, 96000);
  rig.plug.ClearCalls();

  rig.Click(50, 385);
  EXPECT_EQ(rig.Value(kLfoSync), 1.0);
  EXPECT_EQ(rig.Value(kLfoRateSync), 15.0); // "1/1"
  EXPECT_EQ(rig.Gesture(kLfoRateSync), kGesture);
  EXPECT_EQ(rig.Gesture(kLfoSync), kGesture);
  EXPECT_FALSE(rig.plug.SyncClicked());
  EXPECT_EQ(rig.plug.LfoState().mLfoPeriod, 96000);
  // The knob shows the carried-over division.
  EXPECT_EQ(rig.Control<IKnobArcImg>(layout::kLfoRateSyncKnob)->Value(),
            rig.plug.Param(kLfoRateSync)->NormalizedValue());

  // Host automation switching back carries nothing over.
  rig.plug.ClearCalls();
  rig.HostSets(kLfoSync, 0);
  EXPECT_TRUE(rig.Gesture(kLfoRateMs).empty());
}

TEST(KestraneEditor, RoutingIndicatorShowsTheSixRoutings)
{
  KestraneEditorRig rig;
  auto* routing = rig.Control<IBitmapControl>(layout::kRoutingIndicator);
  struct Routing
  {
    int env, lfo, child;
    int frame;
  };
  const Routing routings[] = {
      {kTargetNone, kTargetNone, 0, 1}, {kTargetFreq, kTargetNone, 0, 2}, {kTargetNone, kTargetPan, 0, 3},
      {kTargetNone, kTargetPan, 1, 4},  {kTargetFreq, kTargetPan, 0, 5}, {kTargetFreq, kTargetPan, 1, 6},
      {kTargetMix, kTargetMix, 1, 2}, // equal targets: the envelope only
  };
  for (const Routing& r : routings)
  {
    SCOPED_TRACE(testing::Message() << r.env << "," << r.lfo << "," << r.child);
    rig.HostSets(kEnvTarget, r.env);
    rig.HostSets(kLfoTarget, r.lfo);
    rig.HostSets(kLfoEnvChild, r.child);
    EXPECT_EQ(routing->FrameForValue(), r.frame);
  }
  // Shown, never reported: the indicator has no parameter.
  EXPECT_TRUE(rig.plug.CallsOf(Call::kAutomate).empty());
}

TEST(KestraneEditor, DisplaysShowWhereTheAudioLeftTheModulation)
{
  KestraneEditorRig rig;
  auto* env = rig.Control<GRAPH>(layout::kEnvGraph);
  auto* lfo = rig.Control<GRAPH>(layout::kLfoGraph);
  IRECT marker;
  IColor colour;
  EXPECT_FALSE(env->Marker(&marker, &colour));
  EXPECT_FALSE(lfo->Marker(&marker, &colour));

  rig.Process(512);
  rig.HostSets(kEnvTarget, kTargetFreq);
  rig.HostSets(kLfoTarget, kTargetPan);
  rig.HostSets(kLfoSync, 0);
  rig.plug.SendMidi(MidiMessage{0, 0x90, 60, 100});
  rig.Process(48000);
  ASSERT_TRUE(env->Marker(&marker, &colour));
  EXPECT_EQ(colour, IColor(150, 255, 255, 255));
  EXPECT_GE(marker.L, 37);
  EXPECT_LE(marker.L, 37 + 150);
  EXPECT_EQ(marker.T, 333);
  ASSERT_TRUE(lfo->Marker(&marker, &colour));
  EXPECT_GE(marker.L, 217);
  EXPECT_LE(marker.L, 217 + 128);
  EXPECT_EQ(marker.T, 270);

  // The band of both tracks is repainted on every tick.
  for (int i = 0; i < 3; ++i) rig.editor->Tick();
  IRECT dirty;
  ASSERT_TRUE(rig.editor->NeedsRedraw(&dirty));
  EXPECT_EQ(dirty, IRECT(37, 270, 351, 335));

  // Both on one target: the LFO does not run and its range is empty.
  rig.HostSets(kLfoTarget, kTargetFreq);
  ASSERT_TRUE(lfo->Marker(&marker, &colour));
  EXPECT_EQ(marker, IRECT(217, 270, 223, 272));
  EXPECT_EQ(colour, IColor(200, 255, 0, 0));
}

TEST(KestraneEditor, AnEntryChosenInTheTargetListReachesHostAndEngine)
{
  KestraneEditorRig rig;
  auto* target = rig.Control<IDropDown>(layout::kEnvTargetList);
  rig.Click(100, 270);
  ASSERT_TRUE(target->IsOpen());
  rig.Click(100, 276 + 30); // "Filter Bandwidth"
  rig.editor->Tick();
  EXPECT_EQ(rig.Value(kEnvTarget), 2.0);
  EXPECT_EQ(rig.plug.EnvelopeState().mEnvTarget, kTargetBandwidth);
  EXPECT_EQ(rig.Control<IBitmapControl>(layout::kRoutingIndicator)->FrameForValue(), 2);
  // The click on the face reported the unchanged value; the face's redraw
  // then reported the choice.
  const auto automated = rig.plug.CallsOf(Call::kAutomate);
  ASSERT_EQ(automated.size(), 2u);
  EXPECT_EQ(automated[0].value, 0.0);
  EXPECT_EQ(automated[1].index, kEnvTarget);
  EXPECT_EQ(automated[1].value, 0.5);
  EXPECT_FALSE(target->IsOpen());
}

TEST(KestraneEditor, WheelNotchesOnAKnobAreOneHostGesture)
{
  KestraneEditorRig rig;
  const double before = rig.Value(kFilterFreq);
  MouseMods none;
  for (int i = 0; i < 5; ++i) rig.editor->MouseWheel(92, 119, &none, 1);
  for (int t = 0; t < 12; ++t) rig.editor->Tick();
  EXPECT_EQ(rig.Gesture(kFilterFreq),
            std::vector<Call::Kind>({Call::kBeginEdit, Call::kAutomate, Call::kAutomate, Call::kAutomate,
                                     Call::kAutomate, Call::kAutomate, Call::kEndEdit}));
  EXPECT_GT(rig.Value(kFilterFreq), before);
}

TEST(KestraneEditor, DraggingAKnobUpRaisesItsParameterByTheGearing)
{
  KestraneEditorRig rig;
  auto* knob = rig.Control<IKnobArcImg>(layout::kEnvDepthKnob);
  const double before = knob->Value();
  MouseMods left(true, false);
  rig.editor->MouseDown(330, 212, &left);
  rig.editor->MouseDrag(330, 200, &left);
  rig.editor->MouseUp(330, 200, &left);
  // 12 pixels up on a 70-pixel knob with gearing 4; the parameter keeps
  // whole percents.
  EXPECT_NEAR(knob->Value() - before, 12.0 / 70.0 / 4.0, 1e-12);
  EXPECT_EQ(rig.Value(kEnvDepth), 94.0);
  // The press reports the unchanged value, the drag the new one.
  EXPECT_EQ(rig.Gesture(kEnvDepth),
            std::vector<Call::Kind>({Call::kBeginEdit, Call::kAutomate, Call::kAutomate, Call::kEndEdit}));
}

TEST(KestraneEditor, AfterAResizeTheEffectDrivesNoneOfTheDroppedControls)
{
  KestraneEditorRig rig;
  rig.Process(512);
  rig.editor->ResizeEditor(388, 470);
  ASSERT_EQ(rig.editor->NControls(), 0);
  // New controls take the old indices; the routing indicator was number 5.
  struct Blank : IControl
  {
    using IControl::IControl;
    bool Paint(IGraphics*) override { return true; }
  };
  for (int i = 0; i <= layout::kRoutingIndicator; ++i) rig.editor->AddControl(new Blank(&rig.plug, IRECT()));

  // The displays were deleted: marks, ranges and flags must go nowhere.
  rig.HostSets(kEnvTarget, kTargetFreq);
  rig.HostSets(kLfoTarget, kTargetPan);
  rig.plug.SendMidi(MidiMessage{0, 0x90, 60, 100});
  rig.Process(4800);
  EXPECT_EQ(rig.editor->GetControl(layout::kRoutingIndicator)->Value(), 0.0);
}
