#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include <gtest/gtest.h>

#include "effect/StereoFilterMemory.h"
#include "tests/effect/EffectTestSupport.h"

using namespace effect_test;

namespace
{
constexpr double kRate = 48000.0;

// A plug-in at 48 kHz without modulation: type, cutoff, bandwidth, pan, mix.
void Configure(CLS_KESTRANE& plug, int type, int freq, int bandwidth, int pan = 0, int mix = 100,
               double rate = kRate)
{
  OpenAt(plug, rate);
  Set(plug, kFilterType, type);
  Set(plug, kFilterFreq, freq);
  Set(plug, kFilterBandwidth, bandwidth);
  Set(plug, kFilterPan, pan);
  Set(plug, kFilterMix, mix);
}
} // namespace

TEST(Filter, LowpassAndHighpassSumToTheInput)
{
  CLS_KESTRANE lowpass{KestraneInstanceInfo{}};
  CLS_KESTRANE highpass{KestraneInstanceInfo{}};
  Configure(lowpass, 0, 1000, 20);
  Configure(highpass, 1, 1000, 20);
  Stereo a(4096), b(4096);
  a.Noise(7);
  b.Noise(7);
  Process(lowpass, a);
  Process(highpass, b);
  for (int c = 0; c < 2; ++c)
    for (int s = 0; s < 4096; ++s) ASSERT_NEAR(a.out[c][s] + b.out[c][s], a.in[c][s], 1e-12) << s;
}

TEST(Filter, ConstantInputSettles)
{
  const double expected[3] = {0.5, 0.0, 0.0}; // low-, high-, band-pass
  for (int type = 0; type < 3; ++type)
  {
    CLS_KESTRANE plug{KestraneInstanceInfo{}};
    Configure(plug, type, 1000, 20);
    Stereo b(24000);
    b.Fill(0.5, 0.5);
    Process(plug, b);
    EXPECT_NEAR(b.out[0].back(), expected[type], 1e-9) << type;
    EXPECT_NEAR(b.out[1].back(), expected[type], 1e-9) << type;
  }
}

TEST(Filter, BandpassHasUnityGainAtItsCentre)
{
  for (int bandwidth : {1, 7, 20, 100})
  {
    CLS_KESTRANE plug{KestraneInstanceInfo{}};
    Configure(plug, 2, 1000, bandwidth);
    Stereo b(48000);
    b.Sine(1000.0, kRate, 0.25);
    Process(plug, b);
    EXPECT_NEAR(Amplitude(b.out[0], 24000, 48000, 1000.0, kRate), 0.25, 0.25e-4) << bandwidth;
  }
}

TEST(Filter, LowpassGainAtTheCutoffIsOneOverDamping)
{
  // r = bandwidth x 15: 0.15, 1.05 and 15.
  const struct
  {
    int bandwidth;
    double gain;
  } cases[] = {{1, 6.6667}, {7, 0.95238}, {100, 0.066667}};
  for (const auto& c : cases)
  {
    CLS_KESTRANE plug{KestraneInstanceInfo{}};
    Configure(plug, 0, 1000, c.bandwidth);
    Stereo b(48000);
    b.Sine(1000.0, kRate, 0.1);
    Process(plug, b);
    EXPECT_NEAR(Amplitude(b.out[1], 24000, 48000, 1000.0, kRate) / 0.1, c.gain, c.gain * 1e-4) << c.bandwidth;
  }
}

TEST(Filter, MixZeroPassesTheInputExactly)
{
  for (int type = 0; type < 3; ++type)
  {
    CLS_KESTRANE plug{KestraneInstanceInfo{}};
    Configure(plug, type, 3000, 1, 100, 0);
    // Modulation and compensation running as well.
    Set(plug, kEnvTarget, 1);
    Set(plug, kEnvVolCompensation, 24);
    Set(plug, kLfoSync, 0);
    Set(plug, kLfoTarget, 2);
    Set(plug, kLfoVolCompensation, 24);
    NoteOn(plug);
    Stereo b(4096);
    b.Noise(3);
    Process(plug, b);
    for (int c = 0; c < 2; ++c) EXPECT_EQ(b.out[c], b.in[c]) << type;
  }
}

TEST(Filter, PanMovesTheWetSignalBetweenChannels)
{
  CLS_KESTRANE centre{KestraneInstanceInfo{}}, right{KestraneInstanceInfo{}}, left{KestraneInstanceInfo{}};
  Configure(centre, 0, 2000, 20, 0);
  Configure(right, 0, 2000, 20, 100);
  Configure(left, 0, 2000, 20, -100);
  Stereo c(2048), r(2048), l(2048);
  c.Noise(11);
  r.Noise(11);
  l.Noise(11);
  Process(centre, c);
  Process(right, r);
  Process(left, l);
  for (int s = 0; s < 2048; ++s)
  {
    ASSERT_EQ(r.out[0][s], 0.0);
    ASSERT_EQ(r.out[1][s], 2.0 * c.out[1][s]);
    ASSERT_EQ(l.out[1][s], 0.0);
    ASSERT_EQ(l.out[0][s], 2.0 * c.out[0][s]);
  }
}

