#pragma once

#include "core/IPlugEditor.h"
#include "core/IRECT.h"
#include "core/wdl/WDL_Mutex.h"
#include "core/wdl/WDL_PtrList.h"
#include "core/wdl/WDL_String.h"
#include "editor/IBitmap.h"
#include "editor/IChannelBlend.h"
#include "editor/IColor.h"
#include "editor/IText.h"
#include "editor/MouseMods.h"

class IControl;
class IEditableTextControl;
class IParam;
class IPlugBase;
class LICE_IBitmap;
class LICE_IFont;
class LICE_SysBitmap;

// The platform-independent half of the editor: the ordered list of controls
// (index 0 is the background), the off-screen picture they draw into, the
// bookkeeping of what must be redrawn, the routing of mouse and key events to
// the control under the pointer, the link between controls and parameters,
// and the drawing calls controls use. A platform host derives from it and
// supplies the window, the redraw timer, text prompts and image loading.
//
// The plug-in base reaches its editor only through IPlugEditor
// (ShowParamValue, PrepareDrawing, the parameter-change timer, FrameRate),
// so the core library does not link this one; the effect makes its own
// calls (SetControlHidden, ShowControlValue, SetControlsFromUserInput).
//
// Threads: everything runs on the UI thread, except ShowParamValue and the
// calls the effect makes from its parameter handling (SetControlHidden,
// ShowControlValue, SetControlsFromUserInput), which may come from whichever
// host or UI thread changed a parameter, with the plug-in mutex held; they
// only store values and set flags. Those walks and every change of the
// control list (only ever made on the UI thread) hold the list's own lock,
// so a drop-down attaching its list or a resize never moves or frees the
// list under another thread's walk. The audio thread never comes here. The
// image and font caches are process-wide and each has its own mutex.
class IGraphics : public IPlugEditor
{
public:
  // fps <= 0 selects 24 frames per second.
  IGraphics(IPlugBase* plug, int width, int height, int fps);
  // Deletes the controls from the last to the first, then the back buffer.
  virtual ~IGraphics();

  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  // ---- Platform operations ----

  // Copies a rectangle of the back buffer to the screen.
  virtual bool PresentRect(IRECT* r) = 0;
  // Stores the new size, drops every control (the plug-in lets go of them
  // first) and tells the plug-in.
  virtual void ResizeEditor(int w, int h);
  virtual bool IsWindowOpen();
  // Opens a text field (or a list, for a parameter with display texts) over
  // the control; on confirmation the host calls ApplyPromptText, and on
  // every close the control's PromptClosed. False when no prompt opened
  // (another one is open, no window, no parameter): nothing will close.
  virtual bool PromptForValue(IControl* control, IParam* param, bool center) = 0;
  // Opens a text field over an editable text control; on confirmation the
  // host calls ApplyPromptText without a parameter.
  virtual void PromptForValue(IEditableTextControl* control) = 0;
  virtual void HostAppPath(WDL_String* path) = 0;
  virtual void PluginFilePath(WDL_String* path) = 0;
  virtual void AskForFile(WDL_String* file, int action, const char* dir, const char* extensions) = 0;
  virtual bool AskForColor(IColor* color, const char* prompt) = 0;
  virtual bool OpenWebPage(const char* url, const char* windowTitle, const char* confirmMsg,
                           const char* errMsg) = 0;
  // A wheel event without a pointer position; true when the host routed it.
  virtual bool ProcessMouseWheel(float d);
  // Arms / cancels the one-shot countdown (in redraw ticks) after which the
  // host calls IPlugBase::FlushPendingEdit to end a wheel gesture.
  // [UI thread, or the host thread that flushes; plug-in mutex held]
  virtual void StartParamChangeTimer(int ticks) = 0;
  virtual void StopParamChangeTimer() = 0;
  // Creates the native window inside the host's parent, starts the redraw
  // timer; returns the native handle.
  virtual void* OpenEditorWindow(void* parent) = 0;
  virtual void* OpenEditorWindow(void* parent, void* parentControl);
  virtual void CloseEditorWindow() = 0;
  virtual void* NativeWindow() = 0;
  // True when OpenEditorWindow makes a native window a plug-in host can show
  // (false for hosts that only draw off screen).
  virtual bool OpensNativeWindow() const { return false; }
  virtual void RefreshTooltips() = 0;
  // Loads one of the plug-in's images; null when it cannot. The caller (the
  // image cache) owns the result. [any thread, image cache mutex held]
  virtual LICE_IBitmap* LoadPlatformImage(int id, const char* name) = 0;
  // The host's periodic idle call while the window is open (VST 2
  // effEditIdle), for platform hosts without a timer of their own, which
  // pump their events and run their redraw ticks on it. [UI thread]
  virtual void OnHostIdle() {}

