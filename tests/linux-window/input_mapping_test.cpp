// How X11 input becomes editor input, without a server.
// gtest first: Xlib's macros (None, Bool) would break its templates.
#include <gtest/gtest.h>

#include <X11/X.h>
#include <X11/keysym.h>

#include "editor/KeyCodes.h"
#include "platform/linux/X11InputMapping.h"

TEST(X11InputMapping, KeysTheEditorIsGivenAndNoOthers)
{
  EXPECT_EQ(EditorKeyForKeySym(XK_space), kKeySpace);
  EXPECT_EQ(EditorKeyForKeySym(XK_Right), kKeyRight);
  EXPECT_EQ(EditorKeyForKeySym(XK_7), 12);
  EXPECT_EQ(EditorKeyForKeySym(XK_q), 31);
  EXPECT_EQ(EditorKeyForKeySym(XK_Q), 31);
  EXPECT_EQ(EditorKeyForKeySym(XK_Z), kKeyZ);
  for (unsigned long other : {XK_F5, XK_KP_7, XK_Return, XK_Shift_L, XK_bracketleft, XK_at})
    EXPECT_EQ(EditorKeyForKeySym(other), -1) << other;
}

TEST(X11InputMapping, ButtonsAndModifiersAsTheyAreAfterTheEvent)
{
  const MouseMods press = MouseModsFor(ShiftMask | Mod1Mask, 1, 0);
  EXPECT_TRUE(press.mLeft && press.mShift && press.mAlt);
  EXPECT_FALSE(press.mRight || press.mCtrl);
  // X reports a release with its own button still down.
  const MouseMods release = MouseModsFor(Button1Mask | Button3Mask | ControlMask, 0, 1);
  EXPECT_FALSE(release.mLeft);
  EXPECT_TRUE(release.mRight && release.mCtrl);
  EXPECT_EQ(WheelNotchesFor(4), 1);
  EXPECT_EQ(WheelNotchesFor(5), -1);
  EXPECT_EQ(WheelNotchesFor(6), 0);
  EXPECT_EQ(WheelNotchesFor(7), 0);
}

TEST(X11InputMapping, DoubleClicksByTimeAndPlace)
{
  DoubleClickDetector clicks;
  EXPECT_FALSE(clicks.LeftPress(1000, 10, 10));
  EXPECT_TRUE(clicks.LeftPress(1400, 14, 6));
  // The third press starts afresh.
  EXPECT_FALSE(clicks.LeftPress(1500, 14, 6));
  EXPECT_FALSE(clicks.LeftPress(1901, 14, 6));  // too late
  EXPECT_FALSE(clicks.LeftPress(1950, 19, 6));  // too far
  clicks.OtherPress();
  EXPECT_FALSE(clicks.LeftPress(2000, 19, 6));
  // The server's clock wraps.
  EXPECT_FALSE(clicks.LeftPress(0xFFFFFF00u, 5, 5));
  EXPECT_TRUE(clicks.LeftPress(0x40u, 5, 5));
}
