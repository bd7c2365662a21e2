#pragma once

#include <cstdint>

#include "editor/IColor.h"
#include "editor/IKnobControl.h"
#include "editor/IText.h"

// A knob drawn as a coloured value ring (concentric antialiased arcs) with a
// value read-out placed by a label mode. Dragging, the wheel and double
// clicks behave as IKnobControl's; a right click asks for a typed value.
//
// The ring sweeps mMaxAngle degrees around the top of the knob; at value 0
// it is empty (start and end angles equal).
class IKnobArc : public IKnobControl
{
public:
  // Where the read-out goes.
  enum ELabelMode
  {
    kLabelNone = 0,
    kLabelCentred = 1,      // value and unit over the knob's middle
    kLabelTwoLines = 2,     // value above the middle, unit below
    kLabelUnitBeside = 3,   // value over the middle, unit to the right
    kLabelValueOnly = 4,    // value over the middle
    kLabelStrip = 5,        // value and unit in a strip under the knob
    kLabelOff = 6           // this and above: no read-out at all
  };

  // The rectangle follows from the centre (cx, cy): margin, radius and ring
  // width on every side, plus label size and gap below for kLabelStrip.
  IKnobArc(IPlugBase* plug, int paramIdx, int cx, int cy, const IText& labelStyle, const IColor& ringColor,
           float radius, float arcWidth, int labelGap, int labelMode, int margin, int maxAngle, double gearing,
           int dragAxis);

  void MouseDown(int x, int y, MouseMods* mod) override;
  bool Paint(IGraphics* graphics) override;

  // Ring angles in radians (0 up, clockwise) for value v and sweep maxAngle
  // degrees. At v = 0 the end equals the start.
  static float RingStartAngle(int maxAngle);
  static float RingEndAngle(double v, int maxAngle);

  // The rectangle the last read-out was drawn in.
  const IRECT& LabelRect() const { return mLabelRECT; }
  bool PromptRequested() const { return mPromptRequested; }
  const IColor& ArcColor() const { return mArcColor; }

protected:
  // The read-out, then the ring unless mDrawArc is cleared.
  void DrawReadoutAndRing(IGraphics* graphics);
  // Draws the ring as arcs from radius to radius + width, 0.3 pixels apart.
  void DrawRing(IGraphics* graphics, float cx, float cy, float radius, float width, float startAngle,
                float endAngle);

  IText mLabelText;
  IColor mArcColor;
  bool mPromptRequested = false;
  bool mDrawArc = true;
  int16_t mLabelMode;
  int16_t mMaxAngle;
  int16_t mLabelGap;
  int16_t mMargin;
  float mRadius;
  float mArcWidth;
  IRECT mLabelRECT;
};
