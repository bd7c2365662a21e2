#include "controls/ISlider.h"

#include <algorithm>

#include "controls/PassAreaGuard.h"
#include "core/NumericConversions.h"
#include "editor/IGraphics.h"

namespace
{
IRECT TrackFor(const IRECT& r, const IBitmap& handle, int length, bool horizontal)
{
  const float c = (r.L + r.R) / 2.0f;
  if (horizontal)
    return IRECT(RoundHalfAwayToInt32(c - length / 2), r.T, RoundHalfAwayToInt32(c + length / 2), r.T + handle.H);
  return IRECT(RoundHalfAwayToInt32(c - handle.W * 0.5), r.T, RoundHalfAwayToInt32(c + handle.W * 0.5),
               r.T + length);
}
} // namespace

ISlider::ISlider(IPlugBase* plug, int paramIdx, const IRECT& area, const IBitmap& handle, const IText& labelStyle,
                 const IColor& barColor, int length, int barThickness, bool horizontal, int barStart, bool centred)
    : ISliderImg(plug, paramIdx, area, handle, labelStyle, length, horizontal),
      mBarColor(barColor),
      mTrackRECT(TrackFor(area, handle, length, horizontal)),
      mTrackHandle(handle),
      mTrackLength(length),
      mTrackTravel(length - (horizontal ? handle.W : handle.H)),
      mBarThickness(barThickness),
      mBarStart(barStart),
      mBarVertical(!horizontal),
      mBarCentered(centred)
{
}

bool ISlider::BarRect(double v, IRECT* bar) const
{
  const int hw = mTrackHandle.W;
  const int hh = mTrackHandle.H;
  const int halfThickness = mBarThickness / 2;
  if (mBarVertical)
  {
    const double d = mTrackTravel * (1.0 - v);
    if (mTrackTravel + hh / 2 - mBarStart <= d) return false;
    const float cm = (mTrackRECT.L + mTrackRECT.R) / 2.0f;
    *bar = IRECT(RoundHalfAwayToInt32(cm - halfThickness), RoundHalfAwayToInt32(d + hh / 2 + mTrackRECT.T),
                 RoundHalfAwayToInt32(cm + halfThickness), hh + mTrackRECT.T + mTrackTravel - mBarStart);
    return true;
  }
  const float cm = (mTrackRECT.T + mTrackRECT.B) / 2.0f;
  const int top = RoundHalfAwayToInt32(cm - halfThickness);
  const int bottom = RoundHalfAwayToInt32(cm + halfThickness);
  if (mBarCentered)
  {
    const double base = mTrackRECT.L + hw / 2;
    *bar = IRECT(RoundHalfAwayToInt32(mTrackTravel * std::min(v, 0.5) + base), top,
                 RoundHalfAwayToInt32(mTrackTravel * std::max(v, 0.5) + base), bottom);
    return true;
  }
  // The bar ends under the handle's centre.
  const double p = mTrackTravel * v + hw / 2;
  if (p <= mBarStart) return false;
  *bar = IRECT(mTrackRECT.L + mBarStart, top, RoundHalfAwayToInt32(mTrackRECT.L + p), bottom);
  return true;
}

bool ISlider::Paint(IGraphics* graphics)
{
  const PassAreaGuard guard(graphics, PassAreaGuard::WithText(mArea));
  IRECT bar;
  if (BarRect(mControlValue, &bar)) graphics->FillRectColor(&mBarColor, &bar, nullptr);
  DrawReadoutAndHandle(graphics);
  return true;
}
