#include <algorithm>
#include <cmath>
#include <limits>
#include <thread>

#include <gtest/gtest.h>

#include "tests/effect/EffectTestSupport.h"

using namespace effect_test;

namespace
{
std::vector<Call::Kind> EditCalls(const CLS_KESTRANE& plug, int paramIdx)
{
  std::vector<Call::Kind> kinds;
  for (const Call& c : plug.Calls())
    if ((c.kind == Call::kBeginEdit || c.kind == Call::kAutomate || c.kind == Call::kEndEdit) && c.index == paramIdx)
      kinds.push_back(c.kind);
  return kinds;
}

const std::vector<Call::Kind> kGesture{Call::kBeginEdit, Call::kAutomate, Call::kEndEdit};

// A free 2000 ms LFO (96000 samples at 48 kHz) with the host at 120 BPM.
void FreeLfoAt120Bpm(CLS_KESTRANE& plug)
{
  OpenAt(plug, 48000.0);
  Set(plug, kLfoSync, 0);
  plug.SetTempo(120.0);
  Advance(plug, 1);
  ASSERT_EQ(plug.LfoState().mLfoPeriod, 96000);
}

// The sync button: raise the flag, then change "LFO1 Sync" as a user edit.
void ClickSync(CLS_KESTRANE& plug, bool on)
{
  plug.MarkSyncClicked();
  plug.SetParameterFromEditor(kLfoSync, on ? 1.0 : 0.0);
}
} // namespace

TEST(ParamApplication, SameIntegerTwiceDoesNothing)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  auto* editor = new EffectEditor(&plug);
  plug.AttachEditor(editor);
  ModulationMarks envMarks, lfoMarks;
  plug.AttachModulationDisplays(&envMarks, &lfoMarks, 5);
  OpenAt(plug, 48000.0);
  Advance(plug, 1);
  Set(plug, kEnvTarget, kTargetFreq);
  Set(plug, kFilterFreq, 1000);
  const size_t shown = editor->mControlValues.size();
  const double base = plug.EnvelopeState().mEnvBase;

  Set(plug, kFilterFreq, 1000.3); // same integer
  Set(plug, kFilterFreq, 1000);
  EXPECT_EQ(editor->mControlValues.size(), shown);
  EXPECT_EQ(plug.EnvelopeState().mEnvBase, base);

  Set(plug, kFilterFreq, 1000.5); // halves away from zero: 1001
  EXPECT_EQ(plug.AppliedValue(kFilterFreq), 1001);
  EXPECT_EQ(plug.FilterState().mFreqParam, 1001.0f);
  EXPECT_EQ(editor->mControlValues.size(), shown + 1);
}

TEST(ParamApplication, TheAudioThreadsOwnApplicationsLeaveTheEditorAlone)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  auto* editor = new EffectEditor(&plug);
  plug.AttachEditor(editor);
  ModulationMarks envMarks, lfoMarks;
  plug.AttachModulationDisplays(&envMarks, &lfoMarks, 5);
  plug.SetTempo(120.0);
  OpenAt(plug, 48000.0);
  const size_t shown = editor->mControlValues.size();
  ASSERT_GT(shown, 0u);
  Advance(plug, 1); // the first block resets the engine
  plug.SetTempo(90.0);
  Advance(plug, 1); // a tempo change applies "LFO1 Rate"
  EXPECT_EQ(plug.LfoState().mSamplesPerWholeNote, 4 * 48000.0 * 60.0 / 90.0);
  EXPECT_EQ(editor->mControlValues.size(), shown);
}

TEST(ParamApplication, FirstBlockComputesEverySampleCount)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  plug.ChangeSampleRate(44100.0);
  plug.Open();
  EXPECT_TRUE(plug.IsReady());
  EXPECT_FALSE(plug.Initialised());
  EXPECT_EQ(plug.EnvelopeState().mAttackSamples, 0);
  EXPECT_EQ(plug.LfoState().mLfoPeriod, 0);
  Advance(plug, 1);
  EXPECT_TRUE(plug.Initialised());
  EXPECT_EQ(plug.EnvelopeState().mAttackSamples, 35280);
  EXPECT_EQ(plug.EnvelopeState().mDecaySamples, 22050);
  EXPECT_EQ(plug.EnvelopeState().mReleaseSamples, 30870);
  EXPECT_EQ(plug.FilterState().mEngineSampleRate, 44100.0);

  // A later rate change recomputes them.
  plug.SetSampleRate(96000.0);
  EXPECT_EQ(plug.EnvelopeState().mAttackSamples, 76800);
}

