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
} // namespace kestrane_layout
