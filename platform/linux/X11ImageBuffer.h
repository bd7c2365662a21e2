#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include "core/IRECT.h"
#include "raster/LICE_Pixel.h"

// The editor's picture as the X server takes it: an XImage of the window's
// size in the window's visual, put on screen a rectangle at a time. Over a
// local connection the image lives in memory shared with the server
// (MIT-SHM), so a put copies nothing through the socket; when the server
// does not offer the extension, or attaching fails (a remote display, a
// sandbox without shared memory), the image is plain client memory sent
// with XPutImage.
//
// A shared put returns at once: the server reads the pixels while it handles
// the request and says so with a completion event. The next write into the
// image (a tick later, normally long after) first makes sure that event has
// come, so the host's idle call never waits for a round trip to the server.
//
// Pixels arrive as 32-bit LICE pixels. On the usual 24-bit TrueColor visual
// (masks 0xFF0000, 0xFF00, 0xFF, 32 bits a pixel) rows are copied as they
// are; other TrueColor visuals are converted pixel by pixel.
//
// Threads: the UI thread, like the connection it uses.
class X11ImageBuffer
{
public:
  X11ImageBuffer(Display* display, Visual* visual, int depth, int width, int height, bool trySharedMemory);
  ~X11ImageBuffer();

  X11ImageBuffer(const X11ImageBuffer&) = delete;
  X11ImageBuffer& operator=(const X11ImageBuffer&) = delete;

  // False when no image could be made (no TrueColor visual, no memory).
  bool Valid() const { return mImage != nullptr; }
  bool UsesSharedMemory() const { return mShared; }

  // Copies w x h pixels from rows of `src` (rowSpan pixels apart, starting
  // at the rectangle's first pixel) into the image at (x, y). The caller
  // clips to the image.
  void Write(int x, int y, int w, int h, const LICE_pixel* src, int rowSpan);
  // Puts a rectangle of the image at the same place of the drawable. False
  // when the server refused it.
  bool Put(Drawable drawable, GC gc, const IRECT& r);
  // Whether an event read from the connection is the server's word that a
  // shared put is done; the event loop hands every event here.
  bool TakeCompletion(const XEvent& event);

private:
  bool CreateShared(Visual* visual, int depth);
  bool CreatePlain(Visual* visual, int depth);
  void DestroyImage();
  // Returns once the server has finished reading the shared pixels.
  void AwaitCompletion();
  unsigned long PixelFor(LICE_pixel p) const;

  Display* mDisplay;
  int mWidth;
  int mHeight;
  XImage* mImage = nullptr;
  XShmSegmentInfo mShmInfo{};
  bool mShared = false;
  int mCompletionType = -1;
  bool mAwaitingCompletion = false;
  bool mDirectCopy = false;
  // Per channel: where the top bits of the 8-bit value go.
  int mShift[3] = {};
  int mBits[3] = {};
  unsigned long mMask[3] = {};
};
