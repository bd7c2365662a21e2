#include "editor/IEditableTextControl.h"

#include <cstring>
#include <string>

#include "editor/IGraphics.h"

IEditableTextControl::IEditableTextControl(IPlugBase* plug, const IRECT& area, const IText& style, const char* str,
                                           const IColor& background, bool editable, bool password)
    : ITextControl(plug, area, style, str), mBackground(background), mEditable(editable), mPassword(password)
{
}

void IEditableTextControl::MouseDown(int, int, MouseMods*)
{
  if (mNoPrompt) return;
  if (IGraphics* editor = Editor()) editor->PromptForValue(this);
  mAlwaysDirty = true;
}

bool IEditableTextControl::Paint(IGraphics* graphics)
{
  if (mBackground.A != 0) graphics->FillRectColor(&mBackground, &mArea, nullptr);
  if (!mPassword) return ITextControl::Paint(graphics);
  const int length = mStr.GetLength() < kMaxMaskLength ? mStr.GetLength() : kMaxMaskLength;
  if (length > 0)
  {
    const std::string mask(static_cast<size_t>(length), '*');
    graphics->DrawTextIn(&mTextStyle, mask.c_str(), &mArea);
  }
  return true;
}

void IEditableTextControl::TextFromTextEntry(const char* text)
{
  if (!text) text = "";
  if (std::strcmp(text, mStr.Get()) == 0) return;
  MarkDirty(false);
  mStr.Set(text);
}