TEST(ParamApplication, DefaultEngineState)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  // Before anything is applied.
  EXPECT_EQ(plug.EnvelopeState().mDecayCount, -1);
  EXPECT_EQ(plug.LfoState().mLfoStart, -1.0f);
  EXPECT_EQ(plug.AppliedValue(0), -1684300901);
  OpenAt(plug, 48000.0);
  Advance(plug, 1);
  const Filter& f = plug.FilterState();
  EXPECT_EQ(f.mFilterType, 1);
  EXPECT_EQ(f.mFreqParam, 20.0f);
  EXPECT_EQ(f.mBandwidthParam, 20 * 0.01f);
  EXPECT_EQ(f.mPanParam, 0.0f);
  EXPECT_EQ(f.mMixParam, 1.0f);
  EXPECT_EQ(f.mDryGain, 0.0f);
  const Envelope& env = plug.EnvelopeState();
  EXPECT_EQ(env.mEnvTarget, 0);
  EXPECT_EQ(env.mSustain, 90 * 0.01f);
  EXPECT_TRUE(env.mEnvUp);
  EXPECT_NEAR(env.mEnvCompGain, 1.9953, 1e-4);
  EXPECT_EQ(env.mEnvCompMode, 1);
  const Lfo& lfo = plug.LfoState();
  EXPECT_EQ(lfo.mLfoTarget, 0);
  EXPECT_TRUE(lfo.mLfoSync);
  EXPECT_FALSE(lfo.mLfoChild);
  EXPECT_EQ(lfo.mLfoPeriod, 0); // synced, no tempo
  EXPECT_EQ(lfo.mLfoDepth, 90 * 0.01f);
}

TEST(SyncCarryOver, ClickOnCarriesTheFreePeriodToTheNearestDivision)
{
  for (bool withEditor : {true, false})
  {
    SCOPED_TRACE(withEditor ? "editor" : "no editor");
    CLS_KESTRANE plug{KestraneInstanceInfo{}};
    EffectEditor* editor = nullptr;
    if (withEditor)
    {
      editor = new EffectEditor(&plug);
      plug.AttachEditor(editor);
    }
    FreeLfoAt120Bpm(plug);
    Set(plug, kLfoRateSync, 3); // away from the division the period matches
    plug.ClearCalls();

    ClickSync(plug, true);
    EXPECT_EQ(plug.Param(kLfoRateSync)->CurrentValue(), 15.0); // "1/1"
    EXPECT_EQ(EditCalls(plug, kLfoRateSync), kGesture);
    EXPECT_EQ(plug.LfoState().mLfoPeriod, 96000);
    EXPECT_FALSE(plug.SyncClicked());
    if (editor)
    {
      EXPECT_EQ(editor->mUserInput, std::vector<int>{kLfoRateSync});
      ASSERT_GE(editor->mHidden.size(), 2u);
      EXPECT_EQ(editor->mHidden[editor->mHidden.size() - 2].paramIdx, kLfoRateSync);
      EXPECT_FALSE(editor->mHidden[editor->mHidden.size() - 2].hide);
      EXPECT_EQ(editor->mHidden.back().paramIdx, kLfoRateMs);
      EXPECT_TRUE(editor->mHidden.back().hide);
    }
  }
}

TEST(SyncCarryOver, ClickOffCarriesTheSyncedPeriodInMilliseconds)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  OpenAt(plug, 48000.0);
  plug.SetTempo(120.0);
  Advance(plug, 1);
  Set(plug, kLfoRateSync, 9); // "1/4": 24000 samples
  plug.ClearCalls();
  ClickSync(plug, false);
  EXPECT_EQ(plug.Param(kLfoRateMs)->CurrentValue(), 500.0);
  EXPECT_EQ(EditCalls(plug, kLfoRateMs), kGesture);
  EXPECT_EQ(plug.LfoState().mLfoPeriod, 24000);
}

