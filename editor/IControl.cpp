#include "editor/IControl.h"

#include "core/IPlugBase.h"
#include "editor/IGraphics.h"

namespace
{
constexpr double kWheelStep = 0.01;
constexpr double kFineWheelStep = 0.001;
constexpr float kDimmedWeight = 0.25f;
} // namespace

IControl::IControl(IPlugBase* plug, const IRECT& area, int paramIdx, const IChannelBlend& blend)
    : mPlug(plug), mArea(area), mHitArea(area), mParamIndex(paramIdx), mBlendMode(blend)
{
}

IControl::~IControl() = default;

IGraphics* IControl::Editor() const
{
  return mPlug ? mPlug->Editor() : nullptr;
}

void IControl::MouseDown(int, int, MouseMods* mod)
{
  if (mod && mod->mRight) PromptForValue();
}

void IControl::MouseUp(int, int, MouseMods*) {}

void IControl::FileDropped(int, int, const char*) {}

void IControl::MouseDrag(int, int, int, int, MouseMods*) {}

void IControl::MouseDoubleClick(int, int, MouseMods*)
{
  if (mDefault >= 0.0)
  {
    mControlValue = mDefault;
    MarkDirty(true);
  }
}

void IControl::MouseWheel(int, int, MouseMods* mod, int d)
{
  mControlValue += d * ((mod && mod->Fine()) ? kFineWheelStep : kWheelStep);
  MarkDirty(true);
}

void IControl::KeyDown(int, int, int) {}

void IControl::MouseOver(int, int, MouseMods*) {}

void IControl::MouseOut() {}

void IControl::SetValueFromEngine(double value)
{
  if (mDefault < 0.0)
    mDefault = value;
  else if (value == mControlValue)
    return;
  mControlValue = value;
  MarkDirty(false);
  mAlwaysDirty = true;
}

void IControl::SetValueFromUser(double value)
{
  if (value != mControlValue) mControlValue = value;
  mPromptOpen = false;
  MarkDirty(true);
  mAlwaysDirty = true;
}

void IControl::SetHidden(bool hide)
{
  mHidden = hide;
  mAlwaysDirty = true;
  MarkDirty(false);
}

void IControl::SetDimmed(bool gray)
{
  mDimmed = gray;
  mBlendMode.mWeight = gray ? kDimmedWeight : 1.0f;
  MarkDirty(false);
}

bool IControl::Contains(int x, int y)
{
  return mHitArea.L <= x && x <= mHitArea.R && mHitArea.T <= y && y <= mHitArea.B;
}

void IControl::MarkDirty(bool push)
{
  // A NaN (from a host or a degenerate computation) would survive a plain
  // min/max and later become an undefined frame index; it counts as the
  // bottom of the range.
  if (!(mControlValue >= mMinClamp)) mControlValue = mMinClamp;
  if (mControlValue > mMaxClamp) mControlValue = mMaxClamp;
  mDirtyFlag = true;
  if (push && mPlug && mParamIndex >= 0) mPlug->SetParameterFromEditor(mParamIndex, mControlValue);
}

void IControl::MarkClean()
{
  mDirtyFlag = mAlwaysDirty;
  mAlwaysDirty = false;
}

bool IControl::NeedsRedraw()
{
  return mDirtyFlag;
}

bool IControl::PromptForValue()
{
  if (mParamIndex < 0 || mNoPrompt) return false;
  IGraphics* editor = Editor();
  if (!editor) return false;
  const bool opened = editor->PromptForValue(this, mPlug->Param(mParamIndex), true);
  mAlwaysDirty = true;
  return opened;
}

void IControl::PromptClosed()
{
  mPromptOpen = false;
  MarkDirty(false);
  mAlwaysDirty = true;
}
