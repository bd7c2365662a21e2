// The headless editor for the Linux builds that drive and picture it without
// a window (the tests' effect); the plug-in links the X11 host's instead.
#include "platform/PlatformEditor.h"
#include "platform/linux/IGraphicsHeadless.h"

IGraphics* MakePlatformEditor(IPlugBase* plug, int width, int height, int fps)
{
  return new IGraphicsHeadless(plug, width, height, fps);
}
