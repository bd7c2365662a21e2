#pragma once

#include "editor/IBitmapControl.h"

// A bitmap control that steps to its next frame on every click and wraps
// from the last to the first: two frames toggle 0.0 / 1.0, three cycle
// 0.0, 0.5, 1.0. A right click opens a value prompt instead.
// The value after one click on a switch of `frames` frames: one frame on,
// wrapping from the last frame to the first.
double NextSwitchValue(double value, int frames);

class ISwitchControl : public IBitmapControl
{
public:
  using IBitmapControl::IBitmapControl;

  void MouseDown(int x, int y, MouseMods* mod) override;
};
