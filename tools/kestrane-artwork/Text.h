#pragma once

#include <string>

#include "tools/kestrane-artwork/Canvas.h"

// Text for the artwork, rasterised by the plug-in's own font classes
// (fontconfig and FreeType underneath) and composited as coverage.
namespace art
{
struct Font
{
  const char* family = "DejaVu Sans";
  int em = 10;           // em height in pixels
  bool bold = false;
  float tracking = 0.0f; // extra pixels between characters
};

enum class Align
{
  Left,
  Centre,
  Right
};

// Throws std::runtime_error when fontconfig would substitute another family
// for the one asked for: artwork made with a stand-in font must not be
// written unnoticed.
struct TextMetrics
{
  int width = 0;     // advance width of the whole string, tracking included
  int capHeight = 0; // height of a capital H
};
TextMetrics Measure(const Font& font, const std::string& text);

// Draws text whose baseline is at y; x is its left edge, centre or right edge
// by the alignment.
void DrawText(Canvas& canvas, const Font& font, const std::string& text, float x, int baseline, Align align,
              const Paint& paint, float opacity = 1.0f);
// Centres the text's capitals vertically on cy.
void DrawTextCapCentred(Canvas& canvas, const Font& font, const std::string& text, float x, float cy,
                        Align align, const Paint& paint, float opacity = 1.0f);
} // namespace art
