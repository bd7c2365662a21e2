#pragma once

#include <windows.h>

#include "editor/IGraphics.h"

// The editor's host on Windows: a child window inside the window the host
// gives, a window procedure that turns mouse, key and timer messages into
// editor calls, the redraw timer (which also drives the text-field
// hand-shake and the wheel gesture's countdown), BitBlt of the back buffer,
// native text fields and drop-down lists for typing values, the colour and
// file dialogs, web pages, module paths and the PNG resources of the module.
//
// Threads: everything runs on the thread that created the window (the host's
// UI thread): messages, timer ticks, the host's open and close requests.
// Parameter changes from other threads only reach the editor core
// (ShowParamValue), which stores values and sets flags.
class IGraphicsWindows : public IGraphics
{
public:
  // Stand-ins for the shell and the message box of OpenWebPage, so a test
  // can see the call instead of a browser or a modal box. [UI thread]
  struct WebPageCalls
  {
    // ShellExecuteA's result: above 32 is success.
    INT_PTR (*open)(HWND owner, const char* url) = nullptr;
    // MessageBoxA's result (IDYES, IDOK...).
    int (*messageBox)(HWND owner, const char* text, const char* title, UINT type) = nullptr;
  };

  // The timer that repaints and runs the text-field hand-shake.
  static constexpr UINT_PTR kTimerId = 2;
  // The identifier of a value prompt's field.
  static constexpr int kFieldId = 99;
  // What the field's user data holds while it is ours.
  static constexpr LONG_PTR kFieldMarker = 0xdeadf00b;
  // Text-field states (mEditState).
  enum EditState : int32_t
  {
    kEditOpen = 0,
    kEditFocused = 1,
    kEditCancel = 2,
    kEditCommit = 3
  };

  IGraphicsWindows(IPlugBase* plug, int width, int height, int fps);
  ~IGraphicsWindows() override;

  using IGraphics::OpenEditorWindow;
  using IGraphics::PromptForValue;

  // The module whose resources, window class and path the editor uses: the
  // plug-in DLL. Set right after construction.
  void SetInstanceHandle(HINSTANCE instance) { mInstanceHandle = instance; }
  HINSTANCE InstanceHandle() const { return mInstanceHandle; }

  // Null arguments put the real shell and message box back.
  static void SetWebPageCalls(const WebPageCalls& calls);

  // ---- Platform operations ----
  bool PresentRect(IRECT* r) override;
  void ResizeEditor(int w, int h) override;
  bool IsWindowOpen() override { return mWindow != nullptr; }
  bool PromptForValue(IControl* control, IParam* param, bool center) override;
  void PromptForValue(IEditableTextControl* control) override;
  // Folders end with their backslash.
  void HostAppPath(WDL_String* path) override;
  void PluginFilePath(WDL_String* path) override;
  void AskForFile(WDL_String* file, int action, const char* dir, const char* extensions) override;
  bool AskForColor(IColor* color, const char* prompt) override;
  bool OpenWebPage(const char* url, const char* windowTitle, const char* confirmMsg, const char* errMsg) override;
  bool ProcessMouseWheel(float d) override;
  void StartParamChangeTimer(int ticks) override { mParamChangeTimer = ticks; }
  void StopParamChangeTimer() override { mParamChangeTimer = 0; }
  void* OpenEditorWindow(void* parent) override;
  void CloseEditorWindow() override;
  void* NativeWindow() override { return mWindow; }
  bool OpensNativeWindow() const override { return true; }
  void RefreshTooltips() override;
  LICE_IBitmap* LoadPlatformImage(int id, const char* name) override;

  // ---- For tests: the state the window procedure works on ----
  HWND EditWindow() const { return mEditWindow; }
  int32_t EditState() const { return mEditState; }
  int ParamChangeCountdown() const { return mParamChangeTimer; }
  // How many editor windows of the process are open (the window class is
  // registered while this is above 0).
  static int OpenWindowCount();

private:
  static LRESULT CALLBACK WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK FieldProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static UINT_PTR CALLBACK ColorHookProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

  LRESULT HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleFieldMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void OnTimer();
  // Ends the open field: the control's prompt closes, the field's procedure
  // is put back, the field and its font are destroyed.
  void CloseField();
  // Subclasses the new field and makes it the current one.
  void AdoptField(HWND field, HFONT font, IControl* control, IParam* param);
  void ShowTooltip();
  void HideTooltip();
  void CreateTooltipWindow();

  HINSTANCE mInstanceHandle = nullptr;
  HWND mWindow = nullptr;
  HWND mTipWindow = nullptr;
  HWND mEditWindow = nullptr;
  IControl* mEdControl = nullptr;
  IParam* mEdParam = nullptr;
  WNDPROC mEditProcBefore = nullptr;
  int32_t mEditState = kEditOpen;
  bool mTipShown = false;
  int32_t mTipControl = -1;
  int32_t mParamChangeTimer = 0;
  COLORREF* mColorChoices = nullptr;
  HWND mHostWindow = nullptr;
  // The open field's font, released with the field.
  HFONT mEditFont = nullptr;
};
