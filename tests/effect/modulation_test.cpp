#include <cmath>

#include <gtest/gtest.h>

#include "effect/ModulationRanges.h"
#include "tests/effect/EffectTestSupport.h"

using namespace effect_test;

namespace
{
const double kSixDecibels = std::exp(6 * 0.11512925464970228); // about 1.995

struct Displays
{
  ModulationMarks env;
  ModulationMarks lfo;
};

// An opened, initialised plug-in at 48 kHz with an editor and both displays.
EffectEditor* WithEditor(CLS_KESTRANE& plug, Displays& displays)
{
  auto* editor = new EffectEditor(&plug);
  plug.AttachEditor(editor);
  plug.AttachModulationDisplays(&displays.env, &displays.lfo, 5);
  OpenAt(plug, 48000.0);
  Set(plug, kLfoSync, 0);
  Advance(plug, 1);
  return editor;
}
} // namespace

TEST(ModulationRanges, EnvelopeRangeStartsAtTheUsersValue)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  Displays displays;
  WithEditor(plug, displays);
  Set(plug, kFilterFreq, 15000);
  Set(plug, kEnvDepth, 50);
  Set(plug, kEnvTarget, kTargetFreq);
  const Envelope& env = plug.EnvelopeState();
  EXPECT_EQ(env.mEnvSpan, 9990.0);
  EXPECT_EQ(env.mEnvBase, 10010.0); // pushed down from 15000
  EXPECT_EQ(env.mEnvMin, 20.0f);
  EXPECT_EQ(env.mEnvMax, 20000.0f);
  EXPECT_EQ(displays.env.EnvLow(), 20.0f);
  EXPECT_EQ(displays.env.EnvHigh(), 20000.0f);

  Set(plug, kFilterFreq, 1000); // room above: not pushed
  EXPECT_EQ(env.mEnvBase, 1000.0);

  Set(plug, kEnvTarget, kTargetBandwidth);
  EXPECT_EQ(env.mEnvMin, 0.01f);
  EXPECT_EQ(env.mEnvMax, 1.0f);
  EXPECT_NEAR(env.mEnvSpan, 0.495, 1e-7);
  EXPECT_NEAR(env.mEnvBase, 0.2, 1e-7);

  Set(plug, kEnvTarget, kTargetNone); // span and base stay, the ends go to 0
  EXPECT_EQ(env.mEnvMin, 0.0f);
  EXPECT_EQ(env.mEnvMax, 0.0f);
  EXPECT_NEAR(env.mEnvSpan, 0.495, 1e-7);
}

TEST(ModulationRanges, LfoSwingsAroundTheUsersValueInsideTheEnds)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  Displays displays;
  WithEditor(plug, displays);
  const Lfo& lfo = plug.LfoState();

  Set(plug, kLfoDepth, 100);
  Set(plug, kLfoTarget, kTargetPan);
  EXPECT_EQ(lfo.mLfoSpan, 2.0);
  EXPECT_EQ(lfo.mLfoBase, -1.0);
  EXPECT_EQ(displays.lfo.LfoLow(), -1.0f);
  EXPECT_EQ(displays.lfo.LfoHigh(), 1.0f);

  Set(plug, kFilterBandwidth, 3);
  Set(plug, kLfoDepth, 50);
  Set(plug, kLfoTarget, kTargetBandwidth);
  EXPECT_NEAR(lfo.mLfoSpan, 0.475, 1e-7);
  EXPECT_NEAR(lfo.mLfoBase, 0.05, 1e-7); // lifted from -0.2075 to the lower end
  EXPECT_EQ(lfo.mLfoMin, 0.05f);
  EXPECT_EQ(lfo.mLfoMax, 1.0f);

  Set(plug, kFilterFreq, 19000);
  Set(plug, kLfoTarget, kTargetFreq);
  EXPECT_EQ(lfo.mLfoSpan, 9990.0);
  EXPECT_EQ(lfo.mLfoBase, 10010.0); // shifted down to stay below 20000
}

