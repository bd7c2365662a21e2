// Linux has no editor window yet: the editor lives headless, so hosts are
// offered none, and tools and tests can still drive and picture it.
#include "platform/PlatformEditor.h"
#include "platform/linux/IGraphicsHeadless.h"

IGraphics* MakePlatformEditor(IPlugBase* plug, int width, int height, int fps)
{
  return new IGraphicsHeadless(plug, width, height, fps);
}
