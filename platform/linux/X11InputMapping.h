#pragma once

#include <cstdint>

#include "editor/MouseMods.h"
#include "platform/linux/DrawnValuePrompt.h"

// How X11 input becomes editor input: pure functions of the event fields, so
// they are tested without a server.

// X button numbers.
constexpr unsigned kX11ButtonLeft = 1;
constexpr unsigned kX11ButtonMiddle = 2;
constexpr unsigned kX11ButtonRight = 3;
constexpr unsigned kX11WheelUp = 4;
constexpr unsigned kX11WheelDown = 5;

// The editor's key code (editor/KeyCodes.h) for a key symbol, or -1 for a
// key the editor is not given: space, the four arrows, the digits of the
// main keyboard and the letters (either case), as on the other platforms.
int EditorKeyForKeySym(unsigned long keysym);

// What a key does in a value prompt; kText for a printable character, which
// the caller passes as text.
PromptKey PromptKeyForKeySym(unsigned long keysym);

// Buttons and modifiers of a pointer event. `state` is the event's state
// field, which X gives as it was just before the event; `pressed` and
// `released` name the button this event presses or releases (0 for none),
// so the result holds the state after the event, as the editor expects.
MouseMods MouseModsFor(unsigned state, unsigned pressed, unsigned released);

// The wheel notches of a button press: +1 away from the user (button 4), -1
// towards (5), 0 for everything else (sideways scrolling 6 and 7 included).
int WheelNotchesFor(unsigned button);

// Tells a left press that completes a double click from any other: the
// second press within kIntervalMs of the first and within kSlop pixels of
// it. The press after a double click starts afresh. Times are the server's
// millisecond clock, which wraps.
class DoubleClickDetector
{
public:
  static constexpr uint32_t kIntervalMs = 400;
  static constexpr int kSlop = 4;

  // A left press: true when it completes a double click.
  bool LeftPress(uint32_t time, int x, int y);
  // Any other press breaks a pending double click.
  void OtherPress() { mArmed = false; }

private:
  bool mArmed = false;
  uint32_t mTime = 0;
  int mX = 0;
  int mY = 0;
};
