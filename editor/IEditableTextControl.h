#pragma once

#include "editor/IColor.h"
#include "editor/ITextControl.h"

// Text the user can edit (or, when not editable, select) in a text field the
// platform host opens over the control on a click.
class IEditableTextControl : public ITextControl
{
public:
  // Texts longer than this are masked with this many characters.
  static constexpr int kMaxMaskLength = 254;

  IEditableTextControl(IPlugBase* plug, const IRECT& area, const IText& style, const char* str = "",
                       const IColor& background = IColor(0, 0, 0, 0), bool editable = true, bool password = false);

  void MouseDown(int x, int y, MouseMods* mod) override;
  bool Paint(IGraphics* graphics) override;

  // The text field closed with text: replaces the text when it differs.
  void TextFromTextEntry(const char* text);

  const IColor& Background() const { return mBackground; }
  bool IsEditable() const { return mEditable; }
  bool IsPassword() const { return mPassword; }

protected:
  IColor mBackground; // filled behind the text unless fully transparent
  bool mEditable;
  bool mPassword;     // shown masked
};