TEST(ModulationRanges, ChildEnvelopeTakesTheLfoTarget)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  Displays displays;
  EffectEditor* editor = WithEditor(plug, displays);
  Set(plug, kFilterMix, 30);
  Set(plug, kLfoEnvChild, 1);
  Set(plug, kLfoTarget, kTargetMix);

  const Envelope& env = plug.EnvelopeState();
  EXPECT_EQ(env.mEnvMin, 0.0f);
  EXPECT_EQ(env.mEnvMax, 1.0f);
  EXPECT_EQ(env.mEnvSpan, 0.9f); // the full range times the depth (90 %)
  EXPECT_NEAR(env.mEnvBase, 0.3, 1e-7);
  EXPECT_TRUE(plug.EnvDisplayActive());
  EXPECT_TRUE(displays.env.ShowEnv());
  EXPECT_EQ(displays.env.EnvLow(), 0.0f);
  EXPECT_EQ(displays.env.EnvHigh(), 1.0f);
  EXPECT_EQ(editor->mControlValues.back().controlIdx, 5);
  EXPECT_EQ(editor->mControlValues.back().value, 0.6);

  // The envelope runs without a target of its own, idle at 0.3, and the LFO
  // (span 0.9 from 0) swings +-0.45 around it, limited to 0 .. 1.
  Advance(plug, 1);
  EXPECT_EQ(plug.FilterState().mMixCur, 0.0f); // 0.3 - 0.45, limited
  Advance(plug, 48000);                         // the LFO's top
  EXPECT_NEAR(plug.FilterState().mMixCur, 0.75, 1e-6);

  Set(plug, kLfoEnvChild, 0); // no child and no envelope target: hidden
  EXPECT_FALSE(displays.env.ShowEnv());
}

TEST(Compensation, FactorsAcrossTheRange)
{
  // "Right" at 6 dB on the cutoff range: none at 20 Hz, full at 20000 Hz.
  EXPECT_EQ(CompensationFactor(20.0, 20.0f, 20000.0f, 1, kSixDecibels), 1.0);
  EXPECT_NEAR(CompensationFactor(20000.0, 20.0f, 20000.0f, 1, kSixDecibels), 1.995, 1e-3);
  // "Left": the reverse.
  EXPECT_NEAR(CompensationFactor(20.0, 20.0f, 20000.0f, 0, kSixDecibels), 1.995, 1e-3);
  EXPECT_EQ(CompensationFactor(20000.0, 20.0f, 20000.0f, 0, kSixDecibels), 1.0);
  // "Both": full at both ends, none in the middle.
  EXPECT_NEAR(CompensationFactor(-1.0, -1.0f, 1.0f, 2, kSixDecibels), 1.995, 1e-3);
  EXPECT_NEAR(CompensationFactor(1.0, -1.0f, 1.0f, 2, kSixDecibels), 1.995, 1e-3);
  EXPECT_EQ(CompensationFactor(0.0, -1.0f, 1.0f, 2, kSixDecibels), 1.0);
  EXPECT_NEAR(CompensationFactor(0.5, -1.0f, 1.0f, 2, kSixDecibels), 1.0 + 0.5 * (kSixDecibels - 1.0), 1e-12);
  // An empty range: no compensation.
  EXPECT_EQ(CompensationFactor(5.0, 0.0f, 0.0f, 1, kSixDecibels), 1.0);
  EXPECT_EQ(CLS_KESTRANE::CompensationFactor(5.0, 3.0f, 3.0f, 2, 10.0), 1.0);
}

TEST(Compensation, ScalesTheWetSignal)
{
  // The envelope on "Filter Pan" with depth 0 keeps the pan at 0, halfway up
  // the range -1 .. 1: "Right" at 6 dB multiplies the wet signal by
  // 1 + (G - 1) / 2.
  CLS_KESTRANE plain{KestraneInstanceInfo{}}, compensated{KestraneInstanceInfo{}};
  for (CLS_KESTRANE* plug : {&plain, &compensated})
  {
    OpenAt(*plug, 48000.0);
    Set(*plug, kFilterType, 0);
    Set(*plug, kFilterFreq, 2000);
  }
  Set(compensated, kEnvDepth, 0);
  Set(compensated, kEnvTarget, kTargetPan);
  Stereo a(1024), b(1024);
  a.Noise(4);
  b.Noise(4);
  Process(plain, a);
  Process(compensated, b);
  const double factor = 1.0 + (kSixDecibels - 1.0) / 2.0;
  for (int s = 0; s < 1024; ++s) ASSERT_NEAR(b.out[0][s], a.out[0][s] * factor, 1e-12);
}

