#pragma once

// AppKit and Core Graphics for the view's Objective-C++ files: Apple's own
// headers on a Mac; on Linux GNUstep's AppKit with the stand-ins for what it
// lacks (gnustep-standins/).
#if defined(GNUSTEP)
#include "platform/mac/gnustep-standins/AppKitStandIns.h"
#else
#import <Cocoa/Cocoa.h>
#import <CoreGraphics/CoreGraphics.h>
#import <AudioUnit/AUCocoaUIView.h>
#endif

#include "platform/mac/ViewClassNames.h"
