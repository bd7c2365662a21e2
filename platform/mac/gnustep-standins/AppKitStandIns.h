#pragma once

// What the macOS view uses of Apple's SDK and GNUstep's AppKit does not
// offer, for the GNUstep build on Linux only: newer names of old constants,
// the Core Foundation run-loop mode, protocols GNUstep does not declare, the
// Audio Unit view protocol and a small Core Graphics.
#import <AppKit/AppKit.h>

#include "wrappers/au/AudioUnitInterface.h"
#include "platform/mac/gnustep-standins/CoreGraphicsStandIn.h"

// Makes the shared application, as Apple's call does inside a host.
BOOL NSApplicationLoad(void);

// A name only: CommonModesTimers.mm makes timers added for it fire in the
// default, modal-panel and event-tracking modes, as on a Mac.
#define kCFRunLoopCommonModes NSRunLoopCommonModes

// macOS 10.12 names of the event constants.
#define NSEventModifierFlagCommand NSCommandKeyMask
#define NSEventModifierFlagShift NSShiftKeyMask
#define NSEventModifierFlagControl NSControlKeyMask
#define NSEventModifierFlagOption NSAlternateKeyMask
#define NSEventTypeLeftMouseDown NSLeftMouseDown
#define NSEventTypeLeftMouseUp NSLeftMouseUp
#define NSEventTypeRightMouseDown NSRightMouseDown
#define NSEventTypeScrollWheel NSScrollWheel

@protocol NSComboBoxDelegate <NSTextFieldDelegate>
@end

@protocol NSViewToolTipOwner
- (NSString*)view:(NSView*)view stringForToolTip:(NSToolTipTag)tag point:(NSPoint)point userData:(void*)data;
@end

// Apple's AUCocoaUIView.h.
@protocol AUCocoaUIBase
- (unsigned)interfaceVersion;
- (NSView*)uiViewForAudioUnit:(AudioUnit)inAudioUnit withSize:(NSSize)inPreferredSize;
@end
