#include "editor/ISwitchControl.h"

namespace
{
// Steps of 1 / (N - 1) add up to slightly more than 1.0 on the last frame;
// anything beyond this is past the last frame.
constexpr double kWrapAbove = 1.001;
} // namespace

double NextSwitchValue(double value, int frames)
{
  value += frames < 2 ? 1.0 : 1.0 / (frames - 1);
  return value > kWrapAbove ? 0.0 : value;
}

void ISwitchControl::MouseDown(int, int, MouseMods* mod)
{
  if (mod && mod->mRight)
  {
    PromptForValue();
  }
  else
  {
    mControlValue = NextSwitchValue(mControlValue, mImage.N);
  }
  MarkDirty(true);
}
