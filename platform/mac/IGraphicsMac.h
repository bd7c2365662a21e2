#pragma once

#include "core/wdl/WDL_String.h"
#include "editor/IGraphics.h"

// The editor's host on macOS: a Cocoa view (KestraneAU) that the Audio Unit
// host asks the view factory (CLS_KESTRANE_View) for. The view runs the
// redraw timer and turns AppKit events into editor calls; this class opens
// and closes it, draws the off-screen picture into it, opens the native
// value prompts on it, and finds the plug-in's bundle (its paths and the
// editor's images, which ship as PNG resources under their base names).
//
// Plain C++, so the effect and wrappers can include it; the Objective-C
// side lives in the .mm files.
//
// Threads: the host's main thread, as all of AppKit (IGraphics says which
// calls other threads make).
class IGraphicsMac : public IGraphics
{
public:
  // fps <= 0 selects 24 frames per second. Makes AppKit usable inside any
  // host (NSApplicationLoad).
  IGraphicsMac(IPlugBase* plug, int width, int height, int fps = 0);
  ~IGraphicsMac() override;

  using IGraphics::OpenEditorWindow;
  using IGraphics::PromptForValue;

  void SetBundleIdentifier(const char* identifier) { mBundleIdentifier.Set(identifier ? identifier : ""); }
  const char* BundleIdentifier() const { return mBundleIdentifier.Get(); }

  // ---- Platform operations ----
  // Draws the whole picture into the view being drawn (inside drawRect:);
  // AppKit clips it to the region being redrawn. False without a view or a
  // context to draw into.
  bool PresentRect(IRECT* r) override;
  void ResizeEditor(int w, int h) override;
  bool IsWindowOpen() override { return mView != nullptr; }
  // A list (for a switch or a list with display texts) or a text field over
  // the control; false when the view is closed or a prompt is open.
  bool PromptForValue(IControl* control, IParam* param, bool center) override;
  void PromptForValue(IEditableTextControl* control) override;
  // The bundle's executable; unchanged when the bundle is not found.
  void HostAppPath(WDL_String* path) override;
  // The folder holding the bundle, with a trailing '/'; unchanged when the
  // bundle is not found.
  void PluginFilePath(WDL_String* path) override;
  // Open (action 0) or save (1) panel; the empty string when cancelled or
  // when no view is open.
  void AskForFile(WDL_String* file, int action, const char* dir, const char* extensions) override;
  bool AskForColor(IColor*, const char*) override { return false; }
  // Opens an address with a scheme in the user's browser, anything else as
  // a file path; the texts are not shown.
  bool OpenWebPage(const char* url, const char* windowTitle, const char* confirmMsg, const char* errMsg) override;
  void StartParamChangeTimer(int ticks) override;
  void StopParamChangeTimer() override;
  // A new view (replacing an open one) with its timer running, added to
  // parent (an NSView) when given. The editor keeps it until it closes.
  void* OpenEditorWindow(void* parent) override;
  // Stops the timer, ends a pending wheel gesture and takes the view down.
  void CloseEditorWindow() override;
  void* NativeWindow() override { return mView; }
  bool OpensNativeWindow() const override { return true; }
  void RefreshTooltips() override;
  // The bundle resource named by the base name of `name` ("../img/knob.png"
  // is "knob.png"); null when the bundle, the file or its decoding fails.
  LICE_IBitmap* LoadPlatformImage(int id, const char* name) override;

private:
  // Takes the view down; with endGesture a pending wheel gesture ends first.
  void CloseView(bool endGesture);

  void* mView = nullptr; // the open KestraneAU view, retained; null when closed
  WDL_String mBundleIdentifier;
};
