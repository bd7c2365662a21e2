#include "platform/linux/DrawnValuePrompt.h"

#include <algorithm>
#include <cctype>
#include <mutex>

#include "editor/FontCache.h"
#include "editor/IGraphics.h"
#include "raster/LICE_Blend.h"
#include "raster/LICE_IFont.h"

namespace
{
// The editor's palette: its dark panels, light read-outs and blue accent.
constexpr LICE_pixel kPanel = LICE_RGBA(28, 31, 37, 255);
constexpr LICE_pixel kBorder = LICE_RGBA(100, 200, 255, 255);
constexpr LICE_pixel kTextColour = LICE_RGBA(235, 235, 235, 255);
constexpr LICE_pixel kHighlight = LICE_RGBA(100, 200, 255, 255);
constexpr LICE_pixel kHighlightText = LICE_RGBA(20, 22, 26, 255);
// The field's text starts this far in from its border.
constexpr int kPadding = 3;
const IText kPromptStyle("Arial", 14, IColor(255, 235, 235, 235));

bool Printable(char c)
{
  return c >= 0x20 && c < 0x7F;
}

void Fill(LICE_IBitmap* bitmap, int x, int y, int w, int h, LICE_pixel colour)
{
  LICE_FillRect(bitmap, x, y, w, h, colour, 1.0f, LICE_BLIT_MODE_COPY);
}

void Frame(LICE_IBitmap* bitmap, int w, int h)
{
  Fill(bitmap, 0, 0, w, 1, kBorder);
  Fill(bitmap, 0, h - 1, w, 1, kBorder);
  Fill(bitmap, 0, 0, 1, h, kBorder);
  Fill(bitmap, w - 1, 0, 1, h, kBorder);
}
} // namespace

DrawnValuePrompt::DrawnValuePrompt(IGraphics* editor, const IRECT& rect, bool isList)
    : mEditor(editor), mRect(rect), mIsList(isList), mPicture(rect.W(), rect.H()), mStyle(kPromptStyle)
{
}

std::unique_ptr<DrawnValuePrompt> DrawnValuePrompt::MakeField(IGraphics* editor, const IRECT& rect, const char* text,
                                                              int align, bool editable, bool masked)
{
  if (!editor || rect.W() <= 0 || rect.H() <= 0) return nullptr;
  std::unique_ptr<DrawnValuePrompt> prompt(new DrawnValuePrompt(editor, rect, false));
  prompt->mText = text ? std::string(text).substr(0, kMaxText) : std::string();
  // Only what can be typed back stays editable.
  prompt->mText.erase(std::remove_if(prompt->mText.begin(), prompt->mText.end(), [](char c) { return !Printable(c); }),
                      prompt->mText.end());
  prompt->mCaret = static_cast<int>(prompt->mText.size());
  prompt->mAlign = align;
  prompt->mEditable = editable;
  prompt->mMasked = masked;
  prompt->Redraw();
  return prompt;
}

std::unique_ptr<DrawnValuePrompt> DrawnValuePrompt::MakeList(IGraphics* editor, int x, int y, int width,
                                                             std::vector<std::string> items, int selected)
{
  if (!editor || items.empty() || width <= 0) return nullptr;
  const int height = static_cast<int>(items.size()) * kRowHeight + 2;
  // Inside the editor where it fits: moved up from the bottom edge and in
  // from the sides.
  x = std::max(0, std::min(x, editor->Width() - width));
  y = std::max(0, std::min(y, editor->Height() - height));
  std::unique_ptr<DrawnValuePrompt> prompt(
      new DrawnValuePrompt(editor, IRECT(x, y, x + width, y + height), true));
  prompt->mItems = std::move(items);
  prompt->mHighlighted = (selected >= 0 && selected < static_cast<int>(prompt->mItems.size())) ? selected : -1;
  prompt->Redraw();
  return prompt;
}

DrawnValuePrompt::Outcome DrawnValuePrompt::Key(PromptKey key, const char* text)
{
  if (key == PromptKey::kEscape) return Outcome::kCancel;
  return mIsList ? ListKey(key, text) : FieldKey(key, text);
}

