// The value prompt drawn over the editor: editing, lists, clicks, picture.
#include <gtest/gtest.h>

#include "platform/linux/DrawnValuePrompt.h"
#include "platform/linux/IGraphicsHeadless.h"
#include "raster/LICE_IBitmap.h"
#include "tests/support/TestPlug.h"

namespace
{
using Outcome = DrawnValuePrompt::Outcome;

class DrawnPrompt : public ::testing::Test
{
protected:
  TestPlug plug;
  IGraphicsHeadless editor{&plug, 388, 470};
};

TEST_F(DrawnPrompt, TypingReplacesTheSelectionThenEditsAtTheCaret)
{
  auto field = DrawnValuePrompt::MakeField(&editor, IRECT(10, 10, 60, 26), "3000", 1);
  ASSERT_NE(field, nullptr);
  EXPECT_TRUE(field->AllSelected());
  EXPECT_EQ(field->Key(PromptKey::kText, "1"), Outcome::kChanged);
  EXPECT_EQ(field->Text(), "1");
  field->Key(PromptKey::kText, "250\x01\xC3\xA9");  // only printable ASCII is taken
  EXPECT_EQ(field->Text(), "1250");
  field->Key(PromptKey::kHome, nullptr);
  field->Key(PromptKey::kDelete, nullptr);
  field->Key(PromptKey::kRight, nullptr);
  field->Key(PromptKey::kText, ".");
  field->Key(PromptKey::kEnd, nullptr);
  field->Key(PromptKey::kBackspace, nullptr);
  EXPECT_EQ(field->Text(), "2.5");
  EXPECT_EQ(field->Caret(), 3);
  EXPECT_EQ(field->Key(PromptKey::kReturn, nullptr), Outcome::kCommit);
  EXPECT_EQ(field->Result(), "2.5");
  EXPECT_EQ(field->Key(PromptKey::kEscape, nullptr), Outcome::kCancel);

  // Bounded, and a read-only field takes nothing.
  const std::string longText(400, '9');
  field->Key(PromptKey::kText, longText.c_str());
  EXPECT_EQ(field->Text().size(), static_cast<size_t>(DrawnValuePrompt::kMaxText));
  auto readOnly = DrawnValuePrompt::MakeField(&editor, IRECT(0, 0, 50, 16), "abc", 0, false);
  EXPECT_EQ(readOnly->Key(PromptKey::kText, "x"), Outcome::kNone);
  EXPECT_EQ(readOnly->Key(PromptKey::kBackspace, nullptr), Outcome::kNone);
  EXPECT_EQ(readOnly->Text(), "abc");
}

TEST_F(DrawnPrompt, ListsMoveTheirHighlightAndCommitAnEntry)
{
  // Placed inside the editor even when asked for below its bottom edge.
  auto list = DrawnValuePrompt::MakeList(&editor, 350, 460, 88, {"Lowpass", "Highpass", "Bandpass"}, 1);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->Rect(), IRECT(300, 414, 388, 470));
  EXPECT_EQ(list->Key(PromptKey::kDown, nullptr), Outcome::kChanged);
  EXPECT_EQ(list->Result(), "Bandpass");
  EXPECT_EQ(list->Key(PromptKey::kDown, nullptr), Outcome::kNone);
  list->Key(PromptKey::kText, "l");
  EXPECT_EQ(list->Result(), "Lowpass");
  EXPECT_EQ(list->Key(PromptKey::kReturn, nullptr), Outcome::kCommit);
  // A click on the second row commits it; outside cancels.
  EXPECT_EQ(list->Click(320, 414 + 1 + 18 + 5), Outcome::kCommit);
  EXPECT_EQ(list->Result(), "Highpass");
  EXPECT_EQ(list->Click(299, 420), Outcome::kCancel);
  // Without a current entry Return has nothing to commit.
  auto none = DrawnValuePrompt::MakeList(&editor, 0, 0, 50, {"A", "B"}, -1);
  EXPECT_EQ(none->Key(PromptKey::kReturn, nullptr), Outcome::kCancel);
}

TEST_F(DrawnPrompt, ThePictureShowsTheTextAndTheCaretMoves)
{
  auto field = DrawnValuePrompt::MakeField(&editor, IRECT(0, 0, 60, 16), "", 0);
  field->Key(PromptKey::kText, "8");
  LICE_IBitmap* picture = field->Picture();
  ASSERT_EQ(picture->getWidth(), 60);
  auto snapshot = [&] {
    std::vector<LICE_pixel> pixels(picture->getBits(), picture->getBits() + picture->getRowSpan() * 16);
    return pixels;
  };
  const auto withCaretAfter = snapshot();
  field->Key(PromptKey::kLeft, nullptr);
  EXPECT_NE(snapshot(), withCaretAfter);
  field->Key(PromptKey::kRight, nullptr);
  EXPECT_EQ(snapshot(), withCaretAfter);
  field->Key(PromptKey::kBackspace, nullptr);
  EXPECT_NE(snapshot(), withCaretAfter);
}
} // namespace
