// Cost of the buffer plumbing around the effect: binding host buffers and
// converting single precision in and out, with a pass-through ProcessBlock.
#include <vector>

#include <benchmark/benchmark.h>

#include "tests/support/IPlugTest.h"

namespace
{
class PassThrough : public IPlugTest
{
public:
  PassThrough() : IPlugTest(InstanceInfo{}, 0, "1-1 2-2", 1, "e", "", "m", 0, 0, 0, 0, 0, false, false)
  {
    SetReady(true);
  }
};

void BM_FloatReplacingPlumbing(benchmark::State& state)
{
  const int frames = static_cast<int>(state.range(0));
  PassThrough plug;
  plug.ChangeBlockSize(frames);
  std::vector<float> in[2], out[2];
  float* ins[2];
  float* outs[2];
  for (int c = 0; c < 2; ++c)
  {
    in[c].assign(frames, 0.25f);
    out[c].assign(frames, 0.0f);
    ins[c] = in[c].data();
    outs[c] = out[c].data();
  }
  for (auto _ : state)
  {
    plug.ProcessFloat(ins, outs, frames);
    benchmark::DoNotOptimize(out[0].data());
  }
  state.SetItemsProcessed(state.iterations() * frames);
}
BENCHMARK(BM_FloatReplacingPlumbing)->Arg(64)->Arg(512)->Arg(4096);

void BM_DoublePlumbing(benchmark::State& state)
{
  const int frames = static_cast<int>(state.range(0));
  PassThrough plug;
  plug.ChangeBlockSize(frames);
  std::vector<double> in[2], out[2];
  double* ins[2];
  double* outs[2];
  for (int c = 0; c < 2; ++c)
  {
    in[c].assign(frames, 0.25);
    out[c].assign(frames, 0.0);
    ins[c] = in[c].data();
    outs[c] = out[c].data();
  }
  for (auto _ : state)
  {
    plug.ProcessDouble(ins, outs, frames);
    benchmark::DoNotOptimize(out[0].data());
  }
  state.SetItemsProcessed(state.iterations() * frames);
}
BENCHMARK(BM_DoublePlumbing)->Arg(512);
} // namespace
