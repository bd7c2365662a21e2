#pragma once

class IPlugBase;

// The editor as the plug-in base sees it. The base reaches its editor only
// through the virtual operations below, so the core library has no link-time
// dependency on the editor library.
//
// Threads: everything here runs on the UI thread, except that host wrappers
// call ShowParamValue with the plug-in mutex held when the host automates.
class IGraphics
{
public:
  // fps <= 0 selects 24 frames per second.
  IGraphics(IPlugBase* plug, int width, int height, int fps);
  virtual ~IGraphics();

  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  // Moves the controls bound to a parameter to a value, given as a real value
  // or, with normalized set, as 0..1.
  virtual void ShowParamValue(int paramIdx, double value, bool normalized);
  // Creates the drawing surface; called once when the editor is attached.
  virtual void PrepareDrawing();
  // Arms / cancels the one-shot countdown (in redraw ticks) that ends a
  // wheel gesture by calling IPlugBase::FlushPendingEdit when it runs out.
  virtual void StartParamChangeTimer(int ticks) = 0;
  virtual void StopParamChangeTimer() = 0;

  // Calls the effect makes into its editor when one parameter changes what
  // other controls show. [any thread, plug-in mutex held]
  // Hides or shows every control bound to a parameter.
  virtual void SetControlHidden(int paramIdx, bool hide);
  // Sets a display-only control (by list index) from the engine.
  virtual void ShowControlValue(int controlIdx, double normalized);
  // Moves every control bound to a parameter as if the user had, which sets
  // the parameter through IPlugBase::SetParameterFromEditor.
  virtual void SetControlsFromUserInput(int paramIdx, double normalized);

  int FrameRate() const { return mFrameRate; }
  int Width() const { return mEditorWidth; }
  int Height() const { return mEditorHeight; }
  IPlugBase* Plug() const { return mPlug; }

protected:
  IPlugBase* mPlug;
  int mEditorWidth;
  int mEditorHeight;
  int mFrameRate;
};