  // ---- Building the editor ----

  // The image with that resource ID, decoded once per process. A missing
  // image gives an IBitmap without data, which draws nothing.
  IBitmap LoadEditorImage(int id, const char* name, int nStates = 1);
  // Puts the image at index 0, covering its own size, drawn without alpha.
  void SetBackgroundImage(int id, const char* name);
  // Appends a control, which the editor owns from now on; returns its index.
  // [UI thread; takes the list lock]
  int AddControl(IControl* control);
  // A copy of a rectangle of an image, owned by the image cache.
  IBitmap CutBitmap(const IBitmap* src, const IRECT* r);
  // Creates the back buffer; called once when the editor is attached.
  virtual void PrepareDrawing();

  // ---- Drawing, for controls [UI thread, inside Paint] ----
  // A null blend means normal blending at weight 1.0.

  // Copies the image from (srcX, srcY) into dest, clipped to the pass's
  // dirty area.
  bool BlitBitmap(const IBitmap* bitmap, const IRECT* dest, int srcX, int srcY, const IChannelBlend* blend);
  // Copies frame `frame` (from 1) of a multi-frame image into dest.
  bool BlitBitmap(const IBitmap* bitmap, const IRECT* dest, int frame, const IChannelBlend* blend,
                  bool framesVertical);
  // The whole image turned by angle (radians, clockwise) about (cx, cy),
  // sampled bilinearly from (srcX, srcY). Not clipped to the dirty area.
  bool BlitRotated(const IBitmap* bitmap, int cx, int cy, double angle, const IChannelBlend* blend,
                   float srcX = 0.0f, float srcY = 0.0f);
  // An arc (radians, 0 up, clockwise) weighted by the colour's alpha.
  bool StrokeArc(const IColor* color, float cx, float cy, float r, float startAngle, float endAngle,
                 const IChannelBlend* blend, bool antialias);
  // Not clipped to the dirty area.
  bool FillRectColor(const IColor* color, const IRECT* r, const IChannelBlend* blend);
  // False when no font can be made for the style.
  bool DrawTextIn(IText* text, const char* str, const IRECT* r);
  // The cached font for the style (made on first use), also stored in the
  // style; null when the platform has no such font.
  LICE_IFont* FontForText(IText* text);

  // ---- Redraw, called by the platform host ----

  // The union of the dirty controls' rectangles, hidden ones included.
  bool NeedsRedraw(IRECT* out);
  // Draws the controls that intersect r, in list order, marks every control
  // clean and presents r.
  bool Paint(IRECT* r);
  void MarkAllControlsDirty();

  // ---- Input, called by the platform host (editor pixels) [UI thread] ----

  void MouseDown(int x, int y, MouseMods* mod);
  void MouseUp(int x, int y, MouseMods* mod);
  void MouseDrag(int x, int y, MouseMods* mod);
  // True when the host must capture the mouse.
  bool MouseDoubleClick(int x, int y, MouseMods* mod);
  // d in notches, positive away from the user.
  void MouseWheel(int x, int y, MouseMods* mod, int d);
  // True when the host should ask to be told when the pointer leaves.
  bool MouseOver(int x, int y, MouseMods* mod);
  void MouseOut();
  // True when a control received the key.
  bool KeyDown(int x, int y, int key);
  // The captured control, else the topmost visible, ungreyed control whose
  // target contains the point; -1 for none.
  int ControlAt(int x, int y);
  // The result of a value prompt: a display text or a number (0 if neither).
  void ApplyPromptText(IControl* control, IParam* param, const char* text);

