#pragma once

#include <string>

#include "editor/IGraphics.h"

// The editor host without a window. It is what the Linux plug-in uses until
// it has one, and what tests and tools use to drive and render the editor:
// the back buffer is the picture (presenting copies nothing), value prompts
// are recorded so the caller can answer them, the redraw timer and the
// parameter-change countdown advance only on Tick(), images come from the
// data compiled into the plug-in, and web pages, file and colour dialogs
// answer "not available".
//
// Threads: as IGraphics; Tick() and the prompt answers belong to the UI
// thread (whichever thread drives the editor).
class IGraphicsHeadless : public IGraphics
{
public:
  // What a value prompt asked for: a parameter prompt (control and its
  // parameter) or an editable-text prompt (textControl).
  struct ValuePrompt
  {
    IControl* control = nullptr;
    IParam* param = nullptr;
    bool center = false;
    IEditableTextControl* textControl = nullptr;
  };

  struct WebPageRequest
  {
    std::string url;
    std::string windowTitle;
    std::string confirmMsg;
    std::string errMsg;
  };

  IGraphicsHeadless(IPlugBase* plug, int width, int height, int fps = 0);
  ~IGraphicsHeadless() override;

  using IGraphics::OpenEditorWindow;
  using IGraphics::PromptForValue;

  // ---- Platform operations ----
  bool PresentRect(IRECT* r) override;
  // Records the prompt; a request while one is open is refused.
  bool PromptForValue(IControl* control, IParam* param, bool center) override;
  void PromptForValue(IEditableTextControl* control) override;
  // The folder of the running program.
  void HostAppPath(WDL_String* path) override;
  // The folder of the file this code was loaded from (the plug-in or the
  // program it is linked into).
  void PluginFilePath(WDL_String* path) override;
  // No dialogs: the file name comes back empty.
  void AskForFile(WDL_String* file, int action, const char* dir, const char* extensions) override;
  bool AskForColor(IColor* color, const char* prompt) override;
  // Records the request and answers false: there is no browser to open.
  bool OpenWebPage(const char* url, const char* windowTitle, const char* confirmMsg, const char* errMsg) override;
  void StartParamChangeTimer(int ticks) override;
  void StopParamChangeTimer() override;
  // No window yet: null.
  void* OpenEditorWindow(void* parent) override;
  // Ends a pending wheel gesture, as closing a window does.
  void CloseEditorWindow() override;
  void* NativeWindow() override { return nullptr; }
  void RefreshTooltips() override {}
  // The PNG compiled into the plug-in under that ID (or, failing that, that
  // name); null when there is none.
  LICE_IBitmap* LoadPlatformImage(int id, const char* name) override;

  // ---- Driving the editor ----

  // One tick of the redraw timer: repaints the dirty area, then advances the
  // parameter-change countdown, ending the pending wheel gesture when it
  // runs out.
  void Tick();
  // Draws every visible control over the whole editor now.
  bool PaintAll();
  // The composed picture (null before the editor is attached).
  LICE_IBitmap* BackBuffer() const { return BackBufferBitmap(); }
  // Pixel (x, y) of the picture; 0 outside it.
  LICE_pixel PixelAt(int x, int y) const;

  // Ticks left before the pending wheel gesture ends; 0 when none.
  int ParamChangeCountdown() const { return mParamChangeTimer; }

  bool HasPrompt() const { return mPromptOpen; }
  const ValuePrompt& Prompt() const { return mPrompt; }
  // Confirms the open prompt with text, as the user pressing Enter: the
  // editor applies it, then the prompt closes. False when none is open.
  bool ConfirmPrompt(const char* text);
  // Closes the open prompt without applying anything.
  void CancelPrompt();

  int PresentCount() const { return mPresentCount; }
  const IRECT& LastPresented() const { return mLastPresented; }
  // Null until a web page was asked for.
  const WebPageRequest* LastWebPage() const { return mWebPageAsked ? &mLastWebPage : nullptr; }

private:
  void ClosePrompt();

  int mParamChangeTimer = 0;
  ValuePrompt mPrompt;
  bool mPromptOpen = false;
  int mPresentCount = 0;
  IRECT mLastPresented;
  WebPageRequest mLastWebPage;
  bool mWebPageAsked = false;
};