TEST(SyncCarryOver, HostAutomationKeepsThePeriod)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  FreeLfoAt120Bpm(plug);
  Set(plug, kLfoRateSync, 9);
  plug.ClearCalls();
  plug.SetParameterFromHost(kLfoSync, 1.0);
  EXPECT_TRUE(plug.LfoState().mLfoSync);
  EXPECT_EQ(plug.LfoState().mLfoPeriod, 96000); // not "1/4" yet
  EXPECT_TRUE(EditCalls(plug, kLfoRateSync).empty());
  Set(plug, kLfoRateSync, 7);
  EXPECT_EQ(plug.LfoState().mLfoPeriod, 16000);
}

TEST(SyncCarryOver, WithoutTempoTheClickLandsOnTheLongestDivision)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  OpenAt(plug, 48000.0);
  Set(plug, kLfoSync, 0);
  Advance(plug, 1);
  ClickSync(plug, true);
  EXPECT_EQ(plug.Param(kLfoRateSync)->CurrentValue(), 30.0);
  EXPECT_EQ(plug.LfoState().mLfoPeriod, 0);
  plug.ClearCalls();
  ClickSync(plug, false); // period 0: nothing to carry
  EXPECT_TRUE(EditCalls(plug, kLfoRateMs).empty());
  EXPECT_EQ(plug.LfoState().mLfoPeriod, 0);
}

TEST(SyncCarryOver, AShortPeriodLandsOnTheShortestDivision)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  OpenAt(plug, 48000.0);
  Set(plug, kLfoSync, 0);
  Set(plug, kLfoRateMs, 60); // 2880 samples: below half of "1/32" at 20 BPM
  plug.SetTempo(20.0);
  Advance(plug, 1);
  Set(plug, kLfoRateSync, 5);
  ClickSync(plug, true);
  EXPECT_EQ(plug.Param(kLfoRateSync)->CurrentValue(), 0.0); // -1, limited to the range
}

TEST(Midi, NotesOnAnyChannelDriveTheEnvelope)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  OpenAt(plug, 48000.0);
  for (int channel = 0; channel < 16; ++channel)
  {
    plug.SendMidi(Midi(0x90 | channel, 36 + channel, 1));
    EXPECT_EQ(plug.EnvelopeState().mNotesHeld, channel + 1);
  }
  for (int channel = 15; channel >= 0; --channel)
  {
    // A note-on with velocity 0 is a note-off.
    plug.SendMidi(channel % 2 ? Midi(0x80 | channel, 60, 64) : Midi(0x90 | channel, 60, 0));
    EXPECT_EQ(plug.EnvelopeState().mNotesHeld, channel);
  }
}

TEST(Midi, EveryMessageIsPassedOnAndOnlyNotesCount)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  OpenAt(plug, 48000.0);
  int expectedHeld = 0;
  for (int status = 0; status < 256; ++status)
  {
    plug.SendMidi(Midi(status, 60, 100));
    if ((status >> 4) == 9) ++expectedHeld;
    if ((status >> 4) == 8 && expectedHeld > 0) --expectedHeld;
    ASSERT_EQ(plug.EnvelopeState().mNotesHeld, expectedHeld) << status;
  }
  const auto sent = plug.CallsOf(Call::kMidiOut);
  ASSERT_EQ(sent.size(), 256u);
  for (int status = 0; status < 256; ++status)
  {
    EXPECT_EQ(sent[status].midi.mStatusByte, status);
    EXPECT_EQ(sent[status].midi.mByte1, 60);
    EXPECT_EQ(sent[status].midi.mByte2, 100);
  }
}

TEST(Readiness, ProcessingStartsOnceEveryParameterIsApplied)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  Stereo b(16);
  b.Fill(0.5, 0.5);
  for (int i = 0; i < 23; ++i) plug.ApplyParamChange(i);
  EXPECT_FALSE(plug.IsReady());
  Process(plug, b);
  EXPECT_FALSE(plug.Initialised()); // the block was not processed
  plug.ApplyParamChange(23);
  EXPECT_TRUE(plug.IsReady());
}

