// The drop-down: opening and closing its list, choosing an entry by
// position, the choice reaching the host when the face redraws.
#include <atomic>
#include <cmath>

#include <gtest/gtest.h>

#include "controls/IDropDown.h"
#include "controls/IDropDownChild.h"
#include "tests/controls/ControlsTestSupport.h"

using namespace controlstest;

namespace
{
struct DropDownRig : ::testing::Test
{
  // Five entries of 12 pixels: the face's frames and the list's rows have
  // distinct colours.
  std::unique_ptr<LICE_MemBitmap> face = MakeFrames(44, 12, 5, true);
  std::unique_ptr<LICE_MemBitmap> list = MakeFrames(44, 12, 5, true);
  Rig rig;
  IDropDown* dropDown = nullptr;

  void SetUp() override
  {
    dropDown = rig.Add(new IDropDown(&rig.plug, ControlPlug::kTarget, 95, 264, Frames(face, 5), Frames(list, 5), 1,
                                     IDropDown::kBelowLeft));
    rig.Attach();
    rig.editor->Tick();
  }
  double Target() const { return rig.plug.Param(ControlPlug::kTarget)->CurrentValue(); }
  // Opens the list with a click on the face.
  IDropDownChild* Open()
  {
    rig.Click(110, 270);
    rig.editor->Tick();
    return dropDown->List();
  }
};
} // namespace

TEST_F(DropDownRig, OpensBelowTheFaceOverlappingItsLastRow)
{
  EXPECT_EQ(dropDown->Area(), IRECT(95, 263, 139, 277));
  EXPECT_EQ(dropDown->List(), nullptr);
  IDropDownChild* child = Open();
  ASSERT_NE(child, nullptr);
  EXPECT_TRUE(dropDown->IsOpen());
  EXPECT_EQ(child->Area(), IRECT(95, 276, 139, 336));
  // Attached last: drawn over and hit before everything else.
  EXPECT_EQ(rig.editor->GetControl(rig.editor->NControls() - 1), child);
  EXPECT_EQ(rig.editor->PixelAt(100, 300), FrameColour(3));
  // A second click on the face closes it; a third shows the same list again.
  rig.Click(110, 268);
  EXPECT_FALSE(dropDown->IsOpen());
  EXPECT_TRUE(child->IsHidden());
  Open();
  EXPECT_EQ(dropDown->List(), child);
  EXPECT_TRUE(dropDown->IsOpen());
  EXPECT_FALSE(child->IsHidden());
}

TEST_F(DropDownRig, TheEntryFollowsFromTheClickPosition)
{
  IDropDownChild* child = Open();
  ASSERT_NE(child, nullptr);
  // Rows of 12 pixels from the list's top at 276.
  EXPECT_EQ(child->EntryAt(100, 276), 0);
  EXPECT_EQ(child->EntryAt(100, 276 + 30), 2);
  EXPECT_EQ(child->EntryAt(100, 276 + 59), 4);
  EXPECT_EQ(child->EntryAt(138, 276 + 59), 4);
  EXPECT_EQ(child->EntryAt(100, 276 + 60), -1); // the bottom edge: below the last row

  rig.Click(100, 276 + 30);
  EXPECT_EQ(dropDown->Value(), 0.5);
  EXPECT_TRUE(child->IsHidden());
  EXPECT_FALSE(dropDown->IsOpen());
  rig.editor->Tick();
  EXPECT_EQ(Target(), 2.0);

  Open();
  rig.Click(100, 276 + 59);
  rig.editor->Tick();
  EXPECT_EQ(dropDown->Value(), 1.0);
  EXPECT_EQ(Target(), 4.0);
  // The face reported in the pass the list hid in; it shows the new entry
  // whole in the next.
  rig.editor->Tick();
  EXPECT_EQ(rig.editor->PixelAt(100, 266), FrameColour(5));
}

TEST_F(DropDownRig, TheChoiceReachesTheHostWhenTheFaceRedraws)
{
  Open();
  rig.plug.ClearCalls();
  rig.Click(100, 276 + 20); // entry 1
  // The list wrote the value; the plug-in does not know it yet.
  EXPECT_EQ(dropDown->Value(), 0.25);
  EXPECT_EQ(Target(), 0.0);
  EXPECT_TRUE(rig.plug.CallsOf(Call::kAutomate).empty());
  // Hiding the list dirtied the area over the face's last row: the next
  // pass draws the face, which reports the choice.
  IRECT dirty;
  ASSERT_TRUE(rig.editor->NeedsRedraw(&dirty));
  EXPECT_TRUE(dirty.Intersects(dropDown->Area()));
  rig.editor->Tick();
  EXPECT_EQ(Target(), 1.0);
  const auto automated = rig.plug.CallsOf(Call::kAutomate);
  ASSERT_EQ(automated.size(), 1u);
  EXPECT_EQ(automated[0].index, ControlPlug::kTarget);
  EXPECT_EQ(automated[0].value, 0.25);
  rig.editor->Tick();
  EXPECT_EQ(rig.editor->PixelAt(100, 266), FrameColour(2));
  EXPECT_EQ(rig.plug.CallsOf(Call::kAutomate).size(), 1u);
}

