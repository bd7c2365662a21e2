#include "controls/IRadioButtons.h"

#include "core/NumericConversions.h"
#include "editor/IGraphics.h"

namespace
{
IRECT GroupRect(int x, int y, const IBitmap& image, bool wholeGroup, bool vertical)
{
  const int n = image.N > 0 ? image.N : 1;
  if (wholeGroup) return IRECT(x, y, x + image.W, y + image.H);
  if (vertical) return IRECT(x, y, x + image.W, y + image.H * n);
  return IRECT(x, y, x + image.W * n, y + image.H);
}
} // namespace

IRadioButtons::IRadioButtons(IPlugBase* plug, int paramIdx, int x, int y, const IBitmap& image, bool wholeGroup,
                             int direction, int size1, int size2, int size3)
    : IControl(plug, GroupRect(x, y, image, wholeGroup, direction != kHorizontal), paramIdx),
      mImage(image),
      mVertical(direction != kHorizontal),
      mWholeGroup(wholeGroup)
{
  const int n = image.N > 0 ? image.N : 1;
  const int axis = mVertical ? mArea.H() : mArea.W();
  const int share = axis / n;
  const int sizes[3] = {size1, size2, size3};
  const bool allEqual = size1 == 0 && size2 == 0 && size3 == 0;
  int pos = 0;
  for (int i = 0; i < n; ++i)
  {
    int size = wholeGroup ? share : (mVertical ? image.H : image.W);
    if (wholeGroup)
    {
      if (i == n - 1 && !allEqual)
        size = axis - pos; // the last button takes the rest
      else if (i < 3 && sizes[i] > 0)
        size = sizes[i];
    }
    const IRECT button = mVertical ? IRECT(mArea.L, mArea.T + pos, mArea.R, mArea.T + pos + size)
                                   : IRECT(mArea.L + pos, mArea.T, mArea.L + pos + size, mArea.B);
    mButtons.Add(button);
    pos += size;
  }
}

void IRadioButtons::MouseDown(int x, int y, MouseMods* mod)
{
  if (mod && mod->mLeft)
  {
    const int n = ButtonCount();
    for (int i = 0; i < n; ++i)
    {
      const IRECT& b = mButtons.Get()[i];
      if (b.L <= x && x <= b.R && b.T <= y && y <= b.B)
      {
        mControlValue = n > 1 ? static_cast<double>(i) / (n - 1) : 0.0;
        break;
      }
    }
  }
  else if (mod && mod->mRight && !mNoPrompt)
  {
    PromptForValue();
  }
  MarkDirty(true);
}

int IRadioButtons::SelectedButton() const
{
  const int n = ButtonCount();
  const int selected = RoundHalfAwayToInt32((n - 1) * mControlValue) + 1;
  if (selected < 1) return 1;
  return selected > n ? n : selected;
}

bool IRadioButtons::Paint(IGraphics* graphics)
{
  const IRECT* button = Button(SelectedButton() - 1);
  if (!button) return true;
  // From the group picture, the selected button's own part; a one-button
  // picture is the same for every button.
  int srcX = 0;
  int srcY = 0;
  if (mWholeGroup) (mVertical ? srcY : srcX) = mVertical ? button->T - mArea.T : button->L - mArea.L;
  graphics->BlitBitmap(&mImage, button, srcX, srcY, &mBlendMode);
  return true;
}
