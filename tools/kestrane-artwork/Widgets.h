#pragma once

#include <string>
#include <vector>

#include "tools/kestrane-artwork/Canvas.h"
#include "tools/kestrane-artwork/Theme.h"

// Looks shared by several images, so that a button lit in a control's image
// and the same button unlit on the background are drawn by one piece of code.
namespace widgets
{
using art::Box;
using art::Canvas;

art::Box Inset(const art::Box& b, float d);

// A raised button body filling box (edges on pixel boundaries), lit (accent
// glass) or not.
void ButtonBody(Canvas& c, const Box& b, float radius, bool lit);
// A recessed well: displays, tracks and grooves.
void Well(Canvas& c, const Box& b, float radius);

// A row or column of buttons sharing one body; lit[i] says which shine.
// Segments split the long side at the given pixel offsets.
struct Segment
{
  std::string text;
  bool lit = false;
};
void SegmentedControl(Canvas& c, const Box& b, bool vertical, const std::vector<Segment>& segments,
                      const std::vector<float>& splits, float radius, const art::Font& font);

// Text lit (accent, with a faint glow) or unlit, capitals centred on cy.
void ButtonText(Canvas& c, const art::Font& font, const std::string& text, float cx, float cy, bool lit);

// A control name in the label colour, capitals centred on cy.
void Label(Canvas& c, const std::string& text, float x, float cy, art::Align align = art::Align::Centre);
// A name heading a group of controls: the name at x, then a hairline on to
// right, ending in a short tick down toward the group's last control.
void GroupLabel(Canvas& c, const std::string& text, float x, float cy, float right);
} // namespace widgets
