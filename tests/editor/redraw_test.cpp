#include <gtest/gtest.h>

#include "tests/editor/EditorTestSupport.h"

using namespace editortest;

namespace
{
// Records the order in which controls are drawn.
class OrderedProbe : public ProbeControl
{
public:
  OrderedProbe(IPlugBase* plug, const IRECT& area, std::vector<int>* log, int id)
      : ProbeControl(plug, area), mLog(log), mId(id)
  {
  }
  bool Paint(IGraphics* g) override
  {
    mLog->push_back(mId);
    return ProbeControl::Paint(g);
  }

private:
  std::vector<int>* mLog;
  int mId;
};

struct Redraw : ::testing::Test
{
  EditorRig rig;
  ProbeControl* a = rig.Add(new ProbeControl(rig.plug.get(), IRECT(10, 10, 30, 30)));
  ProbeControl* b = rig.Add(new ProbeControl(rig.plug.get(), IRECT(100, 50, 120, 80)));
  ProbeControl* c = rig.Add(new ProbeControl(rig.plug.get(), IRECT(150, 5, 160, 15)));

  void SetUp() override
  {
    rig.Attach();
    rig.editor->Tick(); // the first picture; everything is clean afterwards
  }
};
} // namespace

TEST_F(Redraw, NothingDirtyGivesFalseAndAnEmptyRectangle)
{
  IRECT out(1, 2, 3, 4);
  EXPECT_FALSE(rig.editor->NeedsRedraw(&out));
  EXPECT_TRUE(out.Empty());
  const int presented = rig.editor->PresentCount();
  rig.editor->Tick();
  EXPECT_EQ(rig.editor->PresentCount(), presented); // nothing to repaint
}

TEST_F(Redraw, DirtyAreaIsTheUnionOfDirtyControls)
{
  a->MarkDirty(false);
  b->MarkDirty(false);
  IRECT out;
  EXPECT_TRUE(rig.editor->NeedsRedraw(&out));
  EXPECT_EQ(out, IRECT(10, 10, 120, 80));

  rig.editor->Tick();
  EXPECT_EQ(rig.editor->LastPresented(), IRECT(10, 10, 120, 80));
  EXPECT_EQ(a->mPaints, 2);
  EXPECT_EQ(b->mPaints, 2);
  EXPECT_EQ(c->mPaints, 1); // outside the union
  EXPECT_FALSE(rig.editor->NeedsRedraw(&out));
}

TEST_F(Redraw, AllControlsStartDirtyAndDrawInListOrder)
{
  EditorRig fresh;
  std::vector<int> log;
  fresh.Add(new OrderedProbe(fresh.plug.get(), IRECT(0, 0, 200, 100), &log, 0));
  fresh.Add(new OrderedProbe(fresh.plug.get(), IRECT(50, 50, 60, 60), &log, 1));
  fresh.Add(new OrderedProbe(fresh.plug.get(), IRECT(5, 5, 10, 10), &log, 2));
  fresh.Attach();
  IRECT out;
  EXPECT_TRUE(fresh.editor->NeedsRedraw(&out));
  EXPECT_EQ(out, IRECT(0, 0, 200, 100));
  fresh.editor->Tick();
  EXPECT_EQ(log, (std::vector<int>{0, 1, 2}));
}

TEST_F(Redraw, ControlAskingDuringThePassIsDrawnAgainNextTick)
{
  a->mRedrawWhilePainting = true;
  a->MarkDirty(false);
  rig.editor->Tick();
  EXPECT_EQ(a->mPaints, 2);
  a->mRedrawWhilePainting = false;
  IRECT out;
  EXPECT_TRUE(rig.editor->NeedsRedraw(&out));
  EXPECT_EQ(out, a->Area());
  rig.editor->Tick();
  EXPECT_EQ(a->mPaints, 3);
  EXPECT_FALSE(rig.editor->NeedsRedraw(&out));
}

