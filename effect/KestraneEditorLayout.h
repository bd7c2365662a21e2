#pragma once

// The effect's editor panel: its size, and the index of every control in the
// editor's list (the list order is the drawing order and, reversed, the
// order in which controls are hit).
namespace kestrane_layout
{
constexpr int kEditorWidth = 388;
constexpr int kEditorHeight = 470;

enum EControl : int
{
  kBackground = 0,
  kEnvGraph,
  kLfoGraph,
  kVersionText,
  kProductPage,
  kRoutingIndicator,
  kFilterFreqKnob,
  kFilterBandwidthKnob,
  kFilterPanKnob,
  kFilterMixKnob,
  kFilterTypeButtons,
  kEnvTargetList,
  kEnvAttackKnob,
  kEnvDecayKnob,
  kEnvSustainKnob,
  kEnvReleaseKnob,
  kEnvDepthKnob,
  kEnvDirectionButton,
  kEnvVolCompensationSlider,
  kEnvCompensationSwitch,
  kLfoSyncButton,
  kLfoEnvChildButton,
  kLfoTargetList,
  kLfoWaveSwitch,
  kLfoRateSyncKnob,
  kLfoRateMsKnob,
  kLfoDepthKnob,
  kLfoStartKnob,
  kLfoVolCompensationSlider,
  kLfoCompensationSwitch,
  kNumControls // a drop-down's list, once opened, follows these
};

// An editor image as the layout expects it: the controls' geometry derives
// from these sizes and frame counts.
struct ImageInfo
{
  int id;
  const char* name;
  int width;
  int height;
  int frames;
};

extern const ImageInfo kImages[];
extern const int kImageCount;
// What the layout expects of an image ID (name, size, frames), or null.
const ImageInfo* FindImage(int id);
} // namespace kestrane_layout
