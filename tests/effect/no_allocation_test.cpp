// The audio path allocates nothing: a counting global operator new is armed
// around each processed block. This program has its own executable so the
// replaced operators affect no other tests.
#include <atomic>
#include <cstdlib>
#include <new>

#include <gtest/gtest.h>

#include "tests/effect/EffectTestSupport.h"

namespace
{
std::atomic<bool> gCounting{false};
std::atomic<int> gAllocations{0};

void* CountedAlloc(std::size_t size)
{
  if (gCounting.load(std::memory_order_relaxed)) gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}

// Counts the allocations made while `run` executes.
template <typename Run>
int AllocationsDuring(Run&& run)
{
  gAllocations = 0;
  gCounting = true;
  run();
  gCounting = false;
  return gAllocations.load();
}
} // namespace

void* operator new(std::size_t size)
{
  return CountedAlloc(size);
}
void* operator new[](std::size_t size)
{
  return CountedAlloc(size);
}
// The non-throwing forms too (the image decoder uses them): every form must
// pair with the replaced deletes below.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
  if (gCounting.load(std::memory_order_relaxed)) gAllocations.fetch_add(1, std::memory_order_relaxed);
  return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept
{
  return operator new(size, tag);
}
void operator delete(void* p, const std::nothrow_t&) noexcept
{
  std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept
{
  std::free(p);
}
void operator delete(void* p) noexcept
{
  std::free(p);
}
void operator delete[](void* p) noexcept
{
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
  std::free(p);
}

using namespace effect_test;

TEST(NoAllocation, TheCounterSeesAllocations)
{
  const int counted = AllocationsDuring([] { delete new int(3); });
  EXPECT_EQ(counted, 1);
}

TEST(NoAllocation, ProcessBlockAllocatesNothing)
{
  CLS_KESTRANE plug{KestraneInstanceInfo{}};
  auto* editor = new EffectEditor(&plug);
  plug.AttachEditor(editor);
  ModulationMarks envMarks, lfoMarks;
  plug.AttachModulationDisplays(&envMarks, &lfoMarks, 5);
  plug.SetSampleRate(48000.0);
  plug.Open();
  plug.SetTempo(120.0);
  Stereo b(512);
  b.Noise(1);

  auto process = [&] { plug.ProcessDouble(b.ins, b.outs, 512); };

  // The first block initialises the engine (applying parameters nested).
  EXPECT_EQ(AllocationsDuring(process), 0);

  // Every routing: no modulation, envelope, LFO, both, the child option.
  const int routes[][3] = {{0, 0, 0}, {1, 0, 0}, {0, 2, 0}, {1, 2, 0}, {3, 4, 1}, {0, 3, 1}};
  for (const auto& route : routes)
  {
    Set(plug, kEnvTarget, route[0]);
    Set(plug, kLfoTarget, route[1]);
    Set(plug, kLfoEnvChild, route[2]);
    NoteOn(plug);
    for (int wave = 0; wave < 6; ++wave)
    {
      Set(plug, kLfoWave, wave);
      EXPECT_EQ(AllocationsDuring(process), 0) << route[0] << " " << route[1] << " wave " << wave;
    }
    NoteOff(plug);
    EXPECT_EQ(AllocationsDuring(process), 0);
  }

  // A tempo change applies the synced rate inside the block.
  plug.SetTempo(97.0);
  EXPECT_EQ(AllocationsDuring(process), 0);
  // Single-precision host buffers through the base's conversion.
  std::vector<float> fin[2] = {std::vector<float>(512, 0.1f), std::vector<float>(512, 0.1f)};
  std::vector<float> fout[2] = {std::vector<float>(512), std::vector<float>(512)};
  float* fins[2] = {fin[0].data(), fin[1].data()};
  float* fouts[2] = {fout[0].data(), fout[1].data()};
  EXPECT_EQ(AllocationsDuring([&] { plug.ProcessFloat(fins, fouts, 512); }), 0);
}
