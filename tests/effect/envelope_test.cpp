#include <gtest/gtest.h>

#include "tests/effect/EffectTestSupport.h"

using namespace effect_test;

namespace
{
// At 44.1 kHz with the envelope on "Filter Mix", so it runs; defaults give
// attack 800 ms, decay 500 ms, sustain 90 %, release 700 ms.
void EnvelopeAt44k(CLS_KESTRANE& plug)
{
  OpenAt(plug, 44100.0);
  Set(plug, kEnvTarget, kTargetMix);
  Advance(plug, 1); // first block: sample counts at 44.1 kHz
}

float Level(const CLS_KESTRANE& plug)
{
  return static_cast<float>(plug.EnvelopeState().mEnvLevel);
}
} // namespace

TEST(Envelope, StagesLastTheirLengthInSamples)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  EnvelopeAt44k(plug);
  const Envelope& env = plug.EnvelopeState();
  ASSERT_EQ(env.mAttackSamples, 35280);
  ASSERT_EQ(env.mDecaySamples, 22050);
  ASSERT_EQ(env.mReleaseSamples, 30870);

  NoteOn(plug);
  Advance(plug, 1);
  EXPECT_EQ(env.mEnvLevel, 0.0); // the first attack sample is the starting level
  // 1 - count / 35280 in single precision: within a step of float at 1.0.
  const double step = 1.0 / (1 << 23);
  Advance(plug, 1);
  EXPECT_NEAR(Level(plug), 1.0 / 35280.0, step);
  Advance(plug, 1);
  EXPECT_NEAR(Level(plug), 2.0 / 35280.0, step);

  Advance(plug, 35280 - 3);
  EXPECT_EQ(env.mAttackCount, 0);
  EXPECT_NEAR(Level(plug), 1.0 - 1.0 / 35280.0, 1e-7);

  // Decay from the top to the sustain level over 22050 samples.
  Advance(plug, 22049);
  EXPECT_GT(env.mEnvLevel, 0.9f);
  EXPECT_EQ(env.mDecayCount, 1);
  Advance(plug, 1);
  EXPECT_EQ(env.mEnvLevel, 90 * 0.01f);
  EXPECT_EQ(env.mDecayCount, -1);

  // Sustain holds.
  Advance(plug, 10000);
  EXPECT_EQ(env.mEnvLevel, 90 * 0.01f);

  // Release to 0 over 30870 samples, in a straight line.
  NoteOff(plug);
  Advance(plug, 15435);
  EXPECT_NEAR(env.mEnvLevel, 0.45, 1e-4);
  Advance(plug, 15434);
  EXPECT_GT(env.mEnvLevel, 0.0);
  Advance(plug, 1);
  EXPECT_EQ(env.mEnvLevel, 0.0);
  EXPECT_EQ(env.mReleaseCount, 0);
}

TEST(Envelope, RetriggerGlidesUpFromTheLevelReached)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  EnvelopeAt44k(plug);
  const Envelope& env = plug.EnvelopeState();
  NoteOn(plug);
  Advance(plug, 17640);
  const double reached = env.mEnvLevel;
  ASSERT_NEAR(reached, 0.5, 1e-3);

  NoteOn(plug);
  EXPECT_EQ(env.mNotesHeld, 2);
  Advance(plug, 1);
  EXPECT_NEAR(env.mEnvLevel, reached, 1e-6);
  Advance(plug, 35279);
  EXPECT_EQ(env.mAttackCount, 0); // the top is still reached after 35280 samples
  EXPECT_GT(env.mEnvLevel, 0.9999);

  // Releasing one of two notes does not release the envelope.
  NoteOff(plug);
  EXPECT_EQ(env.mNotesHeld, 1);
  EXPECT_EQ(env.mReleaseCount, 0);
  Advance(plug, 100);
  EXPECT_GT(env.mEnvLevel, 0.99);
  NoteOff(plug);
  EXPECT_EQ(env.mNotesHeld, 0);
  EXPECT_EQ(env.mReleaseCount, 30870);
}

