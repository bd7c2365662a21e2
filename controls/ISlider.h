#pragma once

#include "controls/ISliderImg.h"
#include "editor/IColor.h"

// A slider with a value bar under its handle: the bar grows from a fixed end
// of the track (or from the middle when centred) to the handle's centre.
class ISlider : public ISliderImg
{
public:
  ISlider(IPlugBase* plug, int paramIdx, const IRECT& area, const IBitmap& handle, const IText& labelStyle,
          const IColor& barColor, int length, int barThickness, bool horizontal, int barStart, bool centred);

  bool Paint(IGraphics* graphics) override;

  // The bar for value v; false when no bar is drawn.
  bool BarRect(double v, IRECT* bar) const;
  const IRECT& TrackRect() const { return mTrackRECT; }
  int TrackLength() const { return mTrackLength; }
  const IColor& BarColor() const { return mBarColor; }

private:
  IColor mBarColor;
  IRECT mTrackRECT;
  IBitmap mTrackHandle;
  int mTrackLength;
  int mTrackTravel;
  int mBarThickness;
  int mBarStart;
  bool mBarVertical;
  bool mBarCentered;
};
