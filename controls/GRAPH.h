#pragma once

#include "controls/ModulationMarks.h"
#include "editor/IColor.h"
#include "editor/IControl.h"

// The live modulation display: a 6 x 2 marker on a thin track shows where
// the envelope (instance at x = 37) or the LFO (instance at x = 217) puts
// its target within the target's modulation range; red at the track's start
// when the range is empty. An instance elsewhere draws nothing. It redraws
// on every editor tick and takes no input.
//
// Threads: the effect writes the values through ModulationMarks (audio
// thread: marks; parameter handling: ranges and flags); Paint reads them on
// the UI thread, each as one relaxed atomic load.
class GRAPH : public IControl, public ModulationMarks
{
public:
  static constexpr int kEnvTrackX = 37;
  static constexpr int kLfoTrackX = 217;

  GRAPH(IPlugBase* plug, int L, int T, int R, int B);

  bool Paint(IGraphics* graphics) override;
  // Always: the marker follows the audio at the editor's frame rate.
  bool NeedsRedraw() override { return true; }

  // The marker's rectangle and colour for the current values; false when
  // nothing is drawn (the source is not shown, or no track at this place).
  bool Marker(IRECT* rect, IColor* color) const;
  IPlugBase* Effect() const { return mEffect; }

private:
  // Offset of the marker on a track of `length` pixels, halves away from
  // zero; outside the track for values outside the range.
  static int TrackOffset(float mark, float low, float high, float length);

  IPlugBase* mEffect;
};
