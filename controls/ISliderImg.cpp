#include "controls/ISliderImg.h"

#include "controls/ParamReadout.h"
#include "controls/PassAreaGuard.h"
#include "core/IPlugBase.h"
#include "core/NumericConversions.h"
#include "editor/IGraphics.h"

namespace
{
// The handle's area: the slider's length centred in the rectangle, one
// handle thick.
IRECT AreaFor(const IRECT& r, const IBitmap& handle, int length, bool horizontal)
{
  const float c = (r.L + r.R) / 2.0f;
  if (horizontal)
    return IRECT(RoundHalfAwayToInt32(c - length / 2), r.T, RoundHalfAwayToInt32(c + length / 2), r.T + handle.H);
  return IRECT(RoundHalfAwayToInt32(c - handle.W / 2.0), r.T, RoundHalfAwayToInt32(c + handle.W / 2.0),
               r.T + length);
}

bool Inside(const IRECT& r, int x, int y)
{
  return r.L <= x && x <= r.R && r.T <= y && y <= r.B;
}
} // namespace

ISliderImg::ISliderImg(IPlugBase* plug, int paramIdx, const IRECT& area, const IBitmap& handle,
                       const IText& labelStyle, int length, bool horizontal)
    : IControl(plug, area, paramIdx),
      mLabelText(labelStyle),
      mHandleArea(AreaFor(area, handle, length, horizontal)),
      mHandle(handle),
      mLength(length),
      mTravel(length - (horizontal ? handle.W : handle.H)),
      mVertical(!horizontal)
{
}

void ISliderImg::MouseDown(int x, int y, MouseMods* mod)
{
  if (mod && mod->mRight)
  {
    PromptForValue();
    return;
  }
  MoveHandleTo(x, y);
}

void ISliderImg::MouseDrag(int x, int y, int, int, MouseMods*)
{
  // Outside the area the handle stays where the pointer last had it.
  MoveHandleTo(x, y);
}

void ISliderImg::MoveHandleTo(int x, int y)
{
  if (!Inside(mHandleArea, x, y) || mTravel <= 0) return;
  if (mVertical)
    mControlValue = 1.0 - (y - mHandleArea.T - mHandle.H * 0.5) / mTravel;
  else
    mControlValue = (x - mHandleArea.L - mHandle.W * 0.5) / mTravel;
  MarkDirty(true);
}

IRECT ISliderImg::HandleRect(double c) const
{
  if (mVertical)
  {
    const int top = RoundHalfAwayToInt32(mTravel * (1.0 - c) + mHandleArea.T);
    return IRECT(mHandleArea.L, top, mHandleArea.R, top + mHandle.H);
  }
  const double left = mHandleArea.L + mTravel * c;
  return IRECT(RoundHalfAwayToInt32(left), mHandleArea.T, RoundHalfAwayToInt32(left + mHandle.W), mArea.B);
}

bool ISliderImg::Paint(IGraphics* graphics)
{
  const PassAreaGuard guard(graphics, PassAreaGuard::WithText(mArea));
  DrawReadoutAndHandle(graphics);
  return true;
}

void ISliderImg::DrawReadoutAndHandle(IGraphics* graphics)
{
  const ParamReadout readout(mPlug, mParamIndex, true);
  const int size = mLabelText.mSize;
  if (!readout.Empty() && size > 0)
  {
    mLabelText.mAlign = IText::kAlignCenter;
    const IRECT strip(mArea.L, mArea.B - size, mArea.R, mArea.B);
    graphics->DrawTextIn(&mLabelText, readout.Text(), &strip);
  }

  // The handle shows the parameter's own value, which a drag has just set.
  const IParam* param = (mPlug && mParamIndex >= 0) ? mPlug->Param(mParamIndex) : nullptr;
  const IRECT handle = HandleRect(param ? param->NormalizedValue() : Value());
  graphics->BlitBitmap(&mHandle, &handle, 1, &mBlendMode, true);
}
