#pragma once

#include <cstdint>

#include "controls/IKnobArc.h"
#include "editor/IBitmap.h"

// The knob of the effect's editor: a value ring, a knob image turned with
// the value (its pointer frame rotated over a fixed frame) and the read-out
// of IKnobArc. The image's first frame is cropped once and shared.
//
// Knob images: two frames side by side (first: the turning part, second: the
// fixed face drawn underneath), three frames (the first drawn unturned, no
// rotation), or a single picture turned as a whole.
class IKnobArcImg : public IKnobArc
{
public:
  IKnobArcImg(IPlugBase* plug, int paramIdx, int cx, int cy, const IText& labelStyle, const IColor& ringColor,
              float radius, float arcWidth, int labelGap, int labelMode, int margin, int maxAngle, double gearing,
              int dragAxis, const IBitmap& knobImage);

  bool Paint(IGraphics* graphics) override;

  // The ring geometry this class draws with (the layout sets them to the
  // values given at construction) and the rotated image's weight.
  void SetImageRing(float arcWidth, int margin)
  {
    mImgArcWidth = arcWidth;
    mImgMargin = static_cast<int16_t>(margin);
  }
  void SetImageWeight(float weight) { mImgWeight = weight; }

  // Ring angles of this class, radians: from -147 degrees (sweep 300) to
  // +150; at v = 0 the end equals the start.
  static float RingStartAngle(int maxAngle);
  static float RingEndAngle(double v, int maxAngle);
  // The image's rotation: -maxAngle/2 at v = 0 to +maxAngle/2 at v = 1.
  static double ImageAngle(double v, int maxAngle);
  // The source shift of the rotated image: 0 in the middle, about -0.83
  // pixels at either end.
  static float SourceShift(double v);

  // The centre of ring and image, in editor pixels.
  int CentreX() const;
  int CentreY() const;

private:
  // The turning frame, cropped from the knob image once per process.
  void EnsureTurningFrame(IGraphics* graphics);

  IText mValueText;
  IBitmap mKnobImage;
  int16_t mImgMaxAngle = 300;
  int16_t mImgMargin = 0;
  float mImgRadius = 21.0f;
  float mImgArcWidth = 0.0f;
  float mImgWeight = 1.0f;
  IChannelBlend mImgBlend;
};
