#pragma once

#include "editor/IBitmap.h"
#include "editor/IControl.h"
#include "editor/IText.h"

// A multi-state switch with its value's name under it: each click steps to
// the next frame of the image and wraps from the last to the first; the
// image is centred in the given width, the read-out fills a strip at the
// bottom. A right click asks for a typed value.
class ISwitchLbl : public IControl
{
public:
  // width 0: the control is one frame wide.
  ISwitchLbl(IPlugBase* plug, int paramIdx, int x, int y, const IBitmap& image, const IText& labelStyle,
             int labelGap, int width, bool framesSideBySide);

  void MouseDown(int x, int y, MouseMods* mod) override;
  bool Paint(IGraphics* graphics) override;

  // The frame (1..N) the current value selects.
  int FrameForValue() const;
  // Where the frame is drawn.
  IRECT ImageRect() const;
  int LabelGap() const { return mLabelGap; }

private:
  int FrameWidth() const;
  int FrameHeight() const;

  IText mLabelText;
  IBitmap mImage;
  int mLabelGap;
  int mWidth;
  bool mFramesVertical;
};
