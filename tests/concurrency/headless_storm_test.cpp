// The effect on the VST 2 wrapper, built into this program with the headless
// editor, so the UI thread can feed the editor core mouse input directly
// while host threads automate, switch programs, trade chunks and process
// through the AEffect callbacks. Two instances storm at once.
#include <random>

#include <gtest/gtest.h>

#include "effect/Kestrane.h"
#include "platform/linux/IGraphicsHeadless.h"
#include "tests/concurrency/StormChecks.h"

namespace
{
struct Instance
{
  Instance()
  {
    effect = IPlugVST::CreateInstance(ConcurrentHost::Callback,
                                      [](IPlugVST::InstanceInfo info) -> IPlugVST* { return new CLS_KESTRANE(info); });
    if (!effect) return;
    host.Attach(effect);
    OpenForProcessing(effect, 48000.0f, StormPlan().maxFrames);
  }
  ~Instance()
  {
    if (effect) Dispatch(effect, effClose);
  }
  IGraphicsHeadless* Editor() const
  {
    return dynamic_cast<IGraphicsHeadless*>(static_cast<IPlugVST*>(effect->object)->Editor());
  }

  ConcurrentHost host;
  AEffect* effect = nullptr;
};

// A user at work: drags, wheel turns and double clicks at random points of
// the editor (so on knobs, sliders, switches, drop-downs and their lists,
// the sync button), with the redraw timer ticking in between, as the
// platform host does. [UI thread]
int UseEditor(const Instance& instance, unsigned seed, int gestures)
{
  IGraphicsHeadless* editor = instance.Editor();
  if (!editor) return 0;
  std::minstd_rand random(seed);
  MouseMods left(true, false);
  MouseMods none;
  MouseMods fine(false, false, true);
  int operations = 0;
  editor->OpenEditorWindow(nullptr);
  for (int g = 0; g < gestures; ++g)
  {
    const int x = static_cast<int>(random() % editor->Width());
    const int y = static_cast<int>(random() % editor->Height());
    switch (g % 3)
    {
    case 0:
      editor->MouseDown(x, y, &left);
      for (int step = 1; step <= 5; ++step) editor->MouseDrag(x + step, y - 3 * step, &left);
      editor->MouseUp(x + 5, y - 15, &none);
      operations += 7;
      break;
    case 1:
      for (int notch = 0; notch < 3; ++notch) editor->MouseWheel(x, y, notch % 2 ? &fine : &none, g % 2 ? 1 : -1);
      operations += 3;
      break;
    default:
      editor->MouseDown(x, y, &left);
      editor->MouseUp(x, y, &none);
      editor->MouseDoubleClick(x, y, &left);
      editor->MouseUp(x, y, &none);
      operations += 4;
      break;
    }
    editor->Tick();
    Dispatch(instance.effect, effEditIdle);
    operations += 2;
  }
  // Closing ends a wheel gesture that is still waiting for its timer.
  editor->CloseEditorWindow();
  return operations + 1;
}
} // namespace

TEST(HeadlessEditorStorm, TwoInstancesStayConsistentUnderEditsAutomationProgramsAndChunks)
{
  Instance a, b;
  ASSERT_TRUE(a.effect && b.effect && a.Editor() && b.Editor());
  const StormPlan plan;
  HostStorm stormA(a.effect, plan, 11), stormB(b.effect, plan, 29);
  stormA.Start([&] { return UseEditor(a, 5, 400); });
  stormB.Start([&] { return UseEditor(b, 7, 400); });
  stormA.Join();
  stormB.Join();

  ExpectSoundAfterStorm(a.effect, stormA, a.host);
  ExpectSoundAfterStorm(b.effect, stormB, b.host);
  EXPECT_GT(a.host.Totals().begins, 0) << "the editor edits reached the host";

  // The state survives the trip from one instance to the other unchanged.
  const std::vector<uint8_t> chunk = ProgramChunk(a.effect);
  ASSERT_FALSE(chunk.empty());
  ASSERT_EQ(Dispatch(b.effect, effSetChunk, 1, static_cast<VstIntPtr>(chunk.size()),
                     const_cast<uint8_t*>(chunk.data())),
            1);
  EXPECT_EQ(ProgramChunk(b.effect), chunk);
}
