// The built plug-in library, loaded as a host loads it, stormed by two
// instances at once; the UI thread of each paints its editor off screen
// (Kestrane's snapshot call), asks for its rectangle and idles it.
#include <gtest/gtest.h>

#include "tests/concurrency/StormChecks.h"
#include "tests/vst/support/PluginInstance.h"
#include "wrappers/vst/KestraneVendorCalls.h"

namespace
{
struct LoadedInstance
{
  explicit LoadedInstance(const PluginLibrary& library)
  {
    effect = library.Create(ConcurrentHost::Callback);
    if (!effect) return;
    host.Attach(effect);
    OpenForProcessing(effect, 48000.0f, StormPlan().maxFrames);
  }
  ~LoadedInstance()
  {
    if (effect) Dispatch(effect, effClose);
  }
  ConcurrentHost host;
  AEffect* effect = nullptr;
};

// [UI thread]
int PaintAndIdle(AEffect* effect, int rounds, int* painted)
{
  int operations = 0;
  for (int i = 0; i < rounds; ++i)
  {
    KestraneEditorSnapshot snapshot{};
    if (Dispatch(effect, effVendorSpecific, kKestraneSnapshotIndex, sizeof snapshot, &snapshot) == kVstVendorHandled &&
        snapshot.pixels && snapshot.width > 0)
      ++*painted;
    ERect* rect = nullptr;
    Dispatch(effect, effEditGetRect, 0, 0, &rect);
    Dispatch(effect, effEditIdle);
    operations += 3;
  }
  return operations;
}
} // namespace

TEST(LoadedLibraryStorm, TwoInstancesOfTheBuiltPluginStayConsistent)
{
  PluginLibrary library(KESTRANE_PLUGIN_LIBRARY);
  ASSERT_TRUE(library.Loaded()) << library.Error();
  LoadedInstance a(library), b(library);
  ASSERT_TRUE(a.effect && b.effect);
  const StormPlan plan;
  int paintedA = 0, paintedB = 0;
  HostStorm stormA(a.effect, plan, 3), stormB(b.effect, plan, 17);
  stormA.Start([&] { return PaintAndIdle(a.effect, 60, &paintedA); });
  stormB.Start([&] { return PaintAndIdle(b.effect, 60, &paintedB); });
  stormA.Join();
  stormB.Join();

  ExpectSoundAfterStorm(a.effect, stormA, a.host);
  ExpectSoundAfterStorm(b.effect, stormB, b.host);
  EXPECT_EQ(paintedA, 60);
  EXPECT_EQ(paintedB, 60);

  const std::vector<uint8_t> chunk = ProgramChunk(a.effect);
  ASSERT_EQ(Dispatch(b.effect, effSetChunk, 1, static_cast<VstIntPtr>(chunk.size()),
                     const_cast<uint8_t*>(chunk.data())),
            1);
  EXPECT_EQ(ProgramChunk(b.effect), chunk);
}