TEST_F(DropDownRig, ClicksOutsideTheEntriesLeaveTheListOpen)
{
  IDropDownChild* child = Open();
  rig.Click(100, 276 + 60); // the list's bottom edge, below its last row
  EXPECT_TRUE(dropDown->IsOpen());
  EXPECT_FALSE(child->IsHidden());
  rig.Click(300, 20); // elsewhere in the editor
  rig.Click(20, 450, true);
  rig.editor->Tick();
  EXPECT_TRUE(dropDown->IsOpen());
  EXPECT_EQ(dropDown->Value(), 0.0);
  EXPECT_EQ(Target(), 0.0);
}

TEST_F(DropDownRig, AValueFromTheHostClosesTheListWithoutEchoingIt)
{
  IDropDownChild* child = Open();
  rig.plug.ClearCalls();
  rig.plug.SetParameterFromHost(ControlPlug::kTarget, 0.75);
  rig.editor->Tick();
  EXPECT_FALSE(dropDown->IsOpen());
  EXPECT_TRUE(child->IsHidden());
  EXPECT_EQ(Target(), 3.0);
  EXPECT_TRUE(rig.plug.CallsOf(Call::kAutomate).empty());
  rig.editor->Tick();
  EXPECT_EQ(rig.editor->PixelAt(100, 270), FrameColour(4));
  // The next click opens it again.
  Open();
  EXPECT_TRUE(dropDown->IsOpen());
}

TEST_F(DropDownRig, ChoosingTheCurrentEntryClosesTheListForTheNextClick)
{
  Open();
  rig.Click(100, 280); // entry 0, already chosen: the value does not change
  EXPECT_FALSE(dropDown->IsOpen());
  rig.editor->Tick();
  Open();
  EXPECT_TRUE(dropDown->IsOpen());
}

TEST_F(DropDownRig, RightClickAsksForAValueAndClosesTheList)
{
  IDropDownChild* child = Open();
  rig.Click(110, 270, true);
  EXPECT_TRUE(rig.editor->HasPrompt());
  EXPECT_FALSE(dropDown->IsOpen());
  EXPECT_TRUE(child->IsHidden());
}

TEST(DropDownChild, AOneEntryListStoresZero)
{
  Rig rig;
  auto one = MakeFrames(44, 12, 1, true);
  std::atomic<double> target{0.7};
  IDropDownChild child(&rig.plug, &target, 10, 10, Frames(one, 1), 1);
  MouseMods left(true, false);
  child.MouseDown(20, 15, &left);
  EXPECT_EQ(target.load(), 0.0);
  EXPECT_FALSE(std::isnan(target.load()));
  EXPECT_TRUE(child.IsHidden());
}

TEST(DropDownChild, ColumnsRunDownThenAcrossAndEmptyCellsChangeNothing)
{
  Rig rig;
  // Five entries in two columns of three rows, 88 x 36.
  auto list = MakeFrames(88, 36, 1, true);
  std::atomic<double> target{0.5};
  IDropDownChild child(&rig.plug, &target, 0, 0, Frames(list, 5), 2);
  EXPECT_EQ(child.EntryAt(10, 5), 0);
  EXPECT_EQ(child.EntryAt(10, 30), 2);
  EXPECT_EQ(child.EntryAt(50, 5), 3);
  EXPECT_EQ(child.EntryAt(50, 15), 4);
  EXPECT_EQ(child.EntryAt(88, 15), 4); // the right edge belongs to the last column
  EXPECT_EQ(child.EntryAt(50, 30), -1);
  MouseMods left(true, false);
  child.MouseDown(50, 30, &left);
  EXPECT_EQ(target.load(), 0.5);
  EXPECT_FALSE(child.IsHidden());
  child.MouseDown(50, 15, &left);
  EXPECT_EQ(target.load(), 1.0);
  EXPECT_TRUE(child.IsHidden());
  // Only the left button chooses.
  target = 0.5;
  child.SetHidden(false);
  MouseMods right(false, true);
  child.MouseDown(10, 5, &right);
  EXPECT_EQ(target.load(), 0.5);
}

TEST_F(DropDownRig, AHostValueOffTheListsGridIsNotEchoedAndAChoiceIsOneGesture)
{
  Open();
  rig.Click(100, 280); // entry 0 again: the list has been used
  rig.editor->Tick();
  rig.plug.ClearCalls();
  // 0.3 rounds to entry 1 (0.25): the face shows 0.3, the parameter 0.25.
  rig.plug.SetParameterFromHost(ControlPlug::kTarget, 0.3);
  rig.editor->Tick();
  rig.editor->Tick();
  EXPECT_TRUE(rig.plug.Calls().empty());
  EXPECT_EQ(Target(), 1.0);

  Open();
  rig.plug.ClearCalls();
  rig.Click(100, 276 + 30); // entry 2
  rig.editor->Tick();
  EXPECT_EQ(Target(), 2.0);
  EXPECT_EQ(rig.Gesture(ControlPlug::kTarget), kGesture);
}
