#include "platform/linux/X11ImageBuffer.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/linux/X11ErrorTrap.h"

namespace
{
int LowestBit(unsigned long mask)
{
  int bit = 0;
  while (mask && !(mask & 1UL))
  {
    mask >>= 1;
    ++bit;
  }
  return bit;
}

int BitCount(unsigned long mask)
{
  int n = 0;
  for (; mask; mask &= mask - 1) ++n;
  return n;
}

bool HostIsLittleEndian()
{
  const uint32_t probe = 1;
  unsigned char first = 0;
  std::memcpy(&first, &probe, 1);
  return first == 1;
}
} // namespace

X11ImageBuffer::X11ImageBuffer(Display* display, Visual* visual, int depth, int width, int height,
                               bool trySharedMemory)
    : mDisplay(display), mWidth(width), mHeight(height)
{
  if (!display || !visual || width <= 0 || height <= 0 || visual->c_class != TrueColor) return;
  const unsigned long masks[3] = {visual->red_mask, visual->green_mask, visual->blue_mask};
  for (int c = 0; c < 3; ++c)
  {
    mMask[c] = masks[c];
    mBits[c] = BitCount(masks[c]);
    mShift[c] = LowestBit(masks[c]);
  }
  if (!(trySharedMemory && CreateShared(visual, depth)) && !CreatePlain(visual, depth)) return;
  // LICE pixels are 0xAARRGGBB words: on this visual a row is the same bytes.
  mDirectCopy = mImage->bits_per_pixel == 32 && masks[0] == 0xFF0000 && masks[1] == 0xFF00 &&
                masks[2] == 0xFF && (mImage->byte_order == LSBFirst) == HostIsLittleEndian() &&
                LICE_PIXEL_R_SHIFT == 16 && LICE_PIXEL_G_SHIFT == 8 && LICE_PIXEL_B_SHIFT == 0;
}

X11ImageBuffer::~X11ImageBuffer()
{
  DestroyImage();
}

bool X11ImageBuffer::CreateShared(Visual* visual, int depth)
{
  if (!XShmQueryExtension(mDisplay)) return false;
  XImage* image = XShmCreateImage(mDisplay, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &mShmInfo,
                                  static_cast<unsigned>(mWidth), static_cast<unsigned>(mHeight));
  if (!image) return false;
  const size_t bytes = static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(mHeight);
  mShmInfo.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (mShmInfo.shmid < 0)
  {
    XDestroyImage(image);
    return false;
  }
  mShmInfo.shmaddr = static_cast<char*>(shmat(mShmInfo.shmid, nullptr, 0));
  if (mShmInfo.shmaddr == reinterpret_cast<char*>(-1))
  {
    shmctl(mShmInfo.shmid, IPC_RMID, nullptr);
    XDestroyImage(image);
    return false;
  }
  image->data = mShmInfo.shmaddr;
  mShmInfo.readOnly = False;
  // A remote server cannot attach our memory: it answers with an error,
  // which the trap records instead of letting Xlib end the process.
  x11_error_trap::TakeErrorCount(mDisplay);
  const bool attached = XShmAttach(mDisplay, &mShmInfo) && (XSync(mDisplay, False), true) &&
                        x11_error_trap::TakeErrorCount(mDisplay) == 0;
  // Marked for removal now: it goes once both sides have detached, even if
  // the host process dies.
  shmctl(mShmInfo.shmid, IPC_RMID, nullptr);
  if (!attached)
  {
    image->data = nullptr;
    XDestroyImage(image);
    shmdt(mShmInfo.shmaddr);
    mShmInfo = XShmSegmentInfo{};
    return false;
  }
  mImage = image;
  mShared = true;
  mCompletionType = XShmGetEventBase(mDisplay) + ShmCompletion;
  return true;
}

