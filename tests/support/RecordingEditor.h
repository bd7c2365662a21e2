#pragma once

#include <vector>

#include "platform/linux/IGraphicsHeadless.h"

// A stand-in editor that records what the plug-in base tells it and runs
// the wheel-gesture countdown on explicit ticks. It has no controls; the
// headless host supplies the platform operations.
class RecordingEditor : public IGraphicsHeadless
{
public:
  struct Shown
  {
    int paramIdx;
    double value;
    bool normalized;
  };

  RecordingEditor(IPlugBase* plug, int fps = 24, bool* deleted = nullptr)
      : IGraphicsHeadless(plug, 100, 100, fps), mDeleted(deleted)
  {
  }
  ~RecordingEditor() override
  {
    if (mDeleted) *mDeleted = true;
  }

  void ShowParamValue(int paramIdx, double value, bool normalized) override
  {
    mShown.push_back({paramIdx, value, normalized});
  }
  void PrepareDrawing() override { ++mPrepareCount; }
  void StartParamChangeTimer(int ticks) override
  {
    mTimerTicks = ticks;
    mStartedTicks.push_back(ticks);
  }
  void StopParamChangeTimer() override { mTimerTicks = 0; }

  // One redraw tick: counts down and ends the pending gesture at zero.
  // (Replaces the headless host's tick, which also repaints.)
  void Tick();

  std::vector<Shown> mShown;
  std::vector<int> mStartedTicks;
  int mPrepareCount = 0;
  int mTimerTicks = 0;

private:
  bool* mDeleted;
};
