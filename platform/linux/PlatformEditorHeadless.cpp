// The editor of the builds that have no window to offer: the tests' and
// tools' effect, driven and pictured headless.
#include "platform/PlatformEditor.h"
#include "platform/linux/IGraphicsHeadless.h"

IGraphics* MakePlatformEditor(IPlugBase* plug, int width, int height, int fps)
{
  return new IGraphicsHeadless(plug, width, height, fps);
}
