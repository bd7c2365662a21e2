// The effect's preset slots: a named empty default, 23 factory presets, and
// six free slots that become user presets when a host selects them.
#include "effect/Kestrane.h"

namespace
{
struct FactoryPreset
{
  const char* name;
  // One value per parameter, in index order.
  int values[kNumKestraneParams];
};

// Columns: Type Freq BW Pan Mix | ENV: Target Attack Decay Sustain Release
// Depth Direction VolComp Comp | LFO1: Target Wave Sync RateDiv RateMs Child
// Depth Start VolComp Comp
const FactoryPreset kFactoryPresets[] = {
    {"1 oct bandwidth", {2, 2000, 12, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 0, 0, 1, 15, 2000, 0, 90, 25, 6, 1}},
    {"1x2 oct bandwidth", {2, 2000, 25, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 0, 0, 1, 15, 2000, 0, 90, 25, 6, 1}},
    {"2x2 oct bandwidth", {2, 2000, 50, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 0, 0, 1, 15, 2000, 0, 90, 25, 6, 1}},
    {"3x2 oct bandwidth", {2, 2000, 100, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 0, 0, 1, 15, 2000, 0, 90, 25, 6, 1}},
    {"Glissando", {1, 20, 20, 0, 100, 1, 1200, 500, 100, 1000, 90, 0, 20, 1, 0, 0, 1, 15, 2000, 0, 90, 25, 6, 1}},
    {"Glissando Decrescendo",
     {2, 2000, 30, 0, 100, 1, 1200, 500, 100, 1000, 90, 1, 8, 0, 0, 0, 1, 15, 2000, 0, 90, 25, 6, 1}},
    {"High Frequencies", {1, 8000, 20, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 0, 0, 1, 15, 2000, 0, 90, 25, 6, 1}},
    {"High Phaser", {1, 8000, 10, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 1, 0, 1, 3, 2000, 0, 40, 25, 6, 1}},
    {"Low Frequencies", {0, 3000, 20, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 0, 0, 1, 15, 2000, 0, 90, 25, 6, 1}},
    {"Middle Frequencies",
     {2, 2000, 15, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 0, 0, 1, 15, 2000, 0, 90, 25, 6, 1}},
    {"Oscillating Filter",
     {2, 3000, 2, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 4, 1, 1, 9, 2000, 0, 100, 25, 6, 1}},
    {"Oscillating Freq", {1, 8000, 25, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 1, 1, 1, 12, 2000, 0, 60, 25, 6, 1}},
    {"Phaser", {2, 6000, 10, 0, 90, 0, 800, 500, 90, 700, 90, 0, 6, 1, 1, 1, 1, 3, 2000, 0, 50, 25, 6, 1}},
    {"Pan Phaser", {2, 6000, 25, 100, 90, 3, 800, 500, 90, 700, 50, 0, 6, 1, 1, 0, 1, 3, 2000, 0, 50, 25, 6, 1}},
    {"Pad Glissando", {0, 220, 25, 0, 100, 1, 2000, 1000, 100, 2000, 80, 0, 16, 1, 0, 0, 1, 15, 2000, 0, 90, 25, 6, 1}},
    {"Uplifting ADSR", {0, 300, 25, 0, 100, 1, 3000, 500, 100, 1500, 100, 0, 18, 1, 0, 0, 1, 15, 2000, 0, 90, 25, 6, 1}},
    {"Uplifting LFO", {0, 600, 25, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 1, 0, 1, 21, 2000, 0, 100, 25, 18, 1}},
    {"Uplifting HP", {1, 100, 50, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 1, 0, 1, 21, 2000, 0, 80, 25, 22, 1}},
    {"Uplifting BP", {2, 100, 50, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 1, 0, 1, 21, 2000, 0, 80, 25, 22, 1}},
    {"Vibrato", {1, 2000, 50, 0, 100, 0, 800, 500, 90, 700, 90, 0, 6, 1, 4, 0, 0, 0, 80, 0, 30, 25, 6, 1}},
    {"Vibrato Crescendo", {1, 2000, 50, 0, 100, 0, 3000, 1500, 90, 700, 90, 0, 6, 1, 4, 0, 0, 0, 80, 1, 30, 25, 3, 1}},
    {"Vibrato Sustain", {1, 2000, 50, 0, 100, 0, 2000, 500, 100, 700, 90, 0, 6, 1, 4, 0, 0, 0, 80, 1, 30, 25, 3, 1}},
    {"Tremolo", {1, 2000, 50, 0, 100, 0, 2000, 500, 100, 700, 90, 0, 6, 1, 4, 0, 0, 0, 150, 0, 30, 25, 6, 1}},
};
static_assert(sizeof kFactoryPresets / sizeof kFactoryPresets[0] == 23, "23 factory presets");
} // namespace

void CLS_KESTRANE::MakePresets()
{
  // Slot 0 is named but holds no values: selecting it changes nothing.
  NameFreePresets("---- default ----", 1);
  for (const FactoryPreset& preset : kFactoryPresets)
  {
    double values[kNumKestraneParams];
    for (int i = 0; i < kNumKestraneParams; ++i) values[i] = preset.values[i];
    MakePresetFromValues(preset.name, values, kNumKestraneParams);
  }
}
