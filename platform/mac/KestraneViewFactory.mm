// The Cocoa view factory the Audio Unit host instantiates by the class name
// the wrapper publishes (kAudioUnitProperty_CocoaUI). [host main thread]
#include "platform/mac/KestraneViewFactory.h"

#include "core/IPlugBase.h"
#include "editor/IGraphics.h"


@implementation CLS_KESTRANE_View

- (id)init
{
  mPlug = nullptr;
  return [super init];
}

- (unsigned)interfaceVersion
{
  return 0;
}

- (NSString*)description
{
  return @"Kestrane View";
}

// The view always has the editor's size. Returned autoreleased: the host
// keeps it by inserting it into its window; the editor holds it until the
// view is removed.
- (NSView*)uiViewForAudioUnit:(AudioUnit)audioUnit withSize:(NSSize)preferredSize
{
  (void)preferredSize;
  mPlug = audioUnit ? reinterpret_cast<IPlugBase*>(GetComponentInstanceStorage(audioUnit)) : nullptr;
  IGraphics* editor = mPlug ? mPlug->Editor() : nullptr;
  if (!editor) return nil;
  NSView* view = static_cast<NSView*>(editor->OpenEditorWindow(nullptr));
  return [[view retain] autorelease];
}

@end