  // ---- Parameter link ----

  // A parameter changed outside the editor: every control bound to it shows
  // the value (real, or 0..1 when normalized).
  // [host or UI thread; stores only; takes the list lock]
  virtual void ShowParamValue(int paramIdx, double value, bool normalized);
  // Sets a control (by list index) from the engine; other indices do nothing.
  // [host or UI thread, never the audio thread; takes the list lock]
  virtual void ShowControlValue(int controlIdx, double normalized);
  // Moves every control bound to a parameter as if the user had, which sets
  // the parameter through IPlugBase::SetParameterFromEditor.
  // [plug-in mutex held, taken before the list lock]
  virtual void SetControlsFromUserInput(int paramIdx, double normalized);
  // Hides or shows every control bound to a parameter.
  // [host or UI thread; takes the list lock]
  virtual void SetControlHidden(int paramIdx, bool hide);

  // ---- Queries ----

  int FrameRate() const { return mFrameRate; }
  int Width() const { return mEditorWidth; }
  int Height() const { return mEditorHeight; }
  IPlugBase* Plug() const { return mPlug; }
  int NControls() const { return mControlList.GetSize(); }
  // Null for an index outside the list.
  IControl* GetControl(int idx) const { return mControlList.Get(idx); }
  // The composed picture; null before PrepareDrawing.
  LICE_IBitmap* BackBufferBitmap() const;
  const IRECT& DirtyArea() const { return mDirtyArea; }
  int Capture() const { return mCapture; }
  int HoverIndex() const { return mHoverIndex; }
  bool TrackHover() const { return mTrackHover; }
  void SetTrackHover(bool track) { mTrackHover = track; }
  bool TooltipsOn() const { return mTooltipsOn; }
  void SetTooltipsOn(bool on) { mTooltipsOn = on; }
  // For the platform host and the effect; the editor core never takes it.
  WDL_Mutex* EditorLock() { return &mEditorLock; }

protected:
  WDL_Mutex mEditorLock;
  WDL_PtrList<IControl> mControlList;
  // Held by every change of mControlList and by the walks of other threads
  // (see the class comment); the UI thread's own walks need it not. Taken
  // after the plug-in mutex, never before it, and never on the audio thread.
  WDL_Mutex mControlListLock;
  IPlugBase* mPlug;
  IRECT mDirtyArea;
  LICE_SysBitmap* mBackBuffer = nullptr;
  int mEditorWidth;
  int mEditorHeight;
  int mFrameRate;
  int mCapture = -1;
  int mHoverIndex = -1;
  int mMouseAtX = -1;
  int mMouseAtY = -1;
  bool mTrackHover = false;
  bool mTooltipsOn = false;
  // The parameter whose edit gesture a press or a double click began; the
  // next release ends it, wherever the pointer is then. -1 for none.
  // [UI thread]
  int mGestureParam = -1;

private:
  // Walks the list by index, so a control attached while the walk runs (a
  // drop-down attaching its list, say) neither invalidates it nor is missed.
  struct ControlRange
  {
    const WDL_PtrList<IControl>* list;
    struct Iterator
    {
      const WDL_PtrList<IControl>* list;
      int index;
      IControl* operator*() const { return list->Get(index); }
      Iterator& operator++()
      {
        ++index;
        return *this;
      }
      bool operator!=(const Iterator& end) const { return index < end.list->GetSize(); }
    };
    Iterator begin() const { return Iterator{list, 0}; }
    Iterator end() const { return Iterator{list, 0}; }
  };
  ControlRange Controls() const;

  // Deletes every control, last to first.
  void DeleteControls();
  // Begins the host's edit gesture for a parameter, first ending one whose
  // release never came; EndGesture ends the one begun, if any.
  void BeginGesture(int paramIdx);
  void EndGesture();
  // mod, or no buttons and no keys when the host gave none.
  static MouseMods* OrNoMods(MouseMods* mod, MouseMods* none);
};
