#include <gtest/gtest.h>

#include "tests/editor/EditorTestSupport.h"

using namespace editortest;

namespace
{
struct Overlap : ::testing::Test
{
  EditorRig rig;
  ProbeControl* back = rig.Add(new ProbeControl(rig.plug.get(), IRECT(0, 0, 100, 100)));
  ProbeControl* early = rig.Add(new ProbeControl(rig.plug.get(), IRECT(10, 10, 50, 50)));
  ProbeControl* late = rig.Add(new ProbeControl(rig.plug.get(), IRECT(40, 40, 80, 80)));
};
} // namespace

TEST_F(Overlap, LaterControlWinsInTheOverlap)
{
  EXPECT_EQ(rig.editor->ControlAt(45, 45), 2);
  EXPECT_EQ(rig.editor->ControlAt(20, 20), 1);
  EXPECT_EQ(rig.editor->ControlAt(90, 5), 0); // only the background
  EXPECT_EQ(rig.editor->ControlAt(150, 50), -1);

  MouseMods left(true, false);
  rig.editor->MouseDown(45, 45, &left);
  EXPECT_EQ(late->Count(ProbeControl::Event::kDown), 1);
  EXPECT_EQ(early->Count(ProbeControl::Event::kDown), 0);
}

TEST_F(Overlap, HiddenOrGreyedControlsAreSkipped)
{
  late->SetHidden(true);
  EXPECT_EQ(rig.editor->ControlAt(45, 45), 1);
  late->SetHidden(false);
  late->SetDimmed(true);
  EXPECT_EQ(rig.editor->ControlAt(45, 45), 1);
  early->SetHidden(true);
  EXPECT_EQ(rig.editor->ControlAt(45, 45), 0);

  MouseMods left(true, false);
  rig.editor->MouseDown(45, 45, &left);
  rig.editor->MouseUp(45, 45, &left);
  EXPECT_EQ(back->Count(ProbeControl::Event::kDown), 1);
  EXPECT_TRUE(late->mEvents.empty());
  EXPECT_TRUE(early->mEvents.empty());
}

TEST_F(Overlap, RightAndBottomEdgesAreInside)
{
  EXPECT_EQ(rig.editor->ControlAt(80, 80), 2);
  EXPECT_EQ(rig.editor->ControlAt(80, 40), 2);
  EXPECT_EQ(rig.editor->ControlAt(40, 80), 2);
  EXPECT_EQ(rig.editor->ControlAt(81, 80), 0);
  EXPECT_EQ(rig.editor->ControlAt(100, 100), 0);
  EXPECT_EQ(rig.editor->ControlAt(101, 100), -1);
  EXPECT_EQ(rig.editor->ControlAt(-1, 0), -1);
}

TEST_F(Overlap, TargetAreaDecidesNotDrawArea)
{
  late->SetHitArea(IRECT(60, 60, 70, 70));
  EXPECT_EQ(rig.editor->ControlAt(45, 45), 1);
  EXPECT_EQ(rig.editor->ControlAt(65, 65), 2);
}

TEST_F(Overlap, CapturedControlIsFoundEverywhere)
{
  MouseMods left(true, false);
  rig.editor->MouseDown(20, 20, &left);
  EXPECT_EQ(rig.editor->Capture(), 1);
  EXPECT_EQ(rig.editor->ControlAt(75, 75), 1);
  EXPECT_EQ(rig.editor->ControlAt(500, 500), 1);
  rig.editor->MouseUp(500, 500, &left);
  EXPECT_EQ(rig.editor->Capture(), -1);
  EXPECT_EQ(rig.editor->ControlAt(500, 500), -1);
}

TEST_F(Overlap, EventsWhereNothingIsHitAreIgnored)
{
  MouseMods left(true, false);
  rig.editor->MouseDown(150, 50, &left);
  rig.editor->MouseDrag(160, 50, &left);
  EXPECT_FALSE(rig.editor->MouseDoubleClick(150, 50, &left));
  rig.editor->MouseWheel(150, 50, &left, 1);
  EXPECT_FALSE(rig.editor->KeyDown(150, 50, kKeySpace));
  rig.editor->MouseUp(150, 50, &left);
  for (ProbeControl* c : {back, early, late}) EXPECT_TRUE(c->mEvents.empty());
  EXPECT_TRUE(rig.plug->Calls().empty());
}
