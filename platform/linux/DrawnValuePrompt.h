#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/IRECT.h"
#include "editor/IText.h"
#include "raster/LICE_MemBitmap.h"

class IGraphics;

// Keys a value prompt understands; kText is a printable character.
enum class PromptKey
{
  kText,
  kReturn,
  kEscape,
  kBackspace,
  kDelete,
  kLeft,
  kRight,
  kUp,
  kDown,
  kHome,
  kEnd
};

// A value prompt drawn with the editor's own renderer, for a platform host
// without native text fields inside a plug-in window (X11): a one-line text
// field, or a list of a parameter's display texts. It keeps its own picture
// (Rect()'s size); the host lays it over the editor's picture while it is
// open and hands it keys and clicks. Committing and cancelling are the
// host's business: the prompt only reports what the user asked for.
//
// The field opens with all its text selected, so typing replaces it; then
// Left, Right, Home and End move the caret, Backspace and Delete remove a
// character, Return commits and Escape cancels. Only printable ASCII is
// taken: values and display texts are plain ASCII. The list highlights the
// current entry; Up and Down (or a first letter) move the highlight, Return
// or a click on an entry commits it, Escape cancels. A click outside the
// prompt cancels either.
//
// Threads: the UI thread.
class DrawnValuePrompt
{
public:
  enum class Outcome
  {
    kNone,     // nothing changed
    kChanged,  // the picture changed: present it again
    kCommit,   // take Result()
    kCancel    // close without taking anything
  };

  // Longest text a field holds, in bytes.
  static constexpr int kMaxText = 255;
  // Height of one list entry, in pixels.
  static constexpr int kRowHeight = 18;

  // A text field in `rect` showing `text`. align is an IText alignment;
  // a read-only field takes no typing; a masked one shows '*' for each
  // character.
  static std::unique_ptr<DrawnValuePrompt> MakeField(IGraphics* editor, const IRECT& rect, const char* text,
                                                     int align, bool editable = true, bool masked = false);
  // A list with its top-left corner at (x, y), `width` wide and one row per
  // item, moved where needed to lie inside the editor. `selected` is the
  // highlighted entry, -1 for none.
  static std::unique_ptr<DrawnValuePrompt> MakeList(IGraphics* editor, int x, int y, int width,
                                                    std::vector<std::string> items, int selected);

  bool IsList() const { return mIsList; }
  const IRECT& Rect() const { return mRect; }
  // The prompt's picture, Rect()'s size.
  LICE_IBitmap* Picture() { return &mPicture; }

  Outcome Key(PromptKey key, const char* text);
  // A press at editor coordinates (x, y).
  Outcome Click(int x, int y);
  // What to commit: the field's text, or the highlighted entry ("" for none).
  std::string Result() const;

  const std::string& Text() const { return mText; }
  int Caret() const { return mCaret; }
  bool AllSelected() const { return mAllSelected; }
  int Highlighted() const { return mHighlighted; }

private:
  DrawnValuePrompt(IGraphics* editor, const IRECT& rect, bool isList);

  Outcome FieldKey(PromptKey key, const char* text);
  Outcome ListKey(PromptKey key, const char* text);
  // Removes the selected text (all of it) before an edit.
  void ReplaceSelection();
  void Redraw();
  void DrawField();
  void DrawList();
  // Width in pixels of the first `n` bytes of `s` in the prompt's font.
  int TextWidth(const std::string& s, int n);

  IGraphics* mEditor;
  IRECT mRect;
  bool mIsList;
  LICE_MemBitmap mPicture;
  IText mStyle;

  std::string mText;
  int mCaret = 0;
  bool mAllSelected = true;
  bool mEditable = true;
  bool mMasked = false;
  int mAlign = IText::kAlignNear;

  std::vector<std::string> mItems;
  int mHighlighted = -1;
};