TEST(Filter, SilenceGuardSettlesAtExactZeros)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  Configure(plug, 2, 500, 1);
  Stereo noise(1000);
  noise.Noise(5);
  Process(plug, noise);
  EXPECT_NE(plug.FilterState().mW1L, 0.0);

  Stereo zeros(48000);
  Process(plug, zeros);
  const Filter& f = plug.FilterState();
  EXPECT_EQ(f.mW0L, 0.0);
  EXPECT_EQ(f.mW1L, 0.0);
  EXPECT_EQ(f.mW2L, 0.0);
  EXPECT_EQ(f.mW0R, 0.0);
  EXPECT_EQ(f.mW1R, 0.0);
  EXPECT_EQ(f.mW2R, 0.0);
  EXPECT_EQ(zeros.out[0].back(), 0.0);

  Process(plug, zeros);
  for (double v : zeros.out[1]) ASSERT_EQ(v, 0.0);
}

TEST(Filter, AnotherTypeRestartsFromZeroMemory)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  Configure(plug, 0, 1000, 20);
  Stereo b(512);
  b.Noise(9);
  Process(plug, b);
  const double w1 = plug.FilterState().mW1L;
  ASSERT_NE(w1, 0.0);

  Set(plug, kFilterType, 0); // same type: nothing happens
  EXPECT_EQ(plug.FilterState().mW1L, w1);

  Set(plug, kFilterType, 2);
  EXPECT_EQ(plug.FilterState().mW0L, 0.0);
  EXPECT_EQ(plug.FilterState().mW1L, 0.0);
  EXPECT_EQ(plug.FilterState().mW2R, 0.0);
  EXPECT_EQ(plug.FilterState().mFilterType, 2);
}

// Below 40000 Hz the top of the cutoff range lies above half the rate; the
// filter must stay stable there. From 40000 Hz up nothing is limited.
TEST(Filter, StaysStableAtLowSampleRates)
{
  for (double rate : {8000.0, 11025.0, 16000.0, 22050.0, 32000.0, 39999.0})
    for (int type = 0; type < 3; ++type)
    {
      CLS_KESTRANE plug{KestraneInstanceInfo{}};
      Configure(plug, type, 20000, 1, 0, 100, rate);
      Stereo b(static_cast<int>(rate));
      b.Noise(17);
      Process(plug, b);
      double peak = 0.0;
      for (int c = 0; c < 2; ++c)
        for (double v : b.out[c]) peak = std::fmax(peak, std::fabs(v));
      EXPECT_LT(peak, 20.0) << rate << " type " << type;
      EXPECT_TRUE(std::isfinite(peak));
    }

  // A constant through the low-pass still comes out whole: the limited
  // cutoff is far above 0 Hz.
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  Configure(plug, 0, 20000, 20, 0, 100, 8000.0);
  Stereo dc(8000);
  dc.Fill(0.5, 0.5);
  Process(plug, dc);
  EXPECT_NEAR(dc.out[0].back(), 0.5, 1e-9);
}

TEST(Filter, CutoffIsNotLimitedFromFortyKilohertz)
{
  // At 40000 Hz a cutoff of 20000 Hz is exactly half the rate: tan() is
  // (nearly) infinite, k (nearly) 0, so fb1 -> 2 and fb2 -> 1. A limited
  // cutoff would give visibly smaller values.
  CLS_KESTRANE at40k{KestraneInstanceInfo{}};
  Configure(at40k, 0, 20000, 1, 0, 100, 40000.0);
  Advance(at40k, 1);
  EXPECT_NEAR(at40k.FilterState().mFb1, 2.0, 1e-12);
  EXPECT_NEAR(at40k.FilterState().mFb2, 1.0, 1e-12);

  CLS_KESTRANE below{KestraneInstanceInfo{}};
  Configure(below, 0, 20000, 1, 0, 100, 39999.0);
  Advance(below, 1);
  EXPECT_LT(below.FilterState().mFb1, 1.99);
}

// A NaN or infinite sample must not silence (or poison) the channel for
// good: it recovers at the next finite sample, and the other channel never
// notices.
TEST(Filter, NonFiniteInputDoesNotPoisonTheChannel)
{
  for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                     -std::numeric_limits<double>::infinity()})
    for (int type = 0; type < 3; ++type)
    {
      CLS_KESTRANE plug{KestraneInstanceInfo{}}, reference{KestraneInstanceInfo{}};
      Configure(plug, type, 1000, 10);
      Configure(reference, type, 1000, 10);
      Stereo b(4096), r(4096);
      b.Noise(21);
      r.Noise(21);
      b.in[0][1000] = bad;
      Process(plug, b);
      Process(reference, r);
      for (int s = 1001; s < 4096; ++s) ASSERT_TRUE(std::isfinite(b.out[0][s])) << s << " type " << type;
      EXPECT_EQ(b.out[1], r.out[1]);
      for (int s = 0; s < 1000; ++s) ASSERT_EQ(b.out[0][s], r.out[0][s]);
      EXPECT_TRUE(std::isfinite(plug.FilterState().mW1L));
    }
}

