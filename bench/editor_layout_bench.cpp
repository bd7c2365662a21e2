// The effect's editor as the user interface thread runs it: a full repaint,
// one steady timer tick while the modulation moves (the display band and
// the controls in it redrawn), and building a further plug-in instance with
// its editor once the images are decoded.
// Goals on the development machine: repaint < 3 ms, tick < 0.4 ms (24 ticks
// a second under 1 % of a core), second instance < 5 ms.
#include <memory>

#include <benchmark/benchmark.h>

#include "controls/GRAPH.h"
#include "effect/Kestrane.h"
#include "effect/KestraneEditorLayout.h"
#include "effect/ModulationTarget.h"
#include "platform/linux/IGraphicsHeadless.h"

namespace
{
namespace layout = kestrane_layout;

// An opened plug-in at 48 kHz with both modulation sources routed, its
// editor painted once (fonts made, knob frames cut).
struct Opened
{
  Opened()
  {
    plug.SetTempo(120.0);
    plug.SetSampleRate(48000.0);
    plug.Open();
    Route(kEnvTarget, kTargetFreq);
    Route(kLfoTarget, kTargetPan);
    editor = static_cast<IGraphicsHeadless*>(plug.Editor());
    env = static_cast<GRAPH*>(editor->GetControl(layout::kEnvGraph));
    lfo = static_cast<GRAPH*>(editor->GetControl(layout::kLfoGraph));
    editor->PaintAll();
    for (int i = 0; i < 3; ++i) editor->Tick();
  }
  void Route(int paramIdx, int target)
  {
    plug.SetParameterFromHost(paramIdx, plug.Param(paramIdx)->ToNormalized(target));
  }

  CLS_KESTRANE plug{IPlugTest::InstanceInfo{}};
  IGraphicsHeadless* editor = nullptr;
  GRAPH* env = nullptr;
  GRAPH* lfo = nullptr;
};

void BM_FullRepaint(benchmark::State& state)
{
  Opened opened;
  for (auto _ : state) benchmark::DoNotOptimize(opened.editor->PaintAll());
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

void BM_SteadyTick(benchmark::State& state)
{
  Opened opened;
  opened.env->SetEnvRange(20.0f, 20000.0f);
  opened.lfo->SetLfoRange(-1.0f, 1.0f);
  float step = 0.0f;
  for (auto _ : state)
  {
    // The audio moved both markers since the last tick.
    step = step >= 1.0f ? 0.0f : step + 0.01f;
    opened.env->SetEnvMark(20.0f + 19980.0f * step);
    opened.lfo->SetLfoMark(2.0f * step - 1.0f);
    opened.editor->Tick();
  }
  IRECT dirty;
  opened.editor->NeedsRedraw(&dirty);
  state.counters["band_w"] = dirty.W();
  state.counters["band_h"] = dirty.H();
}
BENCHMARK(BM_SteadyTick)->Unit(benchmark::kMicrosecond);

void BM_SecondInstance(benchmark::State& state)
{
  // The first instance decodes the images and makes the fonts.
  Opened first;
  for (auto _ : state)
  {
    auto second = std::make_unique<CLS_KESTRANE>(IPlugTest::InstanceInfo{});
    benchmark::DoNotOptimize(second->Editor());
    state.PauseTiming();
    second.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_SecondInstance)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
