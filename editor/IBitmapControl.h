#pragma once

#include "editor/IControl.h"

// Shows one frame of a multi-frame image, chosen by the value: 0.0 shows the
// first frame, 1.0 the last, and the frame changes halfway between two
// frames' values.
class IBitmapControl : public IControl
{
public:
  IBitmapControl(IPlugBase* plug, const IRECT& area, int paramIdx, const IBitmap& image, bool framesVertical = true,
                 const IChannelBlend& blend = IChannelBlend());
  // Covers one frame of the image with its top-left corner at (x, y).
  IBitmapControl(IPlugBase* plug, int x, int y, int paramIdx, const IBitmap& image, bool framesVertical = true);

  bool Paint(IGraphics* graphics) override;

  // The frame (1..N) the current value selects.
  int FrameForValue() const;
  const IBitmap& Image() const { return mImage; }
  bool FramesVertical() const { return mFramesVertical; }

  // One frame's rectangle at (x, y).
  static IRECT FrameRect(int x, int y, const IBitmap& image, bool framesVertical);

protected:
  bool mFramesVertical;
  IBitmap mImage;
};
