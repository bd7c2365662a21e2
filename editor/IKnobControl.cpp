#include "editor/IKnobControl.h"

namespace
{
constexpr double kFineFactor = 10.0;
} // namespace

IKnobControl::IKnobControl(IPlugBase* plug, const IRECT& area, int paramIdx, int dragAxis, double dragRatio,
                           const IChannelBlend& blend)
    : IControl(plug, area, paramIdx, blend), mDragAxis(dragAxis), mDragRatio(dragRatio)
{
}

void IKnobControl::MouseDrag(int, int, int dX, int dY, MouseMods* mod)
{
  double gearing = mDragRatio;
  if (mod && mod->Fine()) gearing *= kFineFactor;
  // Screen y grows downward, so T - B is negative: moving up increases.
  const int extent = mDragAxis == kHorizontal ? mArea.R - mArea.L : mArea.T - mArea.B;
  const int delta = mDragAxis == kHorizontal ? dX : dY;
  // A control without extent along the axis has no scale to drag against.
  if (extent == 0 || gearing == 0.0) return;
  mControlValue = Value() + static_cast<double>(delta) / extent / gearing;
  MarkDirty(true);
}
