#include "platform/linux/X11InputMapping.h"

#include <cstdlib>

#include <X11/X.h>
#include <X11/keysym.h>

#include "editor/KeyCodes.h"

int EditorKeyForKeySym(unsigned long keysym)
{
  switch (keysym)
  {
  case XK_space:
    return kKeySpace;
  case XK_Up:
    return kKeyUp;
  case XK_Down:
    return kKeyDown;
  case XK_Left:
    return kKeyLeft;
  case XK_Right:
    return kKeyRight;
  default:
    break;
  }
  if (keysym >= XK_0 && keysym <= XK_9) return kKeyDigit0 + static_cast<int>(keysym - XK_0);
  if (keysym >= XK_a && keysym <= XK_z) return kKeyA + static_cast<int>(keysym - XK_a);
  if (keysym >= XK_A && keysym <= XK_Z) return kKeyA + static_cast<int>(keysym - XK_A);
  return -1;
}

PromptKey PromptKeyForKeySym(unsigned long keysym)
{
  switch (keysym)
  {
  case XK_Return:
  case XK_KP_Enter:
    return PromptKey::kReturn;
  case XK_Escape:
    return PromptKey::kEscape;
  case XK_BackSpace:
    return PromptKey::kBackspace;
  case XK_Delete:
  case XK_KP_Delete:
    return PromptKey::kDelete;
  case XK_Left:
  case XK_KP_Left:
    return PromptKey::kLeft;
  case XK_Right:
  case XK_KP_Right:
    return PromptKey::kRight;
  case XK_Up:
  case XK_KP_Up:
    return PromptKey::kUp;
  case XK_Down:
  case XK_KP_Down:
    return PromptKey::kDown;
  case XK_Home:
  case XK_KP_Home:
    return PromptKey::kHome;
  case XK_End:
  case XK_KP_End:
    return PromptKey::kEnd;
  default:
    return PromptKey::kText;
  }
}

MouseMods MouseModsFor(unsigned state, unsigned pressed, unsigned released)
{
  MouseMods mods;
  mods.mLeft = ((state & Button1Mask) || pressed == kX11ButtonLeft) && released != kX11ButtonLeft;
  mods.mRight = ((state & Button3Mask) || pressed == kX11ButtonRight) && released != kX11ButtonRight;
  mods.mShift = (state & ShiftMask) != 0;
  mods.mCtrl = (state & ControlMask) != 0;
  mods.mAlt = (state & Mod1Mask) != 0;
  return mods;
}

int WheelNotchesFor(unsigned button)
{
  if (button == kX11WheelUp) return 1;
  if (button == kX11WheelDown) return -1;
  return 0;
}

bool DoubleClickDetector::LeftPress(uint32_t time, int x, int y)
{
  const bool isDouble = mArmed && static_cast<uint32_t>(time - mTime) <= kIntervalMs &&
                        std::abs(x - mX) <= kSlop && std::abs(y - mY) <= kSlop;
  mArmed = !isDouble;
  mTime = time;
  mX = x;
  mY = y;
  return isDouble;
}
