// Cost of the editor's per-tick bookkeeping over a list the size of the
// plug-in's (30 controls): asking which area is dirty, and a drawing pass
// whose area touches no control (it still walks and cleans the list).
#include <benchmark/benchmark.h>

#include "editor/IControl.h"
#include "editor/IGraphics.h"
#include "platform/linux/IGraphicsHeadless.h"
#include "tests/support/TestPlug.h"

namespace
{
constexpr int kControls = 30;

// Fills its rectangle, like the simplest real control.
class Block : public IControl
{
public:
  Block(IPlugBase* plug, const IRECT& area, bool alwaysDirty) : IControl(plug, area), mAlways(alwaysDirty) {}
  bool Paint(IGraphics* g) override
  {
    const IColor grey(255, 120, 120, 120);
    return g->FillRectColor(&grey, &mArea, nullptr);
  }
  bool NeedsRedraw() override { return mAlways || IControl::NeedsRedraw(); }

private:
  bool mAlways;
};

// 30 controls of 50 x 40 pixels tiled over a 388 x 470 editor, leaving the
// bottom strip free; `dirty` of them report dirt on every tick.
struct Layout
{
  explicit Layout(int dirty)
  {
    editor = new IGraphicsHeadless(&plug, 388, 470, 0);
    for (int i = 0; i < kControls; ++i)
    {
      const int x = (i % 6) * 60, y = (i / 6) * 50;
      editor->AddControl(new Block(&plug, IRECT(x, y, x + 50, y + 40), i < dirty));
    }
    plug.AttachEditor(editor);
    editor->Tick();
    editor->Tick();
  }
  TestPlug plug;
  IGraphicsHeadless* editor;
};

void BM_NeedsRedraw(benchmark::State& state)
{
  Layout layout(static_cast<int>(state.range(0)));
  IRECT out;
  for (auto _ : state)
  {
    benchmark::DoNotOptimize(layout.editor->NeedsRedraw(&out));
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_NeedsRedraw)->Arg(0)->Arg(2)->Arg(30);

void BM_PaintPassMissingEveryControl(benchmark::State& state)
{
  Layout layout(0);
  IRECT area(0, 440, 388, 470); // below the last row of controls
  for (auto _ : state) benchmark::DoNotOptimize(layout.editor->Paint(&area));
}
BENCHMARK(BM_PaintPassMissingEveryControl);

// For scale: a tick that repaints two dirty controls.
void BM_TickWithTwoDirtyControls(benchmark::State& state)
{
  Layout layout(2);
  for (auto _ : state) layout.editor->Tick();
}
BENCHMARK(BM_TickWithTwoDirtyControls);
} // namespace
