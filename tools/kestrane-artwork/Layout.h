#pragma once

// Where the editor's controls sit (pixels of the 388 x 470 editor). The
// artwork paints names, tracks and wells around these places and must leave
// the controls' own drawing areas alone, so the numbers here are the
// editor's layout, not choices of the artwork.
namespace layout
{
constexpr int kWidth = 388;
constexpr int kHeight = 470;

struct Rect
{
  int L, T, R, B;
};

struct Knob
{
  const char* label;
  int cx, cy;       // centre given to the knob
  float ringWidth;  // thickness of its value ring (inner radius kRingRadius)
  bool accent;      // ring in the accent colour
  Rect readout;     // strip under the knob where its value is printed
};
constexpr float kRingRadius = 21.0f;

constexpr Knob kKnobs[] = {
    {"Freq", 92, 119, 3.9f, true, {63, 149, 121, 164}},
    {"Bandwidth", 160, 119, 3.8f, false, {133, 147, 187, 162}},
    {"Pan", 228, 119, 3.7f, false, {201, 147, 255, 162}},
    {"Mix", 296, 119, 3.6f, false, {269, 147, 323, 162}},
    {"Attack", 58, 212, 3.9f, false, {31, 240, 85, 255}},
    {"Decay", 126, 212, 3.8f, false, {99, 240, 153, 255}},
    {"Sustain", 194, 212, 3.7f, false, {167, 240, 221, 255}},
    {"Release", 262, 212, 3.6f, false, {235, 240, 289, 255}},
    {"Depth", 330, 212, 3.6f, true, {303, 240, 357, 255}},
    {"Rate", 181, 402, 3.8f, false, {154, 430, 208, 445}},
    {"Depth", 249, 402, 3.7f, true, {222, 430, 276, 445}},
    {"Start", 317, 402, 3.6f, false, {290, 430, 344, 445}},
};
constexpr int kKnobCount = static_cast<int>(sizeof(kKnobs) / sizeof(kKnobs[0]));

constexpr Rect kRoutingMap{26, 98, 54, 137};
constexpr Rect kFilterType{334, 98, 362, 137};   // three 28 x 13 buttons, top to bottom
constexpr Rect kEnvTargetFace{95, 263, 139, 277};
constexpr Rect kEnvTargetList{95, 276, 139, 336};
constexpr Rect kLfoTargetFace{277, 331, 321, 345};
constexpr Rect kLfoTargetList{277, 344, 321, 404};
constexpr Rect kEnvDirection{141, 261, 191, 277};
constexpr Rect kEnvSlider{44, 300, 134, 330};
constexpr Rect kEnvSliderHandles{48, 300, 130, 316};
constexpr Rect kLfoSlider{220, 295, 310, 325};
constexpr Rect kLfoSliderHandles{224, 295, 306, 311};
constexpr Rect kEnvComp{143, 302, 182, 325};
constexpr Rect kLfoComp{311, 297, 344, 320};
constexpr Rect kSync{41, 379, 75, 397};
constexpr Rect kChild{41, 399, 75, 421};
constexpr Rect kWaveImage{98, 386, 128, 416};
constexpr Rect kWaveReadout{83, 430, 143, 445};
constexpr Rect kVersion{224, 7, 261, 25};
constexpr Rect kWebLink{72, 7, 264, 54};
// Modulation markers: 6 x 2 pixels moving along these rows.
constexpr Rect kEnvMarkerRow{37, 333, 193, 335};
constexpr Rect kLfoMarkerRow{217, 270, 351, 272};
} // namespace layout
