#pragma once

// The few Core Graphics calls the view makes, for the GNUstep build only
// (Debian's GNUstep has no Core Graphics). Bitmap contexts are plain memory;
// an image made from one is an NSBitmapImageRep of its pixels. Any context
// that is not a bitmap context stands for the current NSGraphicsContext:
// drawing an image into it draws the image rep there, upright as on a Mac.
// Drawing into a bitmap context is not modelled.
#import <AppKit/AppKit.h>

#include <cstddef>
#include <cstdint>

typedef NSRect CGRect;
typedef NSPoint CGPoint;
typedef NSSize CGSize;
typedef struct KestraneStandInColorSpace* CGColorSpaceRef;
// CGImageRef (struct CGImage*) and CGContextRef are declared by GNUstep.
typedef uint32_t CGBitmapInfo;

enum : uint32_t
{
  kCGImageAlphaNoneSkipLast = 5,
  kCGImageAlphaNoneSkipFirst = 6,
  kCGBitmapAlphaInfoMask = 0x1F,
  kCGBitmapByteOrderDefault = 0,
  kCGBitmapByteOrder32Little = 2 << 12,
  kCGBitmapByteOrder32Big = 4 << 12,
  kCGBitmapByteOrderMask = 0x7000
};

inline CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat w, CGFloat h)
{
  return NSMakeRect(x, y, w, h);
}

CGColorSpaceRef CGColorSpaceCreateDeviceRGB(void);
void CGColorSpaceRelease(CGColorSpaceRef space);
// 8 bits per component, 32 bits per pixel, the alpha byte skipped; null for
// anything else.
CGContextRef CGBitmapContextCreate(void* data, size_t width, size_t height, size_t bitsPerComponent,
                                   size_t bytesPerRow, CGColorSpaceRef space, uint32_t bitmapInfo);
void CGContextRelease(CGContextRef context);
CGImageRef CGBitmapContextCreateImage(CGContextRef context);
void CGImageRelease(CGImageRef image);
size_t CGImageGetWidth(CGImageRef image);
size_t CGImageGetHeight(CGImageRef image);
void CGContextDrawImage(CGContextRef context, CGRect rect, CGImageRef image);

// The context drawing goes to inside drawRect:: the cairo back end answers
// null for the current context's port, so the stand-in's own token for "the
// current NSGraphicsContext" is returned instead.
CGContextRef KestraneStandInCurrentContext(void);
