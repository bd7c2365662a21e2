#include "controls/IButton.h"

#include "core/IParam.h"
#include "core/IPlugBase.h"
#include "editor/IGraphics.h"

IButton::IButton(IPlugBase* plug, int paramIdx, int x, int y, const IBitmap& image)
    : IControl(plug, IRECT(x, y, x + image.W, y + image.H / (image.N > 0 ? image.N : 1)), paramIdx), mImage(image)
{
}

bool IButton::IsOn() const
{
  const IParam* param = (mPlug && mParamIndex >= 0) ? mPlug->Param(mParamIndex) : nullptr;
  if (!param) return mControlValue > 0.5;
  return param->ToNormalized(param->SnappedFromNormalized(mControlValue)) > 0.5;
}

void IButton::Toggle(MouseMods* mod)
{
  if (mod && mod->mLeft) mControlValue = IsOn() ? 0.0 : 1.0;
}

void IButton::MouseDown(int, int, MouseMods* mod)
{
  Toggle(mod);
  MarkDirty(true);
}

bool IButton::Paint(IGraphics* graphics)
{
  if (IsOn()) graphics->BlitBitmap(&mImage, &mArea, 1, nullptr, true);
  return true;
}
