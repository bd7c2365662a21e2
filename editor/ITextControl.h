#pragma once

#include "core/wdl/WDL_String.h"
#include "editor/IControl.h"
#include "editor/IText.h"

// A static line of text without a parameter.
class ITextControl : public IControl
{
public:
  ITextControl(IPlugBase* plug, const IRECT& area, const IText& style, const char* str = "");

  bool Paint(IGraphics* graphics) override;

  // Replaces the text and redraws when it changed.
  void SetTextFromPlug(const char* str);
  const char* Text() const { return mStr.Get(); }
  IText* TextStyle() { return &mTextStyle; }

protected:
  IText mTextStyle;
  WDL_String mStr;
};
