#pragma once

#include <memory>

#include <X11/Xlib.h>

#include "core/IRECT.h"
#include "platform/linux/X11ImageBuffer.h"

// The editor's X11 window: its own connection to the X server (never the
// host's), a child window of the host's window with the editor's size, and
// the image the picture reaches the screen through. Everything made here is
// undone by the destructor, which also copes with a host that has already
// destroyed its window (our child went with it) or lost the server.
//
// Threads: the UI thread only (an Xlib connection is not shared between
// threads).
class X11EditorWindow
{
public:
  // Opens the connection named by DISPLAY and creates the child. Check
  // Valid(): false when there is no server, the parent does not exist or no
  // image can be made.
  X11EditorWindow(unsigned long parent, int width, int height, bool trySharedMemory);
  ~X11EditorWindow();

  X11EditorWindow(const X11EditorWindow&) = delete;
  X11EditorWindow& operator=(const X11EditorWindow&) = delete;

  bool Valid() const { return mWindow != 0 && mImage && mImage->Valid(); }
  // False once the window was destroyed by someone else or the connection
  // broke: requests would only raise errors.
  bool Alive() const;
  Window Id() const { return mWindow; }
  Display* Connection() const { return mDisplay; }
  bool UsesSharedMemory() const { return mImage && mImage->UsesSharedMemory(); }

  // The next event waiting on the connection, without blocking; false when
  // none. Notices our window's destruction on the way.
  bool NextEvent(XEvent* event);
  // True when the next waiting event is a pointer motion of our window.
  bool MotionFollows();

  // The picture: rows written into the image, then a rectangle put on the
  // window.
  X11ImageBuffer& Image() { return *mImage; }
  void Put(const IRECT& r);

  // Keyboard focus while a value prompt takes typing, and back to where it
  // was when it closes.
  void TakeKeyboardFocus();
  void ReturnKeyboardFocus();
  // Where the pointer is, in window coordinates, and the modifier and
  // button state; false when it is on another screen.
  bool PointerPosition(int* x, int* y, unsigned* state);

private:
  Display* mDisplay = nullptr;
  bool mTrapped = false;
  Window mWindow = 0;
  GC mGC = nullptr;
  std::unique_ptr<X11ImageBuffer> mImage;
  bool mDestroyed = false;
  Window mFocusBefore = 0;
  bool mHoldsFocus = false;
};