TEST(RoutingIndicator, SixStates)
{
  EXPECT_EQ(CLS_KESTRANE::RoutingIndicatorValue(0, 0, false), 0.0);
  EXPECT_EQ(CLS_KESTRANE::RoutingIndicatorValue(0, 0, true), 0.0);
  EXPECT_EQ(CLS_KESTRANE::RoutingIndicatorValue(1, 0, false), 0.2);
  EXPECT_EQ(CLS_KESTRANE::RoutingIndicatorValue(1, 1, true), 0.2); // equal targets: envelope only
  EXPECT_EQ(CLS_KESTRANE::RoutingIndicatorValue(0, 4, false), 0.4);
  EXPECT_EQ(CLS_KESTRANE::RoutingIndicatorValue(0, 4, true), 0.6);
  EXPECT_EQ(CLS_KESTRANE::RoutingIndicatorValue(2, 3, false), 0.8);
  EXPECT_EQ(CLS_KESTRANE::RoutingIndicatorValue(2, 3, true), 1.0);
}

TEST(RoutingIndicator, ShownAfterEveryChange)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  Displays displays;
  EffectEditor* editor = WithEditor(plug, displays);
  Set(plug, kEnvTarget, kTargetFreq);
  EXPECT_EQ(editor->mControlValues.back().value, 0.2);
  Set(plug, kLfoTarget, kTargetPan);
  EXPECT_EQ(editor->mControlValues.back().value, 0.8);
  Set(plug, kLfoEnvChild, 1);
  EXPECT_EQ(editor->mControlValues.back().value, 1.0);
  Set(plug, kFilterMix, 50); // any parameter refreshes it
  EXPECT_EQ(editor->mControlValues.back().value, 1.0);
  for (const auto& shown : editor->mControlValues) EXPECT_EQ(shown.controlIdx, 5);
}

TEST(ModulationDisplays, MarksAndFlags)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  Displays displays;
  WithEditor(plug, displays);
  EXPECT_FALSE(displays.env.ShowEnv());
  EXPECT_FALSE(displays.lfo.ShowLfo());

  Set(plug, kFilterFreq, 1000);
  Set(plug, kEnvTarget, kTargetFreq);
  Set(plug, kLfoTarget, kTargetMix);
  EXPECT_TRUE(displays.env.ShowEnv());
  EXPECT_TRUE(displays.lfo.ShowLfo());

  NoteOn(plug);
  Advance(plug, 4800);
  EXPECT_EQ(displays.env.EnvMark(), plug.FilterState().mFreqCur);
  EXPECT_GT(displays.env.EnvMark(), 1000.0f);
  EXPECT_EQ(displays.lfo.LfoMark(), plug.FilterState().mMixCur);

  // A block of no frames leaves the marks.
  const float envMark = displays.env.EnvMark();
  const float lfoMark = displays.lfo.LfoMark();
  Stereo empty(1);
  plug.ProcessDouble(empty.ins, empty.outs, 0);
  EXPECT_EQ(displays.env.EnvMark(), envMark);
  EXPECT_EQ(displays.lfo.LfoMark(), lfoMark);

  Set(plug, kLfoTarget, kTargetNone);
  EXPECT_FALSE(displays.lfo.ShowLfo());
  Set(plug, kEnvTarget, kTargetNone);
  EXPECT_FALSE(displays.env.ShowEnv());
}

TEST(ModulationDisplays, AttachedLaterReceiveTheCurrentState)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  OpenAt(plug, 48000.0);
  Advance(plug, 1);
  Set(plug, kEnvTarget, kTargetPan);
  Displays displays;
  plug.AttachModulationDisplays(&displays.env, &displays.lfo, 5);
  EXPECT_TRUE(displays.env.ShowEnv());
  EXPECT_EQ(displays.env.EnvLow(), -1.0f);
  EXPECT_EQ(displays.env.EnvHigh(), 1.0f);
  plug.AttachModulationDisplays(nullptr, nullptr, -1); // detached: nothing is written
  Advance(plug, 10);
}
