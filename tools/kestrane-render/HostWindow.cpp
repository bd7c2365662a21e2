#include "tools/kestrane-render/HostWindow.h"

#include <X11/Xutil.h>

#include "raster/LICE_MemBitmap.h"
#include "tools/kestrane-render/ToolError.h"

HostWindow::HostWindow(int width, int height, const std::string& title) : mWidth(width), mHeight(height)
{
  mDisplay = XOpenDisplay(nullptr);
  if (!mDisplay) throw ToolError("cannot open the X display (is DISPLAY set?): --gui needs a desktop or Xvfb");
  const int screen = DefaultScreen(mDisplay);
  mWindow = XCreateSimpleWindow(mDisplay, RootWindow(mDisplay, screen), 0, 0, static_cast<unsigned>(width),
                                static_cast<unsigned>(height), 0, BlackPixel(mDisplay, screen),
                                BlackPixel(mDisplay, screen));
  XStoreName(mDisplay, mWindow, title.c_str());
  XClassHint hint{const_cast<char*>("kestrane-render"), const_cast<char*>("kestrane-render")};
  XSetClassHint(mDisplay, mWindow, &hint);
  // The editor has one size.
  XSizeHints* size = XAllocSizeHints();
  size->flags = PMinSize | PMaxSize;
  size->min_width = size->max_width = width;
  size->min_height = size->max_height = height;
  XSetWMNormalHints(mDisplay, mWindow, size);
  XFree(size);
  mDeleteWindow = XInternAtom(mDisplay, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(mDisplay, mWindow, &mDeleteWindow, 1);
  XSelectInput(mDisplay, mWindow, StructureNotifyMask);
  XMapWindow(mDisplay, mWindow);
  // Mapped before the plug-in puts its window inside.
  for (XEvent event;;)
  {
    XNextEvent(mDisplay, &event);
    if (event.type == MapNotify && event.xmap.window == mWindow) break;
  }
}

HostWindow::~HostWindow()
{
  XDestroyWindow(mDisplay, mWindow);
  XCloseDisplay(mDisplay);
}

bool HostWindow::HandleEvents()
{
  while (XPending(mDisplay) > 0)
  {
    XEvent event;
    XNextEvent(mDisplay, &event);
    if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == mDeleteWindow) mOpen = false;
  }
  return mOpen;
}

bool HostWindow::Capture(LICE_MemBitmap* picture)
{
  XSync(mDisplay, False);
  XImage* image = XGetImage(mDisplay, mWindow, 0, 0, static_cast<unsigned>(mWidth), static_cast<unsigned>(mHeight),
                            AllPlanes, ZPixmap);
  if (!image) return false;
  picture->resize(mWidth, mHeight);
  LICE_pixel* bits = picture->getBits();
  const unsigned long masks[3] = {image->red_mask, image->green_mask, image->blue_mask};
  // Each channel's field of the pixel, scaled to 8 bits.
  int shifts[3] = {};
  unsigned long maxima[3] = {};
  for (int c = 0; c < 3; ++c)
  {
    while (masks[c] && !((masks[c] >> shifts[c]) & 1UL)) ++shifts[c];
    maxima[c] = masks[c] >> shifts[c];
  }
  auto channel = [&](unsigned long p, int c) {
    return maxima[c] ? static_cast<unsigned>(((p & masks[c]) >> shifts[c]) * 255UL / maxima[c]) : 0U;
  };
  for (int y = 0; y < mHeight; ++y)
    for (int x = 0; x < mWidth; ++x)
    {
      const unsigned long p = XGetPixel(image, x, y);
      bits[static_cast<long>(y) * picture->getRowSpan() + x] = LICE_RGBA(channel(p, 0), channel(p, 1), channel(p, 2), 255);
    }
  XDestroyImage(image);
  return true;
}
