#pragma once

#include "editor/IBitmap.h"
#include "editor/IControl.h"

// An on/off button: a left click toggles it; the image (its first frame) is
// drawn only while it is on, over the "off" picture on the background. A
// right click changes nothing and asks for nothing, but still reports the
// value to the plug-in.
class IButton : public IControl
{
public:
  IButton(IPlugBase* plug, int paramIdx, int x, int y, const IBitmap& image);

  void MouseDown(int x, int y, MouseMods* mod) override;
  bool Paint(IGraphics* graphics) override;

  bool IsOn() const { return mControlValue > 0.5; }

protected:
  // A left click toggles the value; nothing is reported yet.
  void Toggle(MouseMods* mod);

  IBitmap mImage;
};
