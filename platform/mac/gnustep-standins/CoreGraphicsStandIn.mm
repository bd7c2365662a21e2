// The GNUstep build's Core Graphics (see CoreGraphicsStandIn.h).
#include "platform/mac/gnustep-standins/CoreGraphicsStandIn.h"

#include <cstring>

struct KestraneStandInColorSpace
{
  int unused;
};

struct CGImage
{
  NSBitmapImageRep* rep;
};

namespace
{
// A bitmap context: the caller's memory and how to read it.
struct BitmapContext
{
  unsigned char* data;
  size_t width;
  size_t height;
  size_t bytesPerRow;
  uint32_t info;
};

KestraneStandInColorSpace gDeviceRGB;
// Stands for "the current NSGraphicsContext"; never dereferenced.
char gCurrentContextToken;

CGContextRef AsContext(BitmapContext* bitmap)
{
  return reinterpret_cast<CGContextRef>(bitmap);
}
} // namespace

// Bitmap contexts are told apart from the token by address.
static bool IsCurrentContext(CGContextRef context)
{
  return reinterpret_cast<void*>(context) == &gCurrentContextToken;
}

CGColorSpaceRef CGColorSpaceCreateDeviceRGB(void)
{
  return &gDeviceRGB;
}

void CGColorSpaceRelease(CGColorSpaceRef) {}

CGContextRef CGBitmapContextCreate(void* data, size_t width, size_t height, size_t bitsPerComponent,
                                   size_t bytesPerRow, CGColorSpaceRef, uint32_t bitmapInfo)
{
  const uint32_t alpha = bitmapInfo & kCGBitmapAlphaInfoMask;
  if (!data || width == 0 || height == 0 || bitsPerComponent != 8 || bytesPerRow < width * 4 ||
      (alpha != kCGImageAlphaNoneSkipFirst && alpha != kCGImageAlphaNoneSkipLast))
    return nullptr;
  return AsContext(new BitmapContext{static_cast<unsigned char*>(data), width, height, bytesPerRow, bitmapInfo});
}

void CGContextRelease(CGContextRef context)
{
  if (context && !IsCurrentContext(context)) delete reinterpret_cast<BitmapContext*>(context);
}

CGImageRef CGBitmapContextCreateImage(CGContextRef context)
{
  if (!context || IsCurrentContext(context)) return nullptr;
  const BitmapContext& bitmap = *reinterpret_cast<BitmapContext*>(context);
  NSBitmapImageRep* rep = [[NSBitmapImageRep alloc] initWithBitmapDataPlanes:NULL
                                                                  pixelsWide:(NSInteger)bitmap.width
                                                                  pixelsHigh:(NSInteger)bitmap.height
                                                               bitsPerSample:8
                                                             samplesPerPixel:3
                                                                    hasAlpha:NO
                                                                    isPlanar:NO
                                                              colorSpaceName:NSDeviceRGBColorSpace
                                                                 bytesPerRow:(NSInteger)(bitmap.width * 3)
                                                                bitsPerPixel:24];
  if (!rep) return nullptr;
  // Where R, G and B sit in each 4-byte pixel of the context's memory.
  const bool little = (bitmap.info & kCGBitmapByteOrderMask) == kCGBitmapByteOrder32Little;
  const bool skipFirst = (bitmap.info & kCGBitmapAlphaInfoMask) == kCGImageAlphaNoneSkipFirst;
  int r = 0, g = 1, b = 2;
  if (skipFirst && little) r = 2, g = 1, b = 0;       // B G R X
  else if (skipFirst) r = 1, g = 2, b = 3;            // X R G B
  else if (little) r = 3, g = 2, b = 1;               // X B G R
  unsigned char* out = [rep bitmapData];
  for (size_t y = 0; y < bitmap.height; ++y)
  {
    const unsigned char* in = bitmap.data + y * bitmap.bytesPerRow;
    for (size_t x = 0; x < bitmap.width; ++x, in += 4, out += 3)
    {
      out[0] = in[r];
      out[1] = in[g];
      out[2] = in[b];
    }
  }
  return new CGImage{rep};
}

void CGImageRelease(CGImageRef image)
{
  if (!image) return;
  [image->rep release];
  delete image;
}

size_t CGImageGetWidth(CGImageRef image)
{
  return image ? static_cast<size_t>([image->rep pixelsWide]) : 0;
}

size_t CGImageGetHeight(CGImageRef image)
{
  return image ? static_cast<size_t>([image->rep pixelsHigh]) : 0;
}

void CGContextDrawImage(CGContextRef context, CGRect rect, CGImageRef image)
{
  if (!image || !IsCurrentContext(context)) return;
  [image->rep drawInRect:rect];
}

CGContextRef KestraneStandInCurrentContext(void)
{
  return [NSGraphicsContext currentContext] ? reinterpret_cast<CGContextRef>(&gCurrentContextToken) : nullptr;
}
