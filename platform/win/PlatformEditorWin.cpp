// The editor of Windows builds: the window host, bound to the module that
// holds this code (the plug-in DLL, or a test program linking the editor),
// whose resources carry the images and whose name the window class uses.
#include "platform/PlatformEditor.h"
#include "platform/win/IGraphicsWindows.h"

namespace
{
HINSTANCE ThisModule()
{
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<const char*>(&ThisModule), &module);
  return module;
}
} // namespace

IGraphics* MakePlatformEditor(IPlugBase* plug, int width, int height, int fps)
{
  IGraphicsWindows* editor = new IGraphicsWindows(plug, width, height, fps);
  editor->SetInstanceHandle(ThisModule());
  return editor;
}
