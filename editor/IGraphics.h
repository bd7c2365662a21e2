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
