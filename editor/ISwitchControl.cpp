#include "editor/ISwitchControl.h"

namespace
{
// Steps of 1 / (N - 1) add up to slightly more than 1.0 on the last frame;
// anything beyond this is past the last frame.
constexpr double kWrapAbove = 1.001;
} // namespace

void ISwitchControl::MouseDown(int, int, MouseMods* mod)
{
  if (mod && mod->mRight)
  {
    PromptForValue();
  }
  else
  {
    mControlValue += mImage.N < 2 ? 1.0 : 1.0 / (mImage.N - 1);
    if (mControlValue > kWrapAbove) mControlValue = 0.0;
  }
  MarkDirty(true);
}
