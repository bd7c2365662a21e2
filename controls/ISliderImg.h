#pragma once

#include "editor/IBitmap.h"
#include "editor/IControl.h"
#include "editor/IText.h"

// A slider: a handle image that travels along a fixed length, centred in the
// control's rectangle, with the value read-out in a strip at the bottom. A
// click in the handle area jumps the handle's centre there; drags follow the
// pointer while it stays in the area. A right click asks for a typed value.
class ISliderImg : public IControl
{
public:
  ISliderImg(IPlugBase* plug, int paramIdx, const IRECT& area, const IBitmap& handle, const IText& labelStyle,
             int length, bool horizontal);

  void MouseDown(int x, int y, MouseMods* mod) override;
  void MouseDrag(int x, int y, int dX, int dY, MouseMods* mod) override;
  bool Paint(IGraphics* graphics) override;

  const IRECT& HandleArea() const { return mHandleArea; }
  int Travel() const { return mTravel; }
  // Where the handle is drawn for the normalized value c.
  IRECT HandleRect(double c) const;

protected:
  // The read-out and the handle.
  void DrawReadoutAndHandle(IGraphics* graphics);
  // Puts the handle's centre at the pointer, when the pointer is in the area.
  void MoveHandleTo(int x, int y);

  IText mLabelText;
  IRECT mHandleArea;
  IBitmap mHandle;
  int mLength;
  int mTravel;
  bool mVertical;
};
