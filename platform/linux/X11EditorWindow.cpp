#include "platform/linux/X11EditorWindow.h"

#include "platform/linux/X11ErrorTrap.h"

namespace
{
constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                            LeaveWindowMask | StructureNotifyMask;
} // namespace

X11EditorWindow::X11EditorWindow(unsigned long parent, int width, int height, bool trySharedMemory)
{
  if (parent == 0 || width <= 0 || height <= 0) return;
  mDisplay = XOpenDisplay(nullptr);
  if (!mDisplay) return;
  mTrapped = x11_error_trap::Register(mDisplay);
  if (!mTrapped) return;

  const int screen = DefaultScreen(mDisplay);
  Visual* visual = DefaultVisual(mDisplay, screen);
  const int depth = DefaultDepth(mDisplay, screen);
  // Our own visual, colormap and border, so the child fits under a parent of
  // any depth; no background, so the server never clears what we drew.
  XSetWindowAttributes attributes{};
  attributes.background_pixmap = None;
  attributes.border_pixel = 0;
  attributes.colormap = DefaultColormap(mDisplay, screen);
  attributes.event_mask = kEventMask;
  mWindow = XCreateWindow(mDisplay, static_cast<Window>(parent), 0, 0, static_cast<unsigned>(width),
                          static_cast<unsigned>(height), 0, depth, InputOutput, visual,
                          CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask, &attributes);
  XSync(mDisplay, False);
  // A parent that does not exist (or a host that handed us something else)
  // shows as an error here, not as a crash.
  if (x11_error_trap::TakeErrorCount(mDisplay) != 0 || mWindow == 0)
  {
    mWindow = 0;
    return;
  }
  mGC = XCreateGC(mDisplay, mWindow, 0, nullptr);
  mImage = std::make_unique<X11ImageBuffer>(mDisplay, visual, depth, width, height, trySharedMemory);
  if (!mImage->Valid()) return;
  XMapWindow(mDisplay, mWindow);
  XFlush(mDisplay);
}

X11EditorWindow::~X11EditorWindow()
{
  if (mDisplay && !x11_error_trap::ConnectionLost(mDisplay))
  {
    ReturnKeyboardFocus();
    mImage.reset();
    if (mGC) XFreeGC(mDisplay, mGC);
    // Gone already when the host destroyed its window first; asking again
    // would only raise BadWindow.
    if (mWindow && !mDestroyed) XDestroyWindow(mDisplay, mWindow);
    XSync(mDisplay, False);
  }
  else
  {
    mImage.reset();
  }
  if (mDisplay)
  {
    if (mTrapped) x11_error_trap::Unregister(mDisplay);
    XCloseDisplay(mDisplay);
  }
}

bool X11EditorWindow::Alive() const
{
  return mWindow != 0 && !mDestroyed && !x11_error_trap::ConnectionLost(mDisplay);
}

bool X11EditorWindow::NextEvent(XEvent* event)
{
  if (!mDisplay || x11_error_trap::ConnectionLost(mDisplay) || XPending(mDisplay) <= 0) return false;
  XNextEvent(mDisplay, event);
  if (event->type == DestroyNotify && event->xdestroywindow.window == mWindow) mDestroyed = true;
  if (mImage) mImage->TakeCompletion(*event);
  return true;
}

bool X11EditorWindow::MotionFollows()
{
  if (!mDisplay || XPending(mDisplay) <= 0) return false;
  XEvent next;
  XPeekEvent(mDisplay, &next);
  return next.type == MotionNotify && next.xmotion.window == mWindow;
}

void X11EditorWindow::Put(const IRECT& r)
{
  if (Alive()) mImage->Put(mWindow, mGC, r);
}

void X11EditorWindow::TakeKeyboardFocus()
{
  if (!Alive() || mHoldsFocus) return;
  int revert = 0;
  XGetInputFocus(mDisplay, &mFocusBefore, &revert);
  XSetInputFocus(mDisplay, mWindow, RevertToParent, CurrentTime);
  // In effect before the next key reaches the server.
  XSync(mDisplay, False);
  mHoldsFocus = true;
}

void X11EditorWindow::ReturnKeyboardFocus()
{
  if (!mHoldsFocus) return;
  mHoldsFocus = false;
  if (!Alive()) return;
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(mDisplay, &focus, &revert);
  // Only when the focus is still ours: the user may have moved it since.
  if (focus != mWindow) return;
  if (mFocusBefore != None && mFocusBefore != PointerRoot)
    XSetInputFocus(mDisplay, mFocusBefore, RevertToParent, CurrentTime);
  else
    XSetInputFocus(mDisplay, mFocusBefore, RevertToNone, CurrentTime);
  XFlush(mDisplay);
}

bool X11EditorWindow::PointerPosition(int* x, int* y, unsigned* state)
{
  if (!Alive()) return false;
  Window root = 0;
  Window child = 0;
  int rootX = 0;
  int rootY = 0;
  return XQueryPointer(mDisplay, mWindow, &root, &child, &rootX, &rootY, x, y, state) == True;
}
