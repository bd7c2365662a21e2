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
  const double initial = Default();
  if (initial >= 0.0)
  {
    mControlValue = initial;
    MarkDirty(true);
  }
}

void IControl::MouseWheel(int, int, MouseMods* mod, int d)
{
  mControlValue = Value() + d * ((mod && mod->Fine()) ? kFineWheelStep : kWheelStep);
  MarkDirty(true);
}

void IControl::KeyDown(int, int, int) {}

void IControl::MouseOver(int, int, MouseMods*) {}

void IControl::MouseOut() {}

double IControl::Clamped(double value) const
{
  // A NaN (from a host or a degenerate computation) would survive a plain
  // min/max and later become an undefined frame index; it counts as the
  // bottom of the range.
  if (!(value >= mMinClamp)) return mMinClamp;
  return value > mMaxClamp ? mMaxClamp : value;
}

void IControl::SetValueFromEngine(double value)
{
  if (Default() < 0.0)
    mDefault.store(value, std::memory_order_relaxed);
  else if (value == Value())
    return;
  // One store of the finished value: the UI thread never sees it unclamped.
  mControlValue.store(Clamped(value), std::memory_order_relaxed);
  mChangedElsewhere.store(true, std::memory_order_release);
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
  mHidden.store(hide, std::memory_order_relaxed);
  mChangedElsewhere.store(true, std::memory_order_release);
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
  const double value = Clamped(Value());
  mControlValue.store(value, std::memory_order_relaxed);
  mDirtyFlag = true;
  if (push && mPlug && mParamIndex >= 0) mPlug->SetParameterFromEditor(mParamIndex, value);
}

bool IControl::TakeChangeFromElsewhere()
{
  // Every control is asked on every timer tick and almost none has changed:
  // a plain load keeps those ticks free of the read-modify-write, and only a
  // raised flag is taken (acquire, ordering the stored value before the
  // drawing that reads it).
  return mChangedElsewhere.load(std::memory_order_relaxed) &&
         mChangedElsewhere.exchange(false, std::memory_order_acquire);
}

void IControl::MarkClean()
{
  mDirtyFlag = mAlwaysDirty;
  mAlwaysDirty = false;
  // Changed by another thread since NeedsRedraw looked: the pass may have
  // drawn the old value, so the next one draws it again.
  if (TakeChangeFromElsewhere()) mDirtyFlag = true;
}

bool IControl::NeedsRedraw()
{
  if (TakeChangeFromElsewhere())
  {
    mDirtyFlag = true;
    mAlwaysDirty = true;
  }
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