bool X11ImageBuffer::CreatePlain(Visual* visual, int depth)
{
  XImage* image = XCreateImage(mDisplay, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                               static_cast<unsigned>(mWidth), static_cast<unsigned>(mHeight), 32, 0);
  if (!image) return false;
  // XDestroyImage frees the data with free().
  image->data = static_cast<char*>(std::calloc(static_cast<size_t>(image->bytes_per_line), static_cast<size_t>(mHeight)));
  if (!image->data)
  {
    XDestroyImage(image);
    return false;
  }
  mImage = image;
  mShared = false;
  return true;
}

void X11ImageBuffer::DestroyImage()
{
  if (!mImage) return;
  if (mShared)
  {
    XShmDetach(mDisplay, &mShmInfo);
    mImage->data = nullptr;
    XDestroyImage(mImage);
    // The server must have let go before our mapping goes.
    XSync(mDisplay, False);
    shmdt(mShmInfo.shmaddr);
    mShmInfo = XShmSegmentInfo{};
  }
  else
  {
    XDestroyImage(mImage);
  }
  mImage = nullptr;
  mShared = false;
}

unsigned long X11ImageBuffer::PixelFor(LICE_pixel p) const
{
  const unsigned channel[3] = {LICE_GETR(p), LICE_GETG(p), LICE_GETB(p)};
  unsigned long value = 0;
  for (int c = 0; c < 3; ++c)
  {
    const int bits = mBits[c];
    const unsigned long v = bits >= 8 ? static_cast<unsigned long>(channel[c]) << (bits - 8) : channel[c] >> (8 - bits);
    value |= (v << mShift[c]) & mMask[c];
  }
  return value;
}

bool X11ImageBuffer::TakeCompletion(const XEvent& event)
{
  if (!mShared || event.type != mCompletionType) return false;
  mAwaitingCompletion = false;
  return true;
}

void X11ImageBuffer::AwaitCompletion()
{
  if (!mAwaitingCompletion) return;
  const int type = mCompletionType;
  auto isCompletion = [](Display*, XEvent* event, XPointer arg) -> Bool {
    return event->type == *reinterpret_cast<const int*>(arg) ? True : False;
  };
  XEvent event;
  // Only the completion is taken from the queue; other events stay for the
  // event loop. After a round trip it is there, unless the put failed (the
  // window is gone), which is as done as it gets.
  if (!XCheckIfEvent(mDisplay, &event, isCompletion, reinterpret_cast<XPointer>(const_cast<int*>(&type))))
  {
    XSync(mDisplay, False);
    XCheckIfEvent(mDisplay, &event, isCompletion, reinterpret_cast<XPointer>(const_cast<int*>(&type)));
  }
  mAwaitingCompletion = false;
}

void X11ImageBuffer::Write(int x, int y, int w, int h, const LICE_pixel* src, int rowSpan)
{
  if (!mImage || !src || w <= 0 || h <= 0) return;
  AwaitCompletion();
  for (int row = 0; row < h; ++row)
  {
    const LICE_pixel* in = src + static_cast<long>(row) * rowSpan;
    if (mDirectCopy)
    {
      char* out = mImage->data + static_cast<long>(y + row) * mImage->bytes_per_line + x * 4L;
      std::memcpy(out, in, static_cast<size_t>(w) * sizeof(LICE_pixel));
    }
    else
    {
      for (int col = 0; col < w; ++col) XPutPixel(mImage, x + col, y + row, PixelFor(in[col]));
    }
  }
}

bool X11ImageBuffer::Put(Drawable drawable, GC gc, const IRECT& r)
{
  if (!mImage) return false;
  const int x = std::max(r.L, 0);
  const int y = std::max(r.T, 0);
  const int w = std::min(r.R, mWidth) - x;
  const int h = std::min(r.B, mHeight) - y;
  if (w <= 0 || h <= 0) return true;
  if (mShared)
  {
    AwaitCompletion();
    XShmPutImage(mDisplay, drawable, gc, mImage, x, y, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h),
                 True);
    XFlush(mDisplay);
    mAwaitingCompletion = true;
    return true;
  }
  XPutImage(mDisplay, drawable, gc, mImage, x, y, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h));
  XFlush(mDisplay);
  return true;
}
