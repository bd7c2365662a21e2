#pragma once

#include "editor/IControl.h"

// The drag behaviour of knobs: dragging by the control's own height (or
// width) changes the value by 1 / drag ratio, ten times finer with Shift or
// Control. Larger controls therefore need longer drags.
class IKnobControl : public IControl
{
public:
  enum EDragAxis
  {
    kVertical = 0,   // drag up to increase
    kHorizontal = 1  // drag right to increase
  };

  static constexpr double kDefaultDragRatio = 4.0;

  IKnobControl(IPlugBase* plug, const IRECT& area, int paramIdx, int dragAxis = kVertical,
               double dragRatio = kDefaultDragRatio, const IChannelBlend& blend = IChannelBlend());

  void MouseDrag(int x, int y, int dX, int dY, MouseMods* mod) override;

  int DragAxis() const { return mDragAxis; }
  double DragRatio() const { return mDragRatio; }

protected:
  int mDragAxis;
  double mDragRatio; // larger is finer
};
