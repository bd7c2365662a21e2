#pragma once

// The editor as the plug-in base sees it: the few calls the core makes.
// The editor library's IGraphics implements it; core includes nothing of
// that library. The plug-in owns its editor and deletes it through this
// interface.
//
// Threads: ShowParamValue comes from whichever thread changed a parameter,
// with the plug-in mutex held (it only stores values and sets flags); the
// others run on the UI thread, or on a host thread that flushes a pending
// edit, with the plug-in mutex held.
class IPlugEditor
{
public:
  virtual ~IPlugEditor() = default;

  // Every control bound to the parameter shows the value (real, or 0..1
  // when normalized).
  virtual void ShowParamValue(int paramIdx, double value, bool normalized) = 0;
  // Creates the drawing surface; called once, when the editor is attached.
  virtual void PrepareDrawing() = 0;
  // Arms / cancels the countdown, in redraw ticks, after which the editor's
  // host calls IPlugBase::FlushPendingEdit to end a wheel gesture.
  virtual void StartParamChangeTimer(int ticks) = 0;
  virtual void StopParamChangeTimer() = 0;
  // Redraw ticks per second.
  virtual int FrameRate() const = 0;
};
