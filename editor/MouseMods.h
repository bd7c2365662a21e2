#pragma once

// Buttons and modifier keys of one mouse event, filled by the platform host.
struct MouseMods
{
  bool mLeft = false;   // left button down
  bool mRight = false;  // right button down
  bool mShift = false;
  bool mCtrl = false;
  bool mAlt = false;

  MouseMods() = default;
  MouseMods(bool left, bool right, bool shift = false, bool ctrl = false, bool alt = false)
      : mLeft(left), mRight(right), mShift(shift), mCtrl(ctrl), mAlt(alt)
  {
  }

  // Shift and Control both ask for finer steps.
  bool Fine() const { return mShift || mCtrl; }
};
