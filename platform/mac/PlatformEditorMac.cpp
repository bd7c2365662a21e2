// The macOS editor: a Cocoa view host that finds its images in the plug-in's
// bundle.
#include "platform/PlatformEditor.h"
#include "platform/mac/IGraphicsMac.h"

IGraphics* MakePlatformEditor(IPlugBase* plug, int width, int height, int fps)
{
  IGraphicsMac* editor = new IGraphicsMac(plug, width, height, fps);
  editor->SetBundleIdentifier(KESTRANE_MAC_BUNDLE_ID);
  return editor;
}
