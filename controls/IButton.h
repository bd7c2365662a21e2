#pragma once

#include "editor/IBitmap.h"
#include "editor/IControl.h"

// An on/off button: a left click toggles it; the image (its first frame) is
// drawn only while it is on, over the "off" picture on the background. A
// right click changes nothing and asks for nothing, but still reports the
// value to the plug-in.
//
// On and off are the bound parameter's: a host may send any position, and
// the parameter's own rounding decides what the engine gets (0.5 is on for a
// "No"/"Yes" parameter), so the button draws and toggles by the same rule.
class IButton : public IControl
{
public:
  IButton(IPlugBase* plug, int paramIdx, int x, int y, const IBitmap& image);

  void MouseDown(int x, int y, MouseMods* mod) override;
  bool Paint(IGraphics* graphics) override;

  // Whether the parameter rounds the current value to its upper half; above
  // 0.5 for a button without parameter.
  bool IsOn() const;

protected:
  // A left click toggles the value; nothing is reported yet.
  void Toggle(MouseMods* mod);

  IBitmap mImage;
};
