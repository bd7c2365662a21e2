#include "controls/IKnobArc.h"

#include "controls/ParamReadout.h"
#include "controls/PassAreaGuard.h"
#include "core/NumericConversions.h"
#include "editor/IGraphics.h"

namespace
{
constexpr double kHalfDegree = 0.008726646259971648;   // pi / 360
constexpr double kDegree = 0.017453292519943295;       // pi / 180
constexpr float kRingStep = 0.3f;                      // pixels between the ring's arcs
constexpr int kUnitBesideWidth = 33;

// The ring's rectangle: margin, radius and width around the centre, with the
// label strip below in strip mode.
IRECT KnobRect(int cx, int cy, float radius, float width, int labelSize, int gap, int labelMode, int margin)
{
  const float extent = margin + radius + width;
  const float bottom = labelMode == IKnobArc::kLabelStrip ? cy + labelSize + gap + extent : cy + extent;
  return IRECT(RoundHalfAwayToInt32(cx - extent), RoundHalfAwayToInt32(cy - extent),
               RoundHalfAwayToInt32(cx + extent), RoundHalfAwayToInt32(bottom));
}
} // namespace

IKnobArc::IKnobArc(IPlugBase* plug, int paramIdx, int cx, int cy, const IText& labelStyle, const IColor& ringColor,
                   float radius, float arcWidth, int labelGap, int labelMode, int margin, int maxAngle,
                   double gearing, int dragAxis)
    : IKnobControl(plug, KnobRect(cx, cy, radius, arcWidth, labelStyle.mSize, labelGap, labelMode, margin),
                   paramIdx, dragAxis, gearing),
      mLabelText(labelStyle),
      mArcColor(ringColor),
      mLabelMode(static_cast<int16_t>(labelMode)),
      mMaxAngle(static_cast<int16_t>(maxAngle)),
      mLabelGap(static_cast<int16_t>(labelGap)),
      mMargin(static_cast<int16_t>(margin)),
      mRadius(radius),
      mArcWidth(arcWidth)
{
}

float IKnobArc::RingStartAngle(int maxAngle)
{
  return static_cast<float>(-(maxAngle - maxAngle / 75) * kHalfDegree);
}

float IKnobArc::RingEndAngle(double v, int maxAngle)
{
  // The factor shortens the sweep towards the low end so the empty ring
  // starts exactly where the start angle is.
  return static_cast<float>(((v - 1.0) * 0.013333333333333334 + 1.0) * maxAngle * (v - 0.5) * kDegree);
}

void IKnobArc::MouseDown(int, int, MouseMods* mod)
{
  if (mod && mod->mRight && !mPromptRequested)
  {
    if (!mNoPrompt)
    {
      // Flags first: a host whose prompt is modal closes it inside the call.
      // A prompt that never opened never closes: nothing is left waiting.
      mPromptOpen = true;
      mPromptRequested = true;
      if (!PromptForValue()) mPromptOpen = mPromptRequested = false;
    }
  }
  else
  {
    mPromptRequested = false;
  }
  MarkDirty(true);
}

void IKnobArc::DrawRing(IGraphics* graphics, float cx, float cy, float radius, float width, float startAngle,
                        float endAngle)
{
  // Replace, not blend: overlapping antialiased arcs would otherwise darken
  // where their edges meet.
  const IChannelBlend replace(IChannelBlend::kBlendClobber, 1.0f);
  const float outer = radius + width;
  for (float r = radius; r < outer; r += kRingStep)
    graphics->StrokeArc(&mArcColor, cx, cy, r, startAngle, endAngle, &replace, true);
}

bool IKnobArc::Paint(IGraphics* graphics)
{
  const PassAreaGuard guard(graphics, PassAreaGuard::WithText(mArea));
  DrawReadoutAndRing(graphics);
  return true;
}

void IKnobArc::DrawReadoutAndRing(IGraphics* graphics)
{
  // The prompt has closed since the last draw.
  if (mPromptRequested && !mPromptOpen) mPromptRequested = false;

  if (mLabelMode < kLabelOff)
  {
    const bool withUnit = mLabelMode != kLabelValueOnly;
    const ParamReadout readout(mPlug, mParamIndex, withUnit);
    const int size = mLabelText.mSize;
    if (!readout.Empty() && size > 0)
    {
      mLabelText.mAlign = IText::kAlignCenter;
      const float cm = (mArea.T + mArea.B) / 2.0f;
      const int half = size / 2;
      const int gap = mLabelGap;
      switch (mLabelMode)
      {
      case kLabelCentred:
      case kLabelValueOnly:
        if (!mPromptRequested)
        {
          mLabelRECT = IRECT(mArea.L, RoundHalfAwayToInt32(cm + gap - half), mArea.R, mArea.B);
          graphics->DrawTextIn(&mLabelText, mLabelMode == kLabelCentred ? readout.Text() : readout.Value(),
                               &mLabelRECT);
        }
        break;
      case kLabelTwoLines:
        if (!mPromptRequested)
        {
          IRECT valueRect(mArea.L, RoundHalfAwayToInt32(cm + 4 - size), mArea.R, mArea.B);
          graphics->DrawTextIn(&mLabelText, readout.Value(), &valueRect);
          mLabelRECT = IRECT(mArea.L, RoundHalfAwayToInt32(cm + gap), mArea.R, mArea.B);
          graphics->DrawTextIn(&mLabelText, readout.Unit(), &mLabelRECT);
        }
        break;
      case kLabelUnitBeside:
      {
        const int top = RoundHalfAwayToInt32(cm - half);
        if (!mPromptRequested)
        {
          IRECT valueRect(mArea.L, top, mArea.R, mArea.B);
          graphics->DrawTextIn(&mLabelText, readout.Value(), &valueRect);
        }
        // The unit stays beside the prompt's text field.
        IText unitStyle = mLabelText;
        unitStyle.mAlign = IText::kAlignNear;
        mLabelRECT = IRECT(mArea.R + gap, top, mArea.R + gap + kUnitBesideWidth, mArea.B);
        graphics->DrawTextIn(&unitStyle, readout.Unit(), &mLabelRECT);
        mLabelText.mCached = unitStyle.mCached;
        break;
      }
      case kLabelStrip:
        mLabelRECT = IRECT(mArea.L, mArea.B - size, mArea.R, mArea.B);
        graphics->DrawTextIn(&mLabelText, readout.Text(), &mLabelRECT);
        break;
      default:
        break;
      }
    }
  }

  if (mDrawArc && mArcWidth > 0.0f)
  {
    const float cx = mMargin + mArea.L + mArcWidth + mRadius;
    const float cy = mMargin + mArea.T + mArcWidth + mRadius;
    DrawRing(graphics, cx, cy, mRadius, mArcWidth, RingStartAngle(mMaxAngle),
             RingEndAngle(mControlValue, mMaxAngle));
  }
}
