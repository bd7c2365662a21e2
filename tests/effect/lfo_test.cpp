#include <cmath>

#include <gtest/gtest.h>

#include "effect/SyncDivisions.h"
#include "tests/effect/EffectTestSupport.h"

using namespace effect_test;

namespace
{
double ValueAt(Lfo::Wave wave, int pos, int period, double span, double base)
{
  Lfo lfo;
  lfo.mLfoWave = wave;
  lfo.mLfoPos = pos;
  lfo.mLfoPeriod = period;
  lfo.mLfoSpan = span;
  lfo.mLfoBase = base;
  lfo.Step();
  return lfo.mLfoValue;
}

// A free LFO (2000 ms) at 48 kHz on "Filter Pan", pan 0, depth 100 %.
void FreeLfoOnPan(CLS_KESTRANE& plug)
{
  OpenAt(plug, 48000.0);
  Set(plug, kLfoSync, 0);
  Set(plug, kLfoDepth, 100);
  Set(plug, kLfoTarget, kTargetPan);
  Advance(plug, 1);
}
} // namespace

TEST(Lfo, ShapesAtKeyPhases)
{
  // Span 2 from -1: every shape runs between -1 and +1.
  const double eps = 1e-12;
  EXPECT_NEAR(ValueAt(Lfo::kSine, 0, 120, 2, -1), -1.0, eps);
  EXPECT_NEAR(ValueAt(Lfo::kSine, 30, 120, 2, -1), 0.0, eps);
  EXPECT_NEAR(ValueAt(Lfo::kSine, 60, 120, 2, -1), 1.0, eps);
  EXPECT_NEAR(ValueAt(Lfo::kSine, 90, 120, 2, -1), 0.0, eps);

  EXPECT_NEAR(ValueAt(Lfo::kTriangle, 0, 120, 2, -1), -1.0, eps);
  EXPECT_NEAR(ValueAt(Lfo::kTriangle, 30, 120, 2, -1), 0.0, eps);
  EXPECT_NEAR(ValueAt(Lfo::kTriangle, 60, 120, 2, -1), 1.0, eps);
  EXPECT_NEAR(ValueAt(Lfo::kTriangle, 90, 120, 2, -1), 0.0, eps);

  // Saw: rises over two thirds, falls three times as steeply over the rest.
  EXPECT_NEAR(ValueAt(Lfo::kSaw, 0, 120, 1, 0), 0.0, eps);
  EXPECT_NEAR(ValueAt(Lfo::kSaw, 40, 120, 1, 0), 0.5, eps);
  EXPECT_NEAR(ValueAt(Lfo::kSaw, 79, 120, 1, 0), 118.0 / 120.0, eps); // (3 x 79) halved, remainder dropped
  EXPECT_NEAR(ValueAt(Lfo::kSaw, 80, 120, 1, 0), 1.0, eps);
  EXPECT_NEAR(ValueAt(Lfo::kSaw, 100, 120, 1, 0), 0.5, eps);
  EXPECT_NEAR(ValueAt(Lfo::kSaw, 119, 120, 1, 0), 3.0 / 120.0, eps);

  // Saw Rev: rises steeply over the first third, falls slowly over the rest.
  EXPECT_NEAR(ValueAt(Lfo::kSawRev, 20, 120, 1, 0), 0.5, eps);
  EXPECT_NEAR(ValueAt(Lfo::kSawRev, 40, 120, 1, 0), 1.0, eps);
  EXPECT_NEAR(ValueAt(Lfo::kSawRev, 80, 120, 1, 0), 0.5, eps);
  EXPECT_NEAR(ValueAt(Lfo::kSawRev, 119, 120, 1, 0), 1.0 / 120.0, eps);

  EXPECT_NEAR(ValueAt(Lfo::kSineHalf, 0, 120, 1, 0), 0.0, eps);
  EXPECT_NEAR(ValueAt(Lfo::kSineHalf, 30, 120, 1, 0), std::sqrt(0.5), eps);
  EXPECT_NEAR(ValueAt(Lfo::kSineHalf, 60, 120, 1, 0), 1.0, eps);
  EXPECT_NEAR(ValueAt(Lfo::kSineHalf2, 0, 120, 1, 0), 1.0, eps);
  EXPECT_NEAR(ValueAt(Lfo::kSineHalf2, 60, 120, 1, 0), 0.0, eps);

  // Every shape stays inside its range over a whole period.
  for (int wave = 0; wave < Lfo::kWaveCount; ++wave)
    for (int p = 0; p <= 97; ++p)
    {
      const double v = ValueAt(static_cast<Lfo::Wave>(wave), p, 97, 0.4, 0.3);
      ASSERT_GE(v, 0.3 - 1e-12) << wave << " " << p;
      ASSERT_LE(v, 0.7 + 1e-12) << wave << " " << p;
    }
}