TEST(Envelope, NoteOffDuringTheAttackReleasesFromTheLevelReached)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  EnvelopeAt44k(plug);
  const Envelope& env = plug.EnvelopeState();
  NoteOn(plug);
  Advance(plug, 8820); // a quarter of the attack
  const double reached = env.mEnvLevel;
  NoteOff(plug);
  Advance(plug, 1);
  EXPECT_NEAR(env.mEnvLevel, reached * 30869.0 / 30870.0, 1e-6);
  Advance(plug, 15434);
  EXPECT_NEAR(env.mEnvLevel, reached * 0.5, 1e-4);
  Advance(plug, 15435);
  EXPECT_EQ(env.mEnvLevel, 0.0);
  EXPECT_EQ(env.mNotesHeld, 0);

  // A stray note-off never counts below zero.
  NoteOff(plug);
  EXPECT_EQ(env.mNotesHeld, 0);
}

TEST(Envelope, ZeroLengthStages)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  EnvelopeAt44k(plug);
  const Envelope& env = plug.EnvelopeState();
  Set(plug, kEnvAttack, 0);
  Set(plug, kEnvDecay, 0);
  Set(plug, kEnvSustain, 60);
  Set(plug, kEnvRelease, 0);
  const float kSustain = 60 * 0.01f;

  // No attack, no decay: straight to the sustain level.
  NoteOn(plug);
  EXPECT_EQ(env.mEnvLevel, kSustain);
  Advance(plug, 10);
  EXPECT_EQ(env.mEnvLevel, kSustain);
  // No release: straight to 0.
  NoteOff(plug);
  EXPECT_EQ(env.mEnvLevel, 0.0);

  // No attack but a decay: straight to the top, then down.
  Set(plug, kEnvDecay, 10); // 441 samples
  NoteOn(plug);
  EXPECT_EQ(env.mEnvLevel, 1.0);
  Advance(plug, 441);
  EXPECT_EQ(env.mEnvLevel, kSustain);
}

TEST(Envelope, ALengthChangeWaitsForTheNextNote)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  EnvelopeAt44k(plug);
  NoteOn(plug);
  Advance(plug, 100);
  Set(plug, kEnvAttack, 100); // 4410 samples from the next note on
  EXPECT_EQ(plug.EnvelopeState().mAttackCount, 35180);
  EXPECT_EQ(plug.EnvelopeState().mAttackSamples, 4410);
}

TEST(Envelope, ANoteTakesEffectFromTheNextBlock)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  EnvelopeAt44k(plug);
  MidiMessage on = Midi(0x90, 64, 90);
  on.mFrameOffset = 100;
  plug.SendMidi(on);
  Advance(plug, 200);
  EXPECT_EQ(plug.EnvelopeState().mAttackCount, 35280 - 200);
}

TEST(Envelope, AnIdleEnvelopeKeepsItsCountersUntilItRuns)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  OpenAt(plug, 44100.0);
  Advance(plug, 1);
  NoteOn(plug); // no target, no child: the envelope does not run
  Advance(plug, 5000);
  EXPECT_EQ(plug.EnvelopeState().mAttackCount, 35280);
  Set(plug, kEnvTarget, kTargetPan);
  Advance(plug, 10);
  EXPECT_EQ(plug.EnvelopeState().mAttackCount, 35270);
}

TEST(Envelope, DownRunsTheRangeFromTheTop)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  OpenAt(plug, 44100.0);
  Set(plug, kFilterMix, 50);
  Set(plug, kEnvDepth, 40);
  Set(plug, kEnvDirection, 1);
  Set(plug, kEnvAttack, 0);
  Set(plug, kEnvDecay, 0);
  Set(plug, kEnvSustain, 100);
  Set(plug, kEnvTarget, 4);
  Advance(plug, 1);
  const Envelope& env = plug.EnvelopeState();
  EXPECT_EQ(env.mEnvMin, 0.0f);
  EXPECT_EQ(env.mEnvMax, 1.0f);
  EXPECT_NEAR(env.mEnvBase, 0.5, 1e-7);
  EXPECT_NEAR(env.mEnvBase + env.mEnvSpan, 0.9, 1e-7);
  // Idle: the top of the range.
  EXPECT_NEAR(plug.FilterState().mMixCur, 0.9f, 1e-6);
  EXPECT_NEAR(plug.FilterState().mDryGain, 0.1f, 1e-6);
  // Full level: the bottom.
  NoteOn(plug);
  Advance(plug, 1);
  EXPECT_NEAR(plug.FilterState().mMixCur, 0.5f, 1e-6);
}
