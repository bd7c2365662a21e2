#include "controls/IKnobArcImg.h"

#include <cmath>
#include <mutex>
#include <utility>
#include <vector>

#include "controls/PassAreaGuard.h"
#include "core/NumericConversions.h"
#include "editor/IGraphics.h"

namespace
{
constexpr double kHalfDegree = 3.141592653589793 / 360.0;
constexpr double kDegree = 3.141592653589793 / 180.0;
constexpr double kOver360 = 0.002777777777777778; // 1 / 360
constexpr double kShiftScale = 4.319689898685965;

// The turning frames cut so far, one per knob image. Every knob of every
// editor in the process shows the same crop of the same cached image, so it
// is cut once (the image cache owns it) instead of once per knob and
// instance, which would grow the cache with every plug-in the host creates.
class TurningFrames
{
public:
  static TurningFrames& Instance()
  {
    static TurningFrames frames;
    return frames;
  }

  // [UI thread of any editor; own mutex]
  IBitmap Find(const IBitmap& knob, int width, IGraphics* graphics)
  {
    std::lock_guard<std::mutex> guard(mLock);
    for (const auto& entry : mCuts)
      if (entry.first == knob.mData && entry.second.W == width && entry.second.H == knob.H) return entry.second;
    const IRECT crop(0, 0, width, knob.H);
    IBitmap cut = graphics->CutBitmap(&knob, &crop);
    if (cut.mData) mCuts.emplace_back(knob.mData, cut);
    return cut;
  }

private:
  std::mutex mLock;
  std::vector<std::pair<const LICE_IBitmap*, IBitmap>> mCuts;
};
} // namespace

IKnobArcImg::IKnobArcImg(IPlugBase* plug, int paramIdx, int cx, int cy, const IText& labelStyle,
                         const IColor& ringColor, float radius, float arcWidth, int labelGap, int labelMode,
                         int margin, int maxAngle, double gearing, int dragAxis, const IBitmap& knobImage)
    : IKnobArc(plug, paramIdx, cx, cy, labelStyle, ringColor, radius, arcWidth, labelGap, labelMode, margin,
               maxAngle, gearing, dragAxis),
      mValueText(labelStyle),
      mKnobImage(knobImage),
      mImgBlend(IChannelBlend::kBlendNone, 1.0f)
{
}

float IKnobArcImg::RingStartAngle(int maxAngle)
{
  return static_cast<float>(-(maxAngle - maxAngle / 50) * kHalfDegree);
}

float IKnobArcImg::RingEndAngle(double v, int maxAngle)
{
  return static_cast<float>(((v - 1.0) * 0.02 + 1.0) * maxAngle * (v - 0.5) * kDegree);
}

double IKnobArcImg::ImageAngle(double v, int maxAngle)
{
  // Half the sweep, as the single-precision factor the rotation is given.
  const float halfSweep = static_cast<float>(maxAngle * 3.141592653589793 * kOver360);
  return (2.0 * v - 1.0) * halfSweep;
}

float IKnobArcImg::SourceShift(double v)
{
  // Bilinear sampling of a turned image blurs it; shifting the source by up
  // to most of a pixel towards the ends keeps the pointer on the ring.
  return static_cast<float>(-std::sin(std::fabs(v - 0.5) * kShiftScale));
}

int IKnobArcImg::CentreX() const
{
  return mImgMargin + mArea.L + RoundHalfAwayToInt32(mImgRadius + mImgArcWidth);
}

int IKnobArcImg::CentreY() const
{
  return mImgMargin + mArea.T + RoundHalfAwayToInt32(mImgRadius + mImgArcWidth);
}

void IKnobArcImg::EnsureTurningFrame(IGraphics* graphics)
{
  if (mImageStrip.mData || !mKnobImage.mData) return;
  mImageStrip = TurningFrames::Instance().Find(mKnobImage, RoundHalfAwayToInt32(mKnobImage.W * 0.5), graphics);
}

bool IKnobArcImg::Paint(IGraphics* graphics)
{
  const PassAreaGuard guard(graphics, PassAreaGuard::WithText(mArea));
  const int cx = CentreX();
  const int cy = CentreY();

  if (mImgRadius < mImgRadius + mImgArcWidth)
    DrawRing(graphics, cx - 0.2f, cy - 0.2f, mImgRadius, mImgArcWidth, RingStartAngle(mImgMaxAngle),
             RingEndAngle(mControlValue, mImgMaxAngle));

  mBlendMode = IChannelBlend(IChannelBlend::kBlendNone, 1.0f);
  mImgBlend = IChannelBlend(IChannelBlend::kBlendNone, mImgWeight);

  const int w = mKnobImage.W;
  const int h = mKnobImage.H;
  const double angle = ImageAngle(mControlValue, mImgMaxAngle);
  const float shift = SourceShift(mControlValue);
  if (mKnobImage.N == 2)
  {
    const IRECT face(RoundHalfAwayToInt32(cx - w * 0.25), RoundHalfAwayToInt32(cy - h * 0.5),
                     RoundHalfAwayToInt32(cx + w * 0.25), RoundHalfAwayToInt32(cy + h * 0.5));
    graphics->BlitBitmap(&mKnobImage, &face, 2, &mBlendMode, false);
    EnsureTurningFrame(graphics);
    graphics->BlitRotated(&mImageStrip, cx, cy, angle, &mImgBlend, shift, shift);
  }
  else if (mKnobImage.N == 3)
  {
    const IRECT face(RoundHalfAwayToInt32(cx - w * 0.5), RoundHalfAwayToInt32(cy - h * 0.5),
                     RoundHalfAwayToInt32(cx + w * 0.5), RoundHalfAwayToInt32(cy + h * 0.5));
    graphics->BlitBitmap(&mKnobImage, &face, 1, &mBlendMode, false);
  }
  else
  {
    graphics->BlitRotated(&mKnobImage, cx, cy, angle, &mImgBlend, shift, shift);
  }

  // IKnobArc's read-out; this class's own ring replaces IKnobArc's.
  mDrawArc = false;
  DrawReadoutAndRing(graphics);
  return true;
}
