#pragma once

#include <chrono>
#include <memory>
#include <thread>

#include "editor/IGraphics.h"
#include "platform/linux/DesktopLauncher.h"
#include "platform/linux/DrawnValuePrompt.h"
#include "platform/linux/X11InputMapping.h"

class X11EditorWindow;
union _XEvent;

// The editor's host inside Linux VST 2 hosts: an X11 child window of the
// window the host gives effEditOpen, on a display connection of its own.
// Linux hosts have no common event loop and give a plug-in no timer, so the
// host's idle calls (effEditIdle, from its GUI thread while the editor is
// open) drive everything: each call drains our connection's events into the
// editor, then runs a redraw tick when one is due by the clock (the editor's
// frame rate, 24 a second), not by the number of idle calls. A tick repaints
// the dirty area, puts it on screen and counts down the parameter-change
// timer that ends a wheel gesture. Exposed areas are put on screen again
// from the picture as it stands.
//
// Value prompts are drawn by our own renderer over the editor
// (DrawnValuePrompt), typed into with the keyboard focus taken while they
// are open. Web pages open with xdg-open; there are no file or colour
// dialogs. Images come from the data compiled into the plug-in.
//
// A host that destroys its window before effEditClose, closes the editor
// from inside one of our calls to it, or loses the server, costs us the
// window but never the process: X errors on our connection are trapped, and
// the event loop stops as soon as the window it was serving is gone.
//
// Threads: the UI thread (the host's GUI thread: idle, open and close), as
// IGraphics says. Idle calls from another thread than the one that opened
// the window are ignored.
class IGraphicsLinux : public IGraphics
{
public:
  using Clock = std::chrono::steady_clock;

  IGraphicsLinux(IPlugBase* plug, int width, int height, int fps = 0);
  ~IGraphicsLinux() override;

  using IGraphics::OpenEditorWindow;
  using IGraphics::PromptForValue;

  // ---- Platform operations ----
  // Puts the rectangle of the picture (with an open prompt over it) on
  // screen; false while no window is open.
  bool PresentRect(IRECT* r) override;
  bool PromptForValue(IControl* control, IParam* param, bool center) override;
  void PromptForValue(IEditableTextControl* control) override;
  void HostAppPath(WDL_String* path) override;
  void PluginFilePath(WDL_String* path) override;
  // No file dialog: the file name comes back empty.
  void AskForFile(WDL_String* file, int action, const char* dir, const char* extensions) override;
  // No colour chooser: false.
  bool AskForColor(IColor* color, const char* prompt) override;
  // Starts xdg-open with the URL; true when it started. No confirmation is
  // asked and no error shown: there is no dialog to do it with.
  bool OpenWebPage(const char* url, const char* windowTitle, const char* confirmMsg, const char* errMsg) override;
  // A wheel step the host forwards without a position: routed to the
  // control under the pointer when the pointer is over the editor.
  bool ProcessMouseWheel(float d) override;
  void StartParamChangeTimer(int ticks) override;
  void StopParamChangeTimer() override;
  // parent is the host's X11 window id. Returns our window's id, or null
  // when the window cannot be made.
  void* OpenEditorWindow(void* parent) override;
  void CloseEditorWindow() override;
  void* NativeWindow() override;
  void RefreshTooltips() override {}
  bool OpensNativeWindow() const override { return true; }
  LICE_IBitmap* LoadPlatformImage(int id, const char* name) override;
  void OnHostIdle() override;

  // ---- For tests, tools and benchmarks ----
  // Whether the next window may put its picture through shared memory
  // (MIT-SHM); on by default, used only where the server offers it.
  void SetSharedMemoryAllowed(bool allowed) { mSharedMemoryAllowed = allowed; }
  bool UsesSharedMemory() const;
  bool HasPrompt() const { return mPrompt != nullptr; }
  const DrawnValuePrompt* Prompt() const { return mPrompt.get(); }
  // Ticks left before the pending wheel gesture ends; 0 when none.
  int ParamChangeCountdown() const { return mParamChangeTimer; }
  // The next tick runs at the next idle call, whatever the clock says.
  void TickAtNextIdle() { mNextTick = Clock::time_point::min(); }

private:
  // One redraw tick: repaint and present the dirty area, then the
  // parameter-change countdown.
  void Tick();
  // Drains the connection into the editor; stops early when the window it
  // serves closed meanwhile (the host may close the editor from inside a
  // call we make to it).
  void PumpEvents(X11EditorWindow* window);
  // Xlib's XEvent (kept out of this header with Xlib's macros).
  void HandleEvent(X11EditorWindow* window, _XEvent* event);
  void OnButtonPress(const _XEvent& event);
  void OnButtonRelease(const _XEvent& event);
  void OnMotion(const _XEvent& event);
  void OnKeyPress(_XEvent* event);
  void AddExposed(const IRECT& r);

  // Opens a prompt over the editor and takes the keyboard for it.
  // False when there was no prompt to show.
  bool ShowPrompt(std::unique_ptr<DrawnValuePrompt> prompt, IControl* control, IParam* param);
  void PromptOutcome(DrawnValuePrompt::Outcome outcome);
  // Closes the prompt, taking its result or not, and ends the control's
  // prompt either way.
  void ClosePrompt(bool commit);

  std::unique_ptr<X11EditorWindow> mWindow;
  // A window closed while an idle call was using it: deleted when that call
  // returns.
  std::unique_ptr<X11EditorWindow> mRetired;
  bool mInIdle = false;
  std::thread::id mUiThread;
  bool mSharedMemoryAllowed = true;

  Clock::time_point mNextTick;
  int mParamChangeTimer = 0;
  IRECT mExposed;
  bool mHasExposed = false;

  // Which buttons had their press delivered, so only those releases and
  // drags reach the editor.
  bool mLeftDown = false;
  bool mRightDown = false;
  bool mHoverTracked = false;
  DoubleClickDetector mDoubleClick;

  std::unique_ptr<DrawnValuePrompt> mPrompt;
  IControl* mPromptControl = nullptr;
  IParam* mPromptParam = nullptr;

  DesktopLauncher mLauncher;
};