// Each object tracks its own readiness: a second object neither re-arms nor
// completes the first's.
TEST(Readiness, IsPerObject)
{
  CLS_KESTRANE first{KestraneInstanceInfo{}};
  for (int i = 0; i < 12; ++i) first.ApplyParamChange(i);
  CLS_KESTRANE second{KestraneInstanceInfo{}};
  for (int i = 12; i < 24; ++i) second.ApplyParamChange(i);
  EXPECT_FALSE(first.IsReady());
  EXPECT_FALSE(second.IsReady());
  for (int i = 12; i < 24; ++i) first.ApplyParamChange(i);
  EXPECT_TRUE(first.IsReady());
  EXPECT_FALSE(second.IsReady());
  second.Open();
  EXPECT_TRUE(second.IsReady());
}

TEST(Readiness, ObjectsOpenedOnSeveralThreads)
{
  constexpr int kObjects = 8;
  std::vector<std::unique_ptr<CLS_KESTRANE>> plugs;
  for (int i = 0; i < kObjects; ++i) plugs.push_back(std::make_unique<CLS_KESTRANE>(KestraneInstanceInfo{}));
  std::vector<std::thread> threads;
  for (auto& plug : plugs)
    threads.emplace_back([&plug] {
      plug->SetSampleRate(48000.0);
      plug->Open();
      Advance(*plug, 64);
    });
  for (std::thread& t : threads) t.join();
  for (auto& plug : plugs)
  {
    EXPECT_TRUE(plug->IsReady());
    EXPECT_TRUE(plug->Initialised());
  }
}

TEST(BadInput, IndicesOutOfRange)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  OpenAt(plug, 48000.0);
  plug.ClearCalls();
  for (int idx : {-1, 24, 1000, std::numeric_limits<int>::min()})
  {
    plug.ApplyParamChange(idx);
    plug.SetParamFromEngine(idx, 1.0);
    plug.SetParameterFromHost(idx, 0.5);
    EXPECT_EQ(plug.AppliedValue(idx), 0);
  }
  EXPECT_TRUE(plug.Calls().empty());
}

TEST(BadInput, ValuesOutsideTheRangesAreLimited)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  OpenAt(plug, 48000.0);
  Set(plug, kEnvTarget, kTargetBandwidth);
  Set(plug, kLfoTarget, kTargetPan);
  Set(plug, kLfoSync, 0);
  for (int i = 0; i < 24; ++i)
  {
    plug.SetParameterFromHost(i, (i % 3 == 0) ? 7.5 : (i % 3 == 1) ? -3.0 : std::nan(""));
    double lo = 0, hi = 0;
    plug.Param(i)->Bounds(&lo, &hi);
    EXPECT_GE(plug.AppliedValue(i), lo) << i;
    EXPECT_LE(plug.AppliedValue(i), hi) << i;
  }
  plug.SetParamFromEngine(kLfoRateMs, 1e12);
  EXPECT_EQ(plug.Param(kLfoRateMs)->CurrentValue(), 64000.0);
  plug.SetParamFromEngine(kLfoRateMs, std::nan(""));
  EXPECT_EQ(plug.Param(kLfoRateMs)->CurrentValue(), 60.0);
  NoteOn(plug);
  Stereo b(4096);
  b.Noise(8);
  Process(plug, b);
  EXPECT_TRUE(AllFinite(b));
}

TEST(BadInput, NoFramesWritesNothing)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  OpenAt(plug, 48000.0);
  Stereo b(8);
  b.Fill(0.25, 0.25);
  for (int c = 0; c < 2; ++c) b.out[c].assign(8, 7.0);
  plug.ProcessDouble(b.ins, b.outs, 0);
  plug.ProcessDouble(b.ins, b.outs, -5);
  plug.ProcessBlock(b.ins, b.outs, 0);
  for (int c = 0; c < 2; ++c)
    for (double v : b.out[c]) EXPECT_EQ(v, 7.0);
}