TEST(Lfo, SineOnPanSwingsFromLeftToRightAndBack)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  FreeLfoOnPan(plug);
  EXPECT_EQ(plug.LfoState().mLfoPeriod, 96000);
  EXPECT_EQ(plug.LfoState().mLfoSpan, 2.0);
  EXPECT_EQ(plug.LfoState().mLfoBase, -1.0);
  EXPECT_EQ(plug.FilterState().mPanCur, -1.0f); // position 0: the bottom
  Advance(plug, 48000);
  EXPECT_EQ(plug.FilterState().mPanCur, 1.0f); // position 48000: the top
  Advance(plug, 48000);
  EXPECT_EQ(plug.FilterState().mPanCur, -1.0f); // wrapped to position 0
  EXPECT_EQ(plug.LfoState().mLfoPos, 1);

  // Moving the target away returns the pan to its parameter value.
  Set(plug, kLfoTarget, kTargetMix);
  EXPECT_EQ(plug.FilterState().mPanCur, 0.0f);
}

TEST(Lfo, StartPhase)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  FreeLfoOnPan(plug);
  // Before any start phase is applied, a reset starts at 0.
  plug.SetBlockSize(256);
  EXPECT_EQ(plug.LfoState().mLfoPos, 0);

  Set(plug, kLfoStart, 50);
  EXPECT_EQ(plug.LfoState().mLfoPos, 48000);
  Advance(plug, 10);
  plug.SetBlockSize(512); // a reset returns to the start phase
  EXPECT_EQ(plug.LfoState().mLfoPos, 48000);

  // 100 % sits on the period itself for one sample, then wraps.
  Set(plug, kLfoStart, 100);
  EXPECT_EQ(plug.LfoState().mLfoPos, 96000);
  Advance(plug, 1);
  EXPECT_EQ(plug.LfoState().mLfoPos, 0);
}

TEST(Lfo, StartPhaseIsNotTakenOverBeforeTheFirstBlock)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  OpenAt(plug, 48000.0);
  Set(plug, kLfoStart, 50);
  EXPECT_EQ(plug.LfoState().mLfoStart, -1.0f);
}

TEST(Lfo, DivisionLengths)
{
  const double whole[31] = {1.0 / 32, 1.0 / 24, 3.0 / 64, 1.0 / 16, 1.0 / 12, 3.0 / 32, 1.0 / 8, 1.0 / 6,
                            3.0 / 16, 1.0 / 4,  1.0 / 3,  3.0 / 8,  1.0 / 2,  2.0 / 3,  3.0 / 4, 1.0,
                            4.0 / 3,  3.0 / 2,  2.0,      8.0 / 3,  3.0,      4.0,      16.0 / 3, 6.0,
                            8.0,      32.0 / 3, 12.0,     16.0,     64.0 / 3, 24.0,     32.0};
  for (int i = 0; i < 31; ++i)
  {
    EXPECT_NEAR(CLS_KESTRANE::SyncDivisionLength(i), whole[i], whole[i] * 1e-7) << i;
    if (i > 0)
    {
      EXPECT_GT(CLS_KESTRANE::SyncDivisionLength(i), CLS_KESTRANE::SyncDivisionLength(i - 1));
    }
  }
  // Plain divisions are exact powers of two.
  EXPECT_EQ(CLS_KESTRANE::SyncDivisionLength(0), 0.03125f);
  EXPECT_EQ(CLS_KESTRANE::SyncDivisionLength(30), 32.0f);
  // Out of the list: the nearest end.
  EXPECT_EQ(SyncDivisionLength(-4), SyncDivisionLength(0));
  EXPECT_EQ(SyncDivisionLength(99), SyncDivisionLength(30));
}

