#pragma once

#include "tools/kestrane-artwork/Paint.h"
#include "tools/kestrane-artwork/Text.h"

// The panel's palette and type. One place, so every image agrees.
namespace theme
{
using art::Rgb;

// Surfaces, dark to light.
constexpr art::Rgba kBackdropTop = Rgb(27, 29, 34);
constexpr art::Rgba kBackdropBottom = Rgb(17, 18, 22);
constexpr art::Rgba kPanelTop = Rgb(40, 43, 50);
constexpr art::Rgba kPanelBottom = Rgb(33, 36, 42);
constexpr art::Rgba kPanelEdge = Rgb(13, 14, 17);
constexpr art::Rgba kSpine = Rgb(28, 31, 37);
constexpr art::Rgba kWell = Rgb(15, 16, 19);     // recessed displays and grooves
constexpr art::Rgba kWellEdge = Rgb(58, 62, 70); // their lit lower rim

// Controls.
constexpr art::Rgba kButtonTop = Rgb(56, 60, 68);
constexpr art::Rgba kButtonBottom = Rgb(43, 46, 53);
constexpr art::Rgba kButtonEdge = Rgb(14, 15, 18);
constexpr art::Rgba kLitTop = Rgb(33, 78, 104);
constexpr art::Rgba kLitBottom = Rgb(24, 58, 79);

// The editor's accent (the value rings of the main knobs) and its relatives.
constexpr art::Rgba kAccent = Rgb(100, 200, 255);
constexpr art::Rgba kAccentBright = Rgb(170, 226, 255);

// Type colours.
constexpr art::Rgba kLabel = Rgb(156, 164, 176);
constexpr art::Rgba kLabelDim = Rgb(104, 110, 121);
constexpr art::Rgba kTitle = Rgb(226, 230, 236);
constexpr art::Rgba kOffText = Rgb(124, 131, 142);

// Type. DejaVu Sans is hinted for small sizes and ships with every Linux
// desktop; the product name uses its light cut.
inline art::Font LabelFont() { return art::Font{"DejaVu Sans", 9, false, 0.0f}; }
inline art::Font SmallBoldFont() { return art::Font{"DejaVu Sans", 8, true, 0.4f}; }
inline art::Font SectionFont() { return art::Font{"DejaVu Sans", 9, true, 1.6f}; }
inline art::Font TitleFont() { return art::Font{"DejaVu Sans", 25, false, 0.0f}; }
inline art::Font MakerFont() { return art::Font{"DejaVu Sans", 8, true, 2.2f}; }
} // namespace theme