TEST_F(Redraw, ValueFromEngineStaysDirtyForOneMorePass)
{
  auto* bound = new ProbeControl(rig.plug.get(), IRECT(60, 60, 70, 70), TestPlug::kAmount);
  rig.editor->AddControl(bound);
  rig.editor->Tick();
  ASSERT_EQ(bound->mPaints, 1);
  rig.editor->ShowParamValue(TestPlug::kAmount, 0.75, true); // learns the default
  rig.editor->Tick();
  rig.editor->Tick();
  rig.editor->Tick();
  EXPECT_EQ(bound->mPaints, 3);
  rig.editor->ShowParamValue(TestPlug::kAmount, 0.25, true);
  rig.editor->Tick();
  rig.editor->Tick();
  rig.editor->Tick();
  EXPECT_EQ(bound->mPaints, 5);
}

TEST_F(Redraw, HiddenControlIsNotDrawnButStillReportedDirty)
{
  b->SetHidden(true);
  IRECT out;
  EXPECT_TRUE(rig.editor->NeedsRedraw(&out));
  EXPECT_EQ(out, b->Area());
  rig.editor->Tick();
  EXPECT_EQ(b->mPaints, 1);
  // SetHidden asks for one more pass, so the area it left is repainted.
  EXPECT_TRUE(rig.editor->NeedsRedraw(&out));
  EXPECT_EQ(out, b->Area());
  rig.editor->Tick();
  EXPECT_FALSE(rig.editor->NeedsRedraw(&out));

  b->MarkDirty(false);
  EXPECT_TRUE(rig.editor->NeedsRedraw(&out));
  EXPECT_EQ(out, b->Area());
  rig.editor->Tick();
  EXPECT_EQ(b->mPaints, 1);
}

TEST_F(Redraw, OnlyControlsThatOverlapTheAreaAreDrawn)
{
  IRECT touching(30, 10, 40, 20); // shares a's right edge only
  rig.editor->Paint(&touching);
  EXPECT_EQ(a->mPaints, 1);
  IRECT inside(29, 29, 31, 31);
  rig.editor->Paint(&inside);
  EXPECT_EQ(a->mPaints, 2);
  EXPECT_EQ(rig.editor->DirtyArea(), inside);
  IRECT empty;
  rig.editor->Paint(&empty);
  EXPECT_EQ(a->mPaints, 2);

  auto* nowhere = new ProbeControl(rig.plug.get(), IRECT());
  rig.editor->AddControl(nowhere);
  EXPECT_TRUE(rig.editor->PaintAll());
  EXPECT_EQ(nowhere->mPaints, 0);
  EXPECT_EQ(a->mPaints, 3);
}

TEST(RedrawEmpty, PaintWithoutControlsDrawsAndPresentsNothing)
{
  EditorRig rig;
  rig.Attach();
  IRECT r(0, 0, 10, 10);
  EXPECT_TRUE(rig.editor->Paint(&r));
  EXPECT_EQ(rig.editor->PresentCount(), 0);
  EXPECT_FALSE(rig.editor->NeedsRedraw(&r));
}

TEST_F(Redraw, MarkAllControlsDirtyRepaintsEverything)
{
  rig.editor->MarkAllControlsDirty();
  IRECT out;
  EXPECT_TRUE(rig.editor->NeedsRedraw(&out));
  EXPECT_EQ(out, IRECT(10, 5, 160, 80));
  rig.editor->Tick();
  EXPECT_EQ(a->mPaints + b->mPaints + c->mPaints, 6);
}

TEST(RedrawGrowing, ControlAttachedDuringThePassIsDrawnInIt)
{
  EditorRig rig;
  ProbeControl* added = nullptr;
  struct Spawner : ProbeControl
  {
    Spawner(IPlugBase* plug, ProbeControl** out) : ProbeControl(plug, IRECT(0, 0, 50, 50)), mOut(out) {}
    bool Paint(IGraphics* g) override
    {
      // Enough controls to make the list reallocate under the walk.
      if (!*mOut)
        for (int i = 0; i < 64; ++i) g->AddControl(*mOut = new ProbeControl(mPlug, IRECT(10, 10, 20, 20)));
      return ProbeControl::Paint(g);
    }
    ProbeControl** mOut;
  };
  rig.Add(new Spawner(rig.plug.get(), &added));
  rig.Attach();
  rig.editor->Tick();
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(rig.editor->NControls(), 65);
  EXPECT_EQ(added->mPaints, 1);
}
