#include <cmath>
#include <limits>

#include <gtest/gtest.h>

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
