#pragma once

#include <atomic>

#include "core/IRECT.h"
#include "editor/IBitmap.h"
#include "editor/IChannelBlend.h"
#include "editor/MouseMods.h"

class IGraphics;
class IPlugBase;

// One element of the editor: a rectangle, an optional bound parameter, a
// normalized value (0..1), redraw flags and the input and drawing operations
// the editor calls. The editor owns every control attached to it.
//
// Threads: everything runs on the UI thread, except SetValueFromEngine and
// SetHidden, which the plug-in may call from whichever thread changed the
// parameter (host automation, with the plug-in mutex held); they only store
// the value or the hidden state and raise mChangedElsewhere, and the drawing
// happens later on the UI thread. The fields those threads share are
// atomic; the rest belong to the UI thread.
class IControl
{
public:
  IControl(IPlugBase* plug, const IRECT& area, int paramIdx = -1, const IChannelBlend& blend = IChannelBlend());
  virtual ~IControl();

  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // ---- Input, called by the editor [UI thread] ----

  // A right click opens a value prompt.
  virtual void MouseDown(int x, int y, MouseMods* mod);
  virtual void MouseUp(int x, int y, MouseMods* mod);
  virtual void FileDropped(int x, int y, const char* path);
  // dX, dY: movement since the last position delivered to this control.
  virtual void MouseDrag(int x, int y, int dX, int dY, MouseMods* mod);
  // Restores the default value once it is known.
  virtual void MouseDoubleClick(int x, int y, MouseMods* mod);
  // d notches, positive away from the user: steps of 0.01, 0.001 when fine.
  virtual void MouseWheel(int x, int y, MouseMods* mod, int d);
  // key: one of EKeyCode.
  virtual void KeyDown(int x, int y, int key);
  virtual void MouseOver(int x, int y, MouseMods* mod);
  virtual void MouseOut();

  // Draws into the editor's back buffer. [UI thread, inside IGraphics::Paint]
  virtual bool Paint(IGraphics* graphics) = 0;

  // ---- Value changes ----

  // A value pushed by the plug-in: shown, never reported back. The first one
  // becomes the double-click default. [any thread; stores only]
  virtual void SetValueFromEngine(double value);
  // A value chosen by the user outside the control's own input (a prompt, a
  // dependent parameter): reported to the plug-in.
  virtual void SetValueFromUser(double value);
  // [any thread; stores only]
  virtual void SetHidden(bool hide);
  // Greying dims the control to a quarter weight and stops it being hit.
  virtual void SetDimmed(bool gray);
  // Whether (x, y) lies in the target rectangle, right and bottom edges
  // included.
  virtual bool Contains(int x, int y);
  // Clamps the value and asks for a redraw; with push the value is also
  // reported to the plug-in as a user edit.
  virtual void MarkDirty(bool push);
  // After a drawing pass: stays dirty only if it asked to be drawn again, or
  // if another thread changed it since the pass began. [UI thread]
  virtual void MarkClean();
  // Whether the next pass must draw it; takes in what other threads changed
  // (SetValueFromEngine, SetHidden), which is drawn on this pass and the
  // next. [UI thread]
  virtual bool NeedsRedraw();
  // An idle hook; the editor never calls it.
  virtual void OnIdle() {}

  // Opens the editor's value prompt over the control (not for controls
  // without a parameter or with prompts switched off); false when no prompt
  // opened.
  bool PromptForValue();
  // The platform host's value prompt for this control closed, confirmed or
  // not. Only redraws: a confirmed value was already reported inside its
  // own edit gesture (IGraphics::ApplyPromptText).
  void PromptClosed();

  // ---- Queries and set-up ----

  IPlugBase* Plug() const { return mPlug; }
  const IRECT& Area() const { return mArea; }
  const IRECT& HitArea() const { return mHitArea; }
  void SetHitArea(const IRECT& area) { mHitArea = area; }
  int ParamIdx() const { return mParamIndex; }
  double Value() const { return mControlValue.load(std::memory_order_relaxed); }
  double Default() const { return mDefault.load(std::memory_order_relaxed); }
  void SetClamp(double lo, double hi)
  {
    mMinClamp = lo;
    mMaxClamp = hi;
  }
  bool IsHidden() const { return mHidden.load(std::memory_order_relaxed); }
  bool IsDimmed() const { return mDimmed; }
  bool IsPromptOpen() const { return mPromptOpen; }
  void SetPromptOpen(bool open) { mPromptOpen = open; }
  bool NoPrompt() const { return mNoPrompt; }
  void SetNoPrompt(bool off) { mNoPrompt = off; }
  bool DoubleAsSingle() const { return mDoubleAsSingle; }
  void SetDoubleAsSingle(bool single) { mDoubleAsSingle = single; }
  const IChannelBlend& Blend() const { return mBlendMode; }
  const char* TipText() const { return mTipText; }
  void SetTipText(const char* text) { mTipText = text; }

protected:
  // The value limited to the clamp range; NaN counts as its bottom.
  double Clamped(double value) const;
  // Takes down mChangedElsewhere if it is raised: whether another thread
  // changed the control since the UI thread last looked. [UI thread]
  bool TakeChangeFromElsewhere();
  // The editor this control's plug-in has attached, or null.
  IGraphics* Editor() const;

  IPlugBase* mPlug;
  IRECT mArea;               // drawn and reported dirty
  IRECT mHitArea;            // receives the mouse
  IBitmap mImageStrip;       // an image slot for subclasses
  int mParamIndex;
  // Written by the UI thread (input) and by the thread that changed the
  // parameter (SetValueFromEngine), read by the UI thread to draw. Each is
  // a value on its own, last writer wins, so the accesses need no ordering
  // of their own: what makes a change reach the picture is
  // mChangedElsewhere's release store and NeedsRedraw's acquire exchange,
  // which orders the value before the pass that draws it. Subclasses use
  // the plain (sequentially consistent) operators on the UI thread.
  std::atomic<double> mControlValue{0.0};
  std::atomic<double> mDefault{-1.0}; // < 0: not yet known
  double mMinClamp = 0.0;
  double mMaxClamp = 1.0;
  bool mDirtyFlag = true;             // [UI thread]
  std::atomic<bool> mHidden{false};   // as mControlValue
  // Raised (release) by SetValueFromEngine and SetHidden after they stored
  // their change; taken (acquire exchange) by the UI thread in NeedsRedraw
  // and MarkClean, so a change made while a pass draws is drawn by the next
  // one instead of being cleared with the pass.
  std::atomic<bool> mChangedElsewhere{false};
  bool mDimmed = false;
  bool mAlwaysDirty = false; // stay dirty for one more drawing pass [UI thread]
  bool mNoPrompt = false;
  bool mPromptOpen = false;
  bool mDoubleAsSingle = false;
  IChannelBlend mBlendMode;
  const char* mTipText = nullptr;
};
