#include "controls/GRAPH.h"

#include "core/NumericConversions.h"
#include "editor/IColor.h"
#include "editor/IGraphics.h"

namespace
{
constexpr int kMarkerWidth = 6;
constexpr float kEnvTrackLength = 150.0f;
constexpr float kLfoTrackLength = 128.0f;
constexpr int kEnvTrackTop = 333;
constexpr int kLfoTrackTop = 270;
constexpr int kMarkerHeight = 2;
// Far enough to leave the editor, near enough that no coordinate overflows
// whatever the engine stores.
constexpr int kMaxOffset = 100000;

const IColor kMarkerColor(150, 255, 255, 255);
const IColor kEnvEmptyColor(180, 255, 0, 0);
const IColor kLfoEmptyColor(200, 255, 0, 0);
} // namespace

GRAPH::GRAPH(IPlugBase* plug, int L, int T, int R, int B) : IControl(plug, IRECT(L, T, R, B)), mEffect(plug) {}

int GRAPH::TrackOffset(float mark, float low, float high, float length)
{
  const float x = (mark - low) * length / (high - low);
  if (!(x > -kMaxOffset)) return -kMaxOffset; // also NaN
  if (!(x < kMaxOffset)) return kMaxOffset;
  return RoundHalfAwayToInt32(x);
}

bool GRAPH::Marker(IRECT* rect, IColor* color) const
{
  int track = 0;
  int top = 0;
  float length = 0.0f;
  float mark = 0.0f, low = 0.0f, high = 0.0f;
  const IColor* empty = nullptr;
  if (mArea.L == kEnvTrackX)
  {
    if (!ShowEnv()) return false;
    track = kEnvTrackX;
    top = kEnvTrackTop;
    length = kEnvTrackLength;
    mark = EnvMark();
    low = EnvLow();
    high = EnvHigh();
    empty = &kEnvEmptyColor;
  }
  else if (mArea.L == kLfoTrackX)
  {
    if (!ShowLfo()) return false;
    track = kLfoTrackX;
    top = kLfoTrackTop;
    length = kLfoTrackLength;
    mark = LfoMark();
    low = LfoLow();
    high = LfoHigh();
    empty = &kLfoEmptyColor;
  }
  else
  {
    return false;
  }

  if (high != low)
  {
    const int x = track + TrackOffset(mark, low, high, length);
    *rect = IRECT(x, top, x + kMarkerWidth, top + kMarkerHeight);
    *color = kMarkerColor;
  }
  else
  {
    *rect = IRECT(track, top, track + kMarkerWidth, top + kMarkerHeight);
    *color = *empty;
  }
  return true;
}

bool GRAPH::Paint(IGraphics* graphics)
{
  IRECT rect;
  IColor color;
  if (Marker(&rect, &color)) graphics->FillRectColor(&color, &rect, nullptr);
  return true;
}
