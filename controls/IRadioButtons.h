#pragma once

#include "core/wdl/WDL_TypedBuf.h"
#include "editor/IBitmap.h"
#include "editor/IControl.h"

// A group of radio buttons over a picture painted on the background: only
// the selected button is drawn (its part of the image); the others show
// whatever lies below. A left click selects the button under the pointer.
class IRadioButtons : public IControl
{
public:
  enum EDirection
  {
    kVertical = 0,
    kHorizontal = 1
  };

  // wholeGroup: the image shows all buttons (N of them) and the control is
  // the image's size; the first three buttons take size1..size3 pixels along
  // the axis (0: an equal share), the last one the rest. Otherwise the image
  // is one button, repeated N times along the axis.
  IRadioButtons(IPlugBase* plug, int paramIdx, int x, int y, const IBitmap& image, bool wholeGroup, int direction,
                int size1 = 0, int size2 = 0, int size3 = 0);

  void MouseDown(int x, int y, MouseMods* mod) override;
  bool Paint(IGraphics* graphics) override;

  int ButtonCount() const { return mButtons.GetSize(); }
  // Null for an index outside the group.
  const IRECT* Button(int i) const { return (i >= 0 && i < ButtonCount()) ? mButtons.Get() + i : nullptr; }
  // The selected button, from 1.
  int SelectedButton() const;

private:
  WDL_TypedBuf<IRECT> mButtons{4096};
  IBitmap mImage;
  bool mVertical;
  bool mWholeGroup;
};