void DrawnValuePrompt::ReplaceSelection()
{
  if (!mAllSelected) return;
  mText.clear();
  mCaret = 0;
  mAllSelected = false;
}

DrawnValuePrompt::Outcome DrawnValuePrompt::FieldKey(PromptKey key, const char* text)
{
  const int length = static_cast<int>(mText.size());
  switch (key)
  {
  case PromptKey::kReturn:
    return Outcome::kCommit;
  case PromptKey::kText:
  {
    if (!mEditable || !text) return Outcome::kNone;
    std::string typed;
    for (const char* c = text; *c; ++c)
      if (Printable(*c)) typed += *c;
    if (typed.empty()) return Outcome::kNone;
    ReplaceSelection();
    typed = typed.substr(0, static_cast<size_t>(kMaxText) - mText.size());
    if (typed.empty()) return Outcome::kNone;
    mText.insert(static_cast<size_t>(mCaret), typed);
    mCaret += static_cast<int>(typed.size());
    break;
  }
  case PromptKey::kBackspace:
    if (!mEditable) return Outcome::kNone;
    if (mAllSelected)
      ReplaceSelection();
    else if (mCaret > 0)
      mText.erase(static_cast<size_t>(--mCaret), 1);
    else
      return Outcome::kNone;
    break;
  case PromptKey::kDelete:
    if (!mEditable) return Outcome::kNone;
    if (mAllSelected)
      ReplaceSelection();
    else if (mCaret < length)
      mText.erase(static_cast<size_t>(mCaret), 1);
    else
      return Outcome::kNone;
    break;
  case PromptKey::kLeft:
    mCaret = mAllSelected ? 0 : std::max(0, mCaret - 1);
    mAllSelected = false;
    break;
  case PromptKey::kRight:
    mCaret = mAllSelected ? length : std::min(length, mCaret + 1);
    mAllSelected = false;
    break;
  case PromptKey::kHome:
    mCaret = 0;
    mAllSelected = false;
    break;
  case PromptKey::kEnd:
    mCaret = length;
    mAllSelected = false;
    break;
  default:
    return Outcome::kNone;
  }
  Redraw();
  return Outcome::kChanged;
}

DrawnValuePrompt::Outcome DrawnValuePrompt::ListKey(PromptKey key, const char* text)
{
  const int count = static_cast<int>(mItems.size());
  int next = mHighlighted;
  switch (key)
  {
  case PromptKey::kReturn:
    return mHighlighted >= 0 ? Outcome::kCommit : Outcome::kCancel;
  case PromptKey::kUp:
    next = mHighlighted < 0 ? count - 1 : std::max(0, mHighlighted - 1);
    break;
  case PromptKey::kDown:
    next = std::min(count - 1, mHighlighted + 1);
    break;
  case PromptKey::kHome:
    next = 0;
    break;
  case PromptKey::kEnd:
    next = count - 1;
    break;
  case PromptKey::kText:
  {
    // The next entry after the highlighted one that starts with the letter.
    if (!text || !Printable(text[0])) return Outcome::kNone;
    const int letter = std::tolower(static_cast<unsigned char>(text[0]));
    for (int step = 1; step <= count; ++step)
    {
      const int i = (std::max(mHighlighted, -1) + step + count) % count;
      if (!mItems[static_cast<size_t>(i)].empty() &&
          std::tolower(static_cast<unsigned char>(mItems[static_cast<size_t>(i)][0])) == letter)
      {
        next = i;
        break;
      }
    }
    break;
  }
  default:
    return Outcome::kNone;
  }
  if (next == mHighlighted) return Outcome::kNone;
  mHighlighted = next;
  Redraw();
  return Outcome::kChanged;
}

DrawnValuePrompt::Outcome DrawnValuePrompt::Click(int x, int y)
{
  // The right and bottom edges are outside, as for any rectangle of pixels.
  if (x < mRect.L || x >= mRect.R || y < mRect.T || y >= mRect.B) return Outcome::kCancel;
  if (!mIsList) return Outcome::kNone;
  const int row = (y - mRect.T - 1) / kRowHeight;
  if (y - mRect.T < 1 || row >= static_cast<int>(mItems.size())) return Outcome::kNone;
  mHighlighted = row;
  Redraw();
  return Outcome::kCommit;
}

