// The GNUstep build's stand-ins for AppKit calls and behaviour it lacks. One
// file, so that linking NSApplicationLoad (which every editor calls) also
// brings in the common-modes timers, which nothing names.
#include "platform/mac/gnustep-standins/AppKitStandIns.h"

#include <objc/runtime.h>

// Timers for the common run-loop modes. On a Mac a
// timer added for kCFRunLoopCommonModes fires in every common mode (default,
// modal panel, event tracking); GNUstep treats the name as a mode of its
// own that no run loop runs in, so such a timer would never fire. Adding a
// timer for it adds the timer for each of those modes instead.

@interface NSRunLoop (KestraneCommonModes)
- (void)kestrane_addTimer:(NSTimer*)timer forMode:(NSString*)mode;
@end

@implementation NSRunLoop (KestraneCommonModes)

// Swapped with addTimer:forMode: once the category is attached (+load runs
// then; a C constructor could run before it). After the swap this name
// calls GNUstep's own method.
+ (void)load
{
  Method original = class_getInstanceMethod(self, @selector(addTimer:forMode:));
  Method replacement = class_getInstanceMethod(self, @selector(kestrane_addTimer:forMode:));
  if (original && replacement) method_exchangeImplementations(original, replacement);
}

- (void)kestrane_addTimer:(NSTimer*)timer forMode:(NSString*)mode
{
  if (![mode isEqualToString:NSRunLoopCommonModes])
  {
    [self kestrane_addTimer:timer forMode:mode];
    return;
  }
  [self kestrane_addTimer:timer forMode:NSDefaultRunLoopMode];
  [self kestrane_addTimer:timer forMode:NSModalPanelRunLoopMode];
  [self kestrane_addTimer:timer forMode:NSEventTrackingRunLoopMode];
}

@end

BOOL NSApplicationLoad(void)
{
  return [NSApplication sharedApplication] != nil;
}
