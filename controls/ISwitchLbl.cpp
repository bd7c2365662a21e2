#include "controls/ISwitchLbl.h"

#include "controls/ParamReadout.h"
#include "controls/PassAreaGuard.h"
#include "core/NumericConversions.h"
#include "editor/IGraphics.h"
#include "editor/ISwitchControl.h"

namespace
{
int FrameExtent(int whole, int n, bool divided)
{
  return divided && n > 0 ? RoundHalfAwayToInt32(static_cast<double>(whole) / n) : whole;
}
} // namespace

ISwitchLbl::ISwitchLbl(IPlugBase* plug, int paramIdx, int x, int y, const IBitmap& image, const IText& labelStyle,
                       int labelGap, int width, bool framesSideBySide)
    : IControl(plug,
               IRECT(x, y, x + (width ? width : FrameExtent(image.W, image.N, framesSideBySide)),
                     y + labelGap + labelStyle.mSize + FrameExtent(image.H, image.N, !framesSideBySide)),
               paramIdx),
      mLabelText(labelStyle),
      mImage(image),
      mLabelGap(labelGap),
      mWidth(width),
      mFramesVertical(!framesSideBySide)
{
}

int ISwitchLbl::FrameWidth() const
{
  return FrameExtent(mImage.W, mImage.N, !mFramesVertical);
}

int ISwitchLbl::FrameHeight() const
{
  return FrameExtent(mImage.H, mImage.N, mFramesVertical);
}

void ISwitchLbl::MouseDown(int, int, MouseMods* mod)
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

int ISwitchLbl::FrameForValue() const
{
  const int n = mImage.N;
  if (n < 2) return 1;
  const int frame = TruncToInt32((n - 1) * mControlValue + 0.5) + 1;
  return frame < 1 ? 1 : (frame > n ? n : frame);
}

IRECT ISwitchLbl::ImageRect() const
{
  const int e = FrameWidth();
  const int f = FrameHeight();
  const int h = mWidth ? RoundHalfAwayToInt32((mWidth - e) * 0.5) : 0;
  return IRECT(mArea.L + h, mArea.T, mArea.L + h + e, mArea.T + f);
}

bool ISwitchLbl::Paint(IGraphics* graphics)
{
  const PassAreaGuard guard(graphics, PassAreaGuard::WithText(mArea));
  const ParamReadout readout(mPlug, mParamIndex, true);
  const int size = mLabelText.mSize;
  if (!readout.Empty() && size > 0)
  {
    mLabelText.mAlign = IText::kAlignCenter;
    const IRECT strip(mArea.L, mArea.B - size, mArea.R, mArea.B);
    graphics->DrawTextIn(&mLabelText, readout.Text(), &strip);
  }
  const IRECT image = ImageRect();
  graphics->BlitBitmap(&mImage, &image, FrameForValue(), &mBlendMode, mFramesVertical);
  return true;
}