// A sample near the top of the double range leaves finite but absurd
// memory; the block after it is already back to ordinary, finite output.
TEST(Filter, HugeFiniteInputRecoversByTheNextBlock)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}}, reference{KestraneInstanceInfo{}};
  Configure(plug, Filter::kLowpass, 20, 1);
  Configure(reference, Filter::kLowpass, 20, 1);
  Stereo huge(512), next(512), quiet(512);
  huge.in[0][100] = huge.in[1][100] = std::numeric_limits<double>::max();
  next.Noise(5);
  quiet.Noise(5);
  Process(plug, huge);
  Process(plug, next);
  Process(reference, quiet);
  EXPECT_EQ(next.out[0], quiet.out[0]);
  EXPECT_EQ(next.out[1], quiet.out[1]);
}

namespace
{
bool SameBits(double a, double b)
{
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// Runs the scalar and the SSE2 stereo step side by side over noise with
// silent stretches (one channel or both), non-finite samples, and per-frame
// coefficients, pan, gains and compensation factors; every output and the
// memory after every frame must be the same to the bit. Returns the number
// of frames in which a channel's silence guard held its memory at zero.
template <int kType>
int CompareStereoSteps(uint32_t seed)
{
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  Filter start;
  start.mW1L = 0.25, start.mW2L = -0.125, start.mW1R = 1e-30; // the right channel starts near silence
  StereoFilterMemoryScalar scalar(start);
  StereoFilterMemorySse2 simd(start);
  int guardedFrames = 0;
  for (int frame = 0; frame < 30000; ++frame)
  {
    const FilterCoefficients c = ComputeFilterCoefficients(static_cast<float>(20.0 + 19980.0 * (unit(random) + 1) / 2),
                                                           static_cast<float>(0.01 + 0.99 * (unit(random) + 1) / 2),
                                                           kType, kRate);
    const int stretch = frame / 2000 % 4; // noise, left silent, both silent, right silent
    double x[2] = {stretch == 1 || stretch == 2 ? 0.0 : unit(random), stretch >= 2 ? 0.0 : unit(random)};
    if (frame % 4999 == 0) x[frame % 2] = std::numeric_limits<double>::quiet_NaN();
    if (frame % 7001 == 0) x[1 - frame % 2] = -std::numeric_limits<double>::infinity();
    if (frame % 333 == 0) x[0] = -0.0;
    if (frame % 4001 == 0) x[frame % 2] = 1e308; // near the top of the range
    const float pan = static_cast<float>(unit(random));
    const float mix = static_cast<float>((unit(random) + 1) / 2);
    const double cl = 1.0 + unit(random), ce = 1.0 + unit(random);
    double outScalar[2], outSimd[2];
    scalar.Frame<kType>(c.inGain, c.fb1, c.fb2, pan, mix, 1.0f - mix, cl, ce, x[0], x[1], outScalar[0], outScalar[1]);
    simd.Frame<kType>(c.inGain, c.fb1, c.fb2, pan, mix, 1.0f - mix, cl, ce, x[0], x[1], outSimd[0], outSimd[1]);
    Filter a, b;
    scalar.StoreInto(a);
    simd.StoreInto(b);
    for (int ch = 0; ch < 2; ++ch)
      if (!SameBits(outScalar[ch], outSimd[ch])) ADD_FAILURE() << "frame " << frame << " channel " << ch;
    const double stateA[6] = {a.mW0L, a.mW1L, a.mW2L, a.mW0R, a.mW1R, a.mW2R};
    const double stateB[6] = {b.mW0L, b.mW1L, b.mW2L, b.mW0R, b.mW1R, b.mW2R};
    for (int i = 0; i < 6; ++i)
      if (!SameBits(stateA[i], stateB[i])) ADD_FAILURE() << "frame " << frame << " state " << i;
    if (::testing::Test::HasFailure()) return guardedFrames;
    guardedFrames += (x[0] == 0.0 && a.mW0L == 0.0 && a.mW1L == 0.0) + (x[1] == 0.0 && a.mW0R == 0.0 && a.mW1R == 0.0);
  }
  return guardedFrames;
}
} // namespace

TEST(Filter, BothChannelsAtOnceEqualTheScalarStepToTheBit)
{
#if defined(__SSE2__)
  EXPECT_GT(CompareStereoSteps<Filter::kLowpass>(1), 0);
  EXPECT_GT(CompareStereoSteps<Filter::kHighpass>(2), 0);
  EXPECT_GT(CompareStereoSteps<Filter::kBandpass>(3), 0);
#else
  GTEST_SKIP() << "no SSE2 on this processor";
#endif
}
