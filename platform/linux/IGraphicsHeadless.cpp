#include "platform/linux/IGraphicsHeadless.h"

#include <cstring>

#include "core/IPlugBase.h"
#include "editor/IControl.h"
#include "editor/IEditableTextControl.h"
#include "platform/ModuleFolders.h"
#include "raster/LICE_IBitmap.h"
#include "raster/LICE_PNG.h"
#include "raster/ResourceImages.h"

namespace
{
std::string OrEmpty(const char* s)
{
  return s ? s : "";
}
} // namespace

IGraphicsHeadless::IGraphicsHeadless(IPlugBase* plug, int width, int height, int fps)
    : IGraphics(plug, width, height, fps)
{
}

IGraphicsHeadless::~IGraphicsHeadless() = default;

bool IGraphicsHeadless::PresentRect(IRECT* r)
{
  // The back buffer is the picture; there is no screen to copy it to.
  ++mPresentCount;
  mLastPresented = r ? *r : IRECT();
  return true;
}

bool IGraphicsHeadless::PromptForValue(IControl* control, IParam* param, bool center)
{
  if (mPromptOpen || !control || !param) return false;
  mPrompt = ValuePrompt{control, param, center, nullptr};
  mPromptOpen = true;
  return true;
}

void IGraphicsHeadless::PromptForValue(IEditableTextControl* control)
{
  if (mPromptOpen || !control) return;
  mPrompt = ValuePrompt{control, nullptr, false, control};
  mPromptOpen = true;
}

bool IGraphicsHeadless::ConfirmPrompt(const char* text)
{
  if (!mPromptOpen) return false;
  const ValuePrompt prompt = mPrompt;
  ClosePrompt();
  ApplyPromptText(prompt.control, prompt.param, text);
  prompt.control->PromptClosed();
  return true;
}

void IGraphicsHeadless::CancelPrompt()
{
  if (!mPromptOpen) return;
  IControl* control = mPrompt.control;
  ClosePrompt();
  control->PromptClosed();
}

void IGraphicsHeadless::ClosePrompt()
{
  mPrompt = ValuePrompt{};
  mPromptOpen = false;
}

void IGraphicsHeadless::HostAppPath(WDL_String* path)
{
  if (path) ProgramFolder(path);
}

void IGraphicsHeadless::PluginFilePath(WDL_String* path)
{
  if (path) ModuleFolderOf(reinterpret_cast<const void*>(&OrEmpty), path);
}

void IGraphicsHeadless::AskForFile(WDL_String* file, int, const char*, const char*)
{
  if (file) file->Set("");
}

bool IGraphicsHeadless::AskForColor(IColor*, const char*)
{
  return false;
}

bool IGraphicsHeadless::OpenWebPage(const char* url, const char* windowTitle, const char* confirmMsg,
                                    const char* errMsg)
{
  mLastWebPage = WebPageRequest{OrEmpty(url), OrEmpty(windowTitle), OrEmpty(confirmMsg), OrEmpty(errMsg)};
  mWebPageAsked = true;
  return false;
}

void IGraphicsHeadless::StartParamChangeTimer(int ticks)
{
  mParamChangeTimer = ticks;
}

void IGraphicsHeadless::StopParamChangeTimer()
{
  mParamChangeTimer = 0;
}

void* IGraphicsHeadless::OpenEditorWindow(void*)
{
  return nullptr;
}

void IGraphicsHeadless::CloseEditorWindow()
{
  if (mParamChangeTimer != 0 && mPlug) mPlug->FlushPendingEdit();
}

LICE_IBitmap* IGraphicsHeadless::LoadPlatformImage(int id, const char* name)
{
  if (LICE_IBitmap* bitmap = LICE_LoadPNGFromResource(nullptr, id)) return bitmap;
  const ResourceImage* image = ResourceImage::ByName(name);
  return image ? LICE_LoadPNGFromMemory(image->data, image->size) : nullptr;
}

void IGraphicsHeadless::Tick()
{
  IRECT dirty;
  if (NeedsRedraw(&dirty)) Paint(&dirty);
  if (mParamChangeTimer > 0 && --mParamChangeTimer == 0 && mPlug) mPlug->FlushPendingEdit();
}

bool IGraphicsHeadless::PaintAll()
{
  IRECT all(0, 0, mEditorWidth, mEditorHeight);
  return Paint(&all);
}

LICE_pixel IGraphicsHeadless::PixelAt(int x, int y) const
{
  LICE_IBitmap* bitmap = BackBufferBitmap();
  if (!bitmap || x < 0 || y < 0 || x >= bitmap->getWidth() || y >= bitmap->getHeight() || !bitmap->getBits())
    return 0;
  return bitmap->getBits()[static_cast<long>(y) * bitmap->getRowSpan() + x];
}
