// The Linux plug-in's editor: an X11 window inside the host's.
#include "platform/PlatformEditor.h"
#include "platform/linux/IGraphicsLinux.h"

IGraphics* MakePlatformEditor(IPlugBase* plug, int width, int height, int fps)
{
  return new IGraphicsLinux(plug, width, height, fps);
}
