#include "editor/IBitmapControl.h"

#include "editor/IGraphics.h"

IBitmapControl::IBitmapControl(IPlugBase* plug, const IRECT& area, int paramIdx, const IBitmap& image,
                               bool framesVertical, const IChannelBlend& blend)
    : IControl(plug, area, paramIdx, blend), mFramesVertical(framesVertical), mImage(image)
{
}

IBitmapControl::IBitmapControl(IPlugBase* plug, int x, int y, int paramIdx, const IBitmap& image,
                               bool framesVertical)
    : IBitmapControl(plug, FrameRect(x, y, image, framesVertical), paramIdx, image, framesVertical)
{
}

IRECT IBitmapControl::FrameRect(int x, int y, const IBitmap& image, bool framesVertical)
{
  const int n = image.N > 1 ? image.N : 1;
  const int w = framesVertical ? image.W : static_cast<int>(static_cast<double>(image.W) / n + 0.5);
  const int h = framesVertical ? static_cast<int>(static_cast<double>(image.H) / n + 0.5) : image.H;
  return IRECT(x, y, x + w, y + h);
}

int IBitmapControl::FrameForValue() const
{
  const int n = mImage.N;
  if (n < 2) return 1;
  const int frame = static_cast<int>((n - 1) * mControlValue + 0.5) + 1;
  return frame < 1 ? 1 : (frame > n ? n : frame);
}

bool IBitmapControl::Paint(IGraphics* graphics)
{
  graphics->BlitBitmap(&mImage, &mArea, FrameForValue(), &mBlendMode, mFramesVertical);
  return true;
}
