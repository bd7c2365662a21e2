#include "controls/IButton.h"

#include "editor/IGraphics.h"

IButton::IButton(IPlugBase* plug, int paramIdx, int x, int y, const IBitmap& image)
    : IControl(plug, IRECT(x, y, x + image.W, y + image.H / (image.N > 0 ? image.N : 1)), paramIdx), mImage(image)
{
}

void IButton::Toggle(MouseMods* mod)
{
  if (mod && mod->mLeft) mControlValue = mControlValue <= 0.5 ? 1.0 : 0.0;
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
