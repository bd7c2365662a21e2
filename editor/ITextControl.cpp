#include "editor/ITextControl.h"

#include <cstring>

#include "editor/IGraphics.h"

ITextControl::ITextControl(IPlugBase* plug, const IRECT& area, const IText& style, const char* str)
    : IControl(plug, area), mTextStyle(style), mStr(str ? str : "")
{
}

bool ITextControl::Paint(IGraphics* graphics)
{
  if (mStr.GetLength() > 0) graphics->DrawTextIn(&mTextStyle, mStr.Get(), &mArea);
  return true;
}

void ITextControl::SetTextFromPlug(const char* str)
{
  if (!str) str = "";
  if (std::strcmp(str, mStr.Get()) == 0) return;
  mStr.Set(str);
  MarkDirty(false);
}
