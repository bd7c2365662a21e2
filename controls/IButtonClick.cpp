#include "controls/IButtonClick.h"

#include <utility>

IButtonClick::IButtonClick(IPlugBase* plug, int paramIdx, int x, int y, const IBitmap& image, ClickFlag clickFlag)
    : IButton(plug, paramIdx, x, y, image), mClickFlag(std::move(clickFlag))
{
}

void IButtonClick::MouseDown(int, int, MouseMods* mod)
{
  Toggle(mod);
  if (mClickFlag) mClickFlag();
  MarkDirty(true);
}
