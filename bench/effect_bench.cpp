// Cost of the effect's ProcessBlock at 48000 Hz, stereo, 512-frame blocks,
// for four routings of the modulation sources:
//   (a) no modulation, (b) envelope on "Filter Freq" during its attack,
//   (c) envelope on "Filter Freq" and LFO (sine) on "Filter Bandwidth",
//   (d) LFO (sine) on "Filter Pan";
// against a floor for (c), BM_Floor_C: a bare loop doing per frame two
// coefficient computations (each one tangent and one division) and the two
// recursions. A second floor, BM_Floor_C_Complete, does the arithmetic the
// exact result of (c) needs (one coefficient computation as the engine must
// do it, the LFO's sine, the further divisions) without the engine's
// bookkeeping.
//
// Each benchmark reports time_per_frame and realtime_x (seconds of audio per
// second of processing). After the run the ratios of case (c) to the floors
// are printed, from the medians when repetitions are asked for
// (--benchmark_repetitions=5), else from the single runs.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/PerFrameReporter.h"

#include "effect/Kestrane.h"
#include "effect/ModulationTarget.h"

namespace
{
constexpr double kRate = 48000.0;
constexpr int kFrames = 512;

struct Buffers
{
  Buffers()
  {
    // Noise, so the silence guard never takes a shortcut.
    uint32_t state = 12345;
    for (int c = 0; c < 2; ++c)
    {
      in[c].resize(kFrames);
      out[c].resize(kFrames);
      for (double& v : in[c])
      {
        state = state * 1664525u + 1013904223u;
        v = static_cast<double>(state >> 8) / 16777216.0 - 0.5;
      }
      ins[c] = in[c].data();
      outs[c] = out[c].data();
    }
  }
  std::vector<double> in[2], out[2];
  double* ins[2];
  double* outs[2];
};

void Set(CLS_KESTRANE& plug, int paramIdx, double value)
{
  plug.Param(paramIdx)->SetClamped(value);
  plug.ApplyParamChange(paramIdx);
}

void Report(benchmark::State& state)
{
  state.counters["time_per_frame"] =
      benchmark::Counter(kFrames, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["realtime_x"] = benchmark::Counter(kFrames / kRate, benchmark::Counter::kIsIterationInvariantRate);
}

enum class Routing
{
  kNone,
  kEnvOnFreq,
  kEnvOnFreqLfoOnBandwidth,
  kEnvOnFreqLfoTriangleOnBandwidth,
  kLfoOnPan
};

void RunEffect(benchmark::State& state, Routing routing)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  WDL_MutexLock lock(plug.PlugLock()); // as the wrapper holds it around ProcessBlock
  plug.SetSampleRate(kRate);
  plug.Open();
  Set(plug, kFilterType, 0);
  Set(plug, kFilterFreq, 1000);
  Set(plug, kLfoSync, 0); // free 2000 ms LFO
  Set(plug, kEnvAttack, 16000);
  Set(plug, kEnvRelease, 0); // a note-off drops the level to 0 at once
  const bool lfoOnBandwidth =
      routing == Routing::kEnvOnFreqLfoOnBandwidth || routing == Routing::kEnvOnFreqLfoTriangleOnBandwidth;
  if (routing == Routing::kEnvOnFreq || lfoOnBandwidth) Set(plug, kEnvTarget, kTargetFreq);
  if (lfoOnBandwidth) Set(plug, kLfoTarget, kTargetBandwidth);
  // The floor below counts no sine: this variant shows the engine's own cost
  // over it with a wave that needs none.
  if (routing == Routing::kEnvOnFreqLfoTriangleOnBandwidth) Set(plug, kLfoWave, 1);
  if (routing == Routing::kLfoOnPan) Set(plug, kLfoTarget, kTargetPan);

  Buffers b;
  plug.ProcessBlock(b.ins, b.outs, kFrames); // the first block initialises
  plug.EnvelopeNoteOn();
  for (auto _ : state)
  {
    // Keep the envelope in an attack from 0, so every frame moves the cutoff
    // (a retrigger near the top would glide too slowly to change it).
    if (plug.EnvelopeState().mAttackCount < kFrames)
    {
      plug.EnvelopeNoteOff();
      plug.EnvelopeNoteOn();
    }
    plug.ProcessBlock(b.ins, b.outs, kFrames);
    benchmark::DoNotOptimize(b.out[0].data());
    benchmark::DoNotOptimize(b.out[1].data());
    benchmark::ClobberMemory();
  }
  Report(state);
}

void BM_A_NoModulation(benchmark::State& state)
{
  RunEffect(state, Routing::kNone);
}
void BM_B_EnvOnFreqAttack(benchmark::State& state)
{
  RunEffect(state, Routing::kEnvOnFreq);
}
void BM_C_EnvOnFreq_LfoOnBandwidth(benchmark::State& state)
{
  RunEffect(state, Routing::kEnvOnFreqLfoOnBandwidth);
}
void BM_C_EnvOnFreq_LfoTriangleOnBandwidth(benchmark::State& state)
{
  RunEffect(state, Routing::kEnvOnFreqLfoTriangleOnBandwidth);
}
void BM_D_LfoSineOnPan(benchmark::State& state)
{
  RunEffect(state, Routing::kLfoOnPan);
}

// The floor of case (c): per frame two coefficient sets, each from one
// tangent and one division (the cheapest exact-in-theory form,
// t = tan(w): D = 1 / (t^2 + r t + 1), gain t^2 D, fb2 (t^2 - r t + 1) D,
// fb1 2 (t^2 - 1) D), then the two recursions with their outputs. Cutoff and
// bandwidth move every frame so nothing can be hoisted out of the loop.
void BM_Floor_C(benchmark::State& state)
{
  Buffers b;
  double w1L = 0, w2L = 0, w1R = 0, w2R = 0;
  double omegaA = 0.05, omegaB = 0.06, r = 0.3;
  for (auto _ : state)
  {
    const double* inL = b.ins[0];
    const double* inR = b.ins[1];
    double* outL = b.outs[0];
    double* outR = b.outs[1];
    for (int s = 0; s < kFrames; ++s)
    {
      omegaA += 1e-9;
      omegaB += 1e-9;
      const double ta = std::tan(omegaA);
      const double da = 1.0 / ((ta + r) * ta + 1.0);
      const double ta2 = ta * ta;
      double gain = ta2 * da, fb2 = (ta2 - r * ta + 1.0) * da, fb1 = 2.0 * (ta2 - 1.0) * da;
      benchmark::DoNotOptimize(gain);
      benchmark::DoNotOptimize(fb1);
      benchmark::DoNotOptimize(fb2);
      const double tb = std::tan(omegaB);
      const double db = 1.0 / ((tb + r) * tb + 1.0);
      const double tb2 = tb * tb;
      gain = tb2 * db;
      fb2 = (tb2 - r * tb + 1.0) * db;
      fb1 = 2.0 * (tb2 - 1.0) * db;
      const double w0L = inL[s] * gain - (w2L * fb2 + w1L * fb1);
      const double w0R = inR[s] * gain - (w2R * fb2 + w1R * fb1);
      outL[s] = w1L * 2.0 + w2L + w0L;
      outR[s] = w1R * 2.0 + w2R + w0R;
      w2L = w1L;
      w1L = w0L;
      w2R = w1R;
      w1R = w0R;
    }
    benchmark::DoNotOptimize(b.out[0].data());
    benchmark::DoNotOptimize(b.out[1].data());
    benchmark::ClobberMemory();
    // Keep the state bounded across iterations.
    w1L = w2L = w1R = w2R = 0.0;
    omegaA = 0.05;
    omegaB = 0.06;
  }
  Report(state);
}

// The floor of case (c) with every operation its exact result needs, as
// the engine must do them, but none of the engine's bookkeeping: per frame
// one coefficient computation (the first of the frame's two is overwritten
// before any sample uses it: cutoff / rate, tangent, 1 / tan, 1 / (1 + rk +
// k^2)), the LFO's sine with its division by the period, the envelope's
// single-precision division, the two compensation divisions, and the two
// recursions with the output stage. Like the engine it works in passes over
// 64 frames, so independent frames overlap.
void BM_Floor_C_Complete(benchmark::State& state)
{
  constexpr int kChunk = 64;
  Buffers b;
  double w1L = 0, w2L = 0, w1R = 0, w2R = 0;
  double e[kChunk], u[kChunk], ce[kChunk], cl[kChunk], gain[kChunk], fb1[kChunk], fb2[kChunk];
  for (auto _ : state)
  {
    int count = 700000;
    int pos = 0;
    for (int start = 0; start < kFrames; start += kChunk)
    {
      for (int i = 0; i < kChunk; ++i)
      {
        // Envelope in its attack, on the cutoff.
        const float level = 1.0f - static_cast<float>(count--) / 768000.0f;
        e[i] = level * 17982.0 + 1000.0;
        ce[i] = 1.0 + (e[i] - 20.0) * 0.9952623149688795 / 19980.0f;
      }
      for (int i = 0; i < kChunk; ++i)
      {
        // LFO sine on the bandwidth.
        u[i] = (std::sin((static_cast<double>(pos * 2) / 96000.0 + 1.5) * 3.141592653589793) + 1.0) * 0.855 * 0.5 +
               0.05;
        pos = pos >= 95999 ? 0 : pos + 1;
        cl[i] = 1.0 + (u[i] - 0.05) * 0.9952623149688795 / 0.95f;
      }
      for (int i = 0; i < kChunk; ++i)
      {
        // One coefficient computation.
        const float r = static_cast<float>(u[i]) * 15.0f;
        const double k = 1.0 / std::tan(static_cast<float>(e[i]) / kRate * 3.141592653589793);
        const double n = 1.0 / ((r + k) * k + 1.0);
        gain[i] = n;
        fb2[i] = ((k - r) * k + 1.0) * n;
        fb1[i] = (1.0 - k * k) * n * 2.0;
      }
      const double* inL = b.ins[0] + start;
      const double* inR = b.ins[1] + start;
      double* outL = b.outs[0] + start;
      double* outR = b.outs[1] + start;
      for (int i = 0; i < kChunk; ++i)
      {
        // The recursions and the output stage.
        const double w0L = inL[i] * gain[i] - (w2L * fb2[i] + w1L * fb1[i]);
        const double w0R = inR[i] * gain[i] - (w2R * fb2[i] + w1R * fb1[i]);
        outL[i] = (w1L * 2.0 + w2L + w0L) * cl[i] * ce[i];
        outR[i] = (w1R * 2.0 + w2R + w0R) * cl[i] * ce[i];
        w2L = w1L;
        w1L = w0L;
        w2R = w1R;
        w1R = w0R;
      }
    }
    benchmark::DoNotOptimize(b.out[0].data());
    benchmark::DoNotOptimize(b.out[1].data());
    benchmark::ClobberMemory();
    w1L = w2L = w1R = w2R = 0.0;
  }
  Report(state);
}

BENCHMARK(BM_A_NoModulation);
BENCHMARK(BM_B_EnvOnFreqAttack);
BENCHMARK(BM_C_EnvOnFreq_LfoOnBandwidth);
BENCHMARK(BM_C_EnvOnFreq_LfoTriangleOnBandwidth);
BENCHMARK(BM_D_LfoSineOnPan);
BENCHMARK(BM_Floor_C);
BENCHMARK(BM_Floor_C_Complete);

// Prints the usual table, then case (c) against its floor.
class RatioReporter : public PerFrameReporter
{
public:
  void Finalize() override
  {
    ConsoleReporter::Finalize();
    std::printf("\nns per frame (%s):\n", FigureKind());
    for (const auto& [key, entry] : mNsPerFrame)
      std::printf("  %-32s %8.2f ns/frame  %9.0fx real time\n", key.first.c_str(), entry.value,
                  1e9 / (entry.value * kRate));
    const Entry* engine = Find("BM_C_EnvOnFreq_LfoOnBandwidth");
    for (const char* name : {"BM_Floor_C", "BM_Floor_C_Complete"})
    {
      const Entry* floor = Find(name);
      if (engine && floor && floor->value > 0.0)
        std::printf("  engine (c) / %s = %.2f\n", name, engine->value / floor->value);
    }
  }
};
} // namespace

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