TEST(Lfo, SyncedPeriodsFollowTheTempo)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  OpenAt(plug, 48000.0);
  plug.SetTempo(120.0);
  Advance(plug, 1);
  EXPECT_EQ(plug.LfoState().mSamplesPerWholeNote, 96000.0);
  EXPECT_EQ(plug.LfoState().mLfoPeriod, 96000); // "1/1", the default
  Set(plug, kLfoRateSync, 9);
  EXPECT_EQ(plug.LfoState().mLfoPeriod, 24000); // "1/4"
  Set(plug, kLfoRateSync, 7);
  EXPECT_EQ(plug.LfoState().mLfoPeriod, 16000); // "1/4T"
  Set(plug, kLfoRateSync, 11);
  EXPECT_EQ(plug.LfoState().mLfoPeriod, 36000); // "1/4D"

  plug.SetTempo(60.0);
  Advance(plug, 1);
  EXPECT_EQ(plug.LfoState().mLfoPeriod, 72000);

  // Without a tempo a synced LFO stands still.
  plug.SetTempo(0.0);
  Set(plug, kLfoTarget, kTargetPan);
  Advance(plug, 1);
  EXPECT_EQ(plug.LfoState().mLfoPeriod, 0);
  Advance(plug, 100);
  EXPECT_EQ(plug.LfoState().mLfoPos, 0);
  EXPECT_EQ(plug.FilterState().mPanCur, 0.0f);
}

TEST(Lfo, NearestDivision)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  OpenAt(plug, 48000.0);
  EXPECT_EQ(plug.NearestSyncDivision(24000), 30); // no tempo: every length is 0
  plug.SetTempo(120.0);
  Advance(plug, 1);
  EXPECT_EQ(plug.NearestSyncDivision(24000), 9);  // "1/4"
  EXPECT_EQ(plug.NearestSyncDivision(21000), 9);  // midway between 18000 and 24000: the longer
  EXPECT_EQ(plug.NearestSyncDivision(20999), 8);  // "1/8D"
  EXPECT_EQ(plug.NearestSyncDivision(17000), 8);
  EXPECT_EQ(plug.NearestSyncDivision(16999), 7);  // "1/4T"
  EXPECT_EQ(plug.NearestSyncDivision(10), -1);    // below half the shortest
  EXPECT_EQ(plug.NearestSyncDivision(3000000), 30);
  EXPECT_EQ(plug.NearestSyncDivision(2147483647), 30);
}

TEST(Lfo, ATempoChangeRestartsTheFreeLfo)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  FreeLfoOnPan(plug);
  Advance(plug, 5000);
  EXPECT_EQ(plug.LfoState().mLfoPos, 5001);
  plug.SetTempo(100.0);
  Advance(plug, 300);
  EXPECT_EQ(plug.LfoState().mLfoPos, 300);
  EXPECT_EQ(plug.LfoState().mLfoPeriod, 96000); // free: the period stays
}

TEST(Lfo, DoesNotRunOnTheEnvelopesTarget)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  auto* editor = new EffectEditor(&plug);
  plug.AttachEditor(editor);
  ModulationMarks envMarks, lfoMarks;
  plug.AttachModulationDisplays(&envMarks, &lfoMarks, 5);
  OpenAt(plug, 48000.0);
  Set(plug, kLfoSync, 0);
  Set(plug, kFilterFreq, 1000);
  Set(plug, kEnvTarget, kTargetFreq);
  Set(plug, kLfoTarget, kTargetFreq);
  Advance(plug, 1000);
  EXPECT_EQ(plug.LfoState().mLfoPos, 0);
  EXPECT_EQ(plug.FilterState().mFreqCur, 1000.0f); // the idle envelope's bottom
  EXPECT_EQ(editor->mControlValues.back().value, 0.2);
  EXPECT_EQ(plug.LfoState().mLfoMin, 0.0f);
  EXPECT_EQ(plug.LfoState().mLfoMax, 0.0f);
  EXPECT_EQ(lfoMarks.LfoLow(), 0.0f);
  EXPECT_EQ(lfoMarks.LfoHigh(), 0.0f);
}
