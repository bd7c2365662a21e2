#pragma once

// The Cocoa view factory the Audio Unit host instantiates by the class name
// the wrapper publishes (kAudioUnitProperty_CocoaUI). [host main thread]
#include "platform/mac/MacAppKit.h"

class IPlugBase;

@interface CLS_KESTRANE_View : NSObject <AUCocoaUIBase>
{
  IPlugBase* mPlug; // the plug-in of the last view request
}
- (id)init;
- (unsigned)interfaceVersion;
- (NSString*)description;
- (NSView*)uiViewForAudioUnit:(AudioUnit)audioUnit withSize:(NSSize)preferredSize;
@end