TEST(BadInput, EverySampleRateAndTempoGivesFiniteOutput)
{
  const double rates[] = {8000, 11025, 16000, 22050, 32000, 44100, 48000, 88200, 96000, 176400, 192000, 384000};
  const double tempos[] = {0.0, 1e-9, 1.0, 120.0, 1e9};
  for (double rate : rates)
    for (double tempo : tempos)
    {
      SCOPED_TRACE(testing::Message() << rate << " Hz, " << tempo << " BPM");
      CLS_KESTRANE plug{KestraneInstanceInfo{}};
      OpenAt(plug, rate);
      plug.SetTempo(tempo);
      Set(plug, kFilterType, 2);
      Set(plug, kFilterBandwidth, 1);
      Set(plug, kEnvTarget, kTargetFreq);
      Set(plug, kEnvDepth, 100);
      Set(plug, kEnvAttack, 5);
      Set(plug, kLfoTarget, kTargetBandwidth);
      Set(plug, kLfoRateSync, 0);
      Set(plug, kLfoEnvChild, 1);
      NoteOn(plug);
      Stereo b(2048);
      b.Noise(13);
      Process(plug, b);
      Process(plug, b);
      EXPECT_TRUE(AllFinite(b));
    }
}

TEST(BadInput, SampleRateWithoutMeaning)
{
  for (double rate : {0.0, -44100.0, std::numeric_limits<double>::infinity(), std::nan("")})
  {
    CLS_KESTRANE plug{KestraneInstanceInfo{}};
    OpenAt(plug, rate);
    Set(plug, kFilterType, 0);
    Stereo b(256);
    b.Noise(2);
    Process(plug, b);
    EXPECT_TRUE(AllFinite(b)) << rate;
  }
}

// How the host slices the audio into blocks never changes the sound: the
// modulation runs per frame whatever the block size.
TEST(Processing, BlockSizeDoesNotChangeTheOutput)
{
  const int routes[][4] = {
      // envelope target, LFO target, child, wave
      {kTargetFreq, kTargetBandwidth, 0, 0}, {kTargetMix, kTargetPan, 1, 1}, {kTargetBandwidth, kTargetFreq, 0, 2},
      {kTargetNone, kTargetMix, 1, 3},       {kTargetPan, kTargetNone, 0, 4}, {kTargetFreq, kTargetPan, 1, 5},
  };
  for (const auto& route : routes)
    for (int type = 0; type < 3; ++type)
    {
      SCOPED_TRACE(testing::Message() << route[0] << " " << route[1] << " " << route[2] << " type " << type);
      constexpr int kTotal = 3000;
      std::vector<double> reference[2];
      for (int blockSize : {kTotal, 1, 7, 64, 65, 511})
      {
        CLS_KESTRANE plug{KestraneInstanceInfo{}};
        OpenAt(plug, 44100.0);
        plug.SetTempo(128.0);
        Set(plug, kFilterType, type);
        Set(plug, kFilterFreq, 900);
        Set(plug, kEnvAttack, 20);
        Set(plug, kEnvDecay, 10);
        Set(plug, kLfoRateSync, 3);
        Set(plug, kEnvTarget, route[0]);
        Set(plug, kLfoTarget, route[1]);
        Set(plug, kLfoEnvChild, route[2]);
        Set(plug, kLfoWave, route[3]);
        NoteOn(plug);
        Stereo b(kTotal);
        b.Noise(77);
        for (int pos = 0; pos < kTotal; pos += blockSize)
        {
          const int n = std::min(blockSize, kTotal - pos);
          double* ins[2] = {b.ins[0] + pos, b.ins[1] + pos};
          double* outs[2] = {b.outs[0] + pos, b.outs[1] + pos};
          plug.ProcessDouble(ins, outs, n);
        }
        if (blockSize == kTotal)
        {
          reference[0] = b.out[0];
          reference[1] = b.out[1];
        }
        else
        {
          ASSERT_EQ(b.out[0], reference[0]) << "blocks of " << blockSize;
          ASSERT_EQ(b.out[1], reference[1]) << "blocks of " << blockSize;
        }
      }
    }
}