std::string DrawnValuePrompt::Result() const
{
  if (!mIsList) return mText;
  return mHighlighted >= 0 ? mItems[static_cast<size_t>(mHighlighted)] : std::string();
}

int DrawnValuePrompt::TextWidth(const std::string& s, int n)
{
  LICE_IFont* font = mEditor->FontForText(&mStyle);
  if (!font || n <= 0) return 0;
  IRECT extent;
  std::lock_guard<std::mutex> drawing(FontCache::Instance().DrawingLock());
  font->DrawText(&mPicture, s.c_str(), n, &extent, LICE_DT_CALCRECT | LICE_DT_SINGLELINE | LICE_DT_NOPREFIX);
  return extent.W();
}

void DrawnValuePrompt::Redraw()
{
  if (mIsList)
    DrawList();
  else
    DrawField();
}

void DrawnValuePrompt::DrawField()
{
  const int w = mRect.W();
  const int h = mRect.H();
  Fill(&mPicture, 0, 0, w, h, kPanel);
  const std::string shown = mMasked ? std::string(mText.size(), '*') : mText;
  const int textWidth = TextWidth(shown, static_cast<int>(shown.size()));
  const int caretOffset = TextWidth(shown, mCaret);
  const int inner = w - 2 * kPadding;

  // Where the text starts: by the alignment while it fits, else scrolled so
  // the caret stays in view.
  int x = kPadding;
  if (textWidth <= inner)
  {
    if (mAlign == IText::kAlignCenter) x = (w - textWidth) / 2;
    else if (mAlign == IText::kAlignFar) x = w - kPadding - textWidth;
  }
  else if (caretOffset > inner)
  {
    x = kPadding + inner - caretOffset;
  }

  LICE_IFont* font = mEditor->FontForText(&mStyle);
  if (mAllSelected && textWidth > 0)
    Fill(&mPicture, std::max(x, 1), 2, std::min(textWidth, w - 2), h - 4, kHighlight);
  if (font && !shown.empty())
  {
    std::lock_guard<std::mutex> drawing(FontCache::Instance().DrawingLock());
    font->SetTextColor(mAllSelected ? kHighlightText : kTextColour);
    IRECT r(x, 0, x + textWidth, h);
    font->DrawText(&mPicture, shown.c_str(), -1, &r, LICE_DT_VCENTER | LICE_DT_SINGLELINE | LICE_DT_NOPREFIX);
  }
  if (!mAllSelected && mEditable)
  {
    const int caretX = std::max(1, std::min(w - 2, x + caretOffset));
    Fill(&mPicture, caretX, 2, 1, h - 4, kTextColour);
  }
  Frame(&mPicture, w, h);
}

void DrawnValuePrompt::DrawList()
{
  const int w = mRect.W();
  const int h = mRect.H();
  Fill(&mPicture, 0, 0, w, h, kPanel);
  LICE_IFont* font = mEditor->FontForText(&mStyle);
  for (size_t i = 0; i < mItems.size(); ++i)
  {
    const int top = 1 + static_cast<int>(i) * kRowHeight;
    const bool highlighted = static_cast<int>(i) == mHighlighted;
    if (highlighted) Fill(&mPicture, 1, top, w - 2, kRowHeight, kHighlight);
    if (!font) continue;
    std::lock_guard<std::mutex> drawing(FontCache::Instance().DrawingLock());
    font->SetTextColor(highlighted ? kHighlightText : kTextColour);
    IRECT r(kPadding + 2, top, w - kPadding, top + kRowHeight);
    font->DrawText(&mPicture, mItems[i].c_str(), -1, &r, LICE_DT_VCENTER | LICE_DT_SINGLELINE | LICE_DT_NOPREFIX);
  }
  Frame(&mPicture, w, h);
}
