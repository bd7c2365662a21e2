// The background: everything that never changes, and the unlit look of the
// controls that draw only their lit state.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "tools/kestrane-artwork/Artwork.h"
#include "tools/kestrane-artwork/Layout.h"
#include "tools/kestrane-artwork/Theme.h"
#include "tools/kestrane-artwork/Widgets.h"

namespace artwork
{
using namespace art;

namespace
{
constexpr float kDeg = 3.14159265358979f / 180.0f;

Shape RectShape(float l, float t, float r, float b, float radius = 0.0f)
{
  return RoundRect(l, t, r, b, radius);
}

// A section: a raised plate with a strip down its left edge that carries the
// section's name, read upward.
struct Section
{
  Shape plate;
  float top, bottom;         // vertical extent, for the plate's shading
  float spineTop, spineBottom;
  const char* title;
};

void DrawPlate(Canvas& c, const Section& s)
{
  c.Shadow(s.plate, 4.0f, 0.0f, 1.5f, Rgb(0, 0, 0, 0.55f));
  c.Fill(s.plate, Solid(theme::kPanelEdge));
  const Shape inner = Grow(s.plate, -1.0f);
  c.Fill(inner, Vertical(s.top, theme::kPanelTop, s.bottom, theme::kPanelBottom));
  c.Fill(Subtract(inner, Offset(inner, 0.0f, 1.0f)), Solid(Rgb(255, 255, 255, 0.06f)));

  // Spine with the title.
  const Shape spine = Intersect(inner, RectShape(0, s.spineTop, 20, s.spineBottom));
  c.Fill(spine, Solid(theme::kSpine));
  c.Fill(RectShape(20, s.spineTop + 1, 21, s.spineBottom - 1), Solid(Rgb(0, 0, 0, 0.45f)));
  c.Fill(RectShape(21, s.spineTop + 1, 22, s.spineBottom - 1), Solid(Rgb(255, 255, 255, 0.04f)));
  const Font font = theme::SectionFont();
  const int w = Measure(font, s.title).width + 8;
  Canvas text(w, 14);
  DrawTextCapCentred(text, font, s.title, static_cast<float>(w) * 0.5f, 7.0f, Align::Centre,
                     Solid(theme::kAccent));
  const Canvas upright = text.RotatedLeft();
  c.Draw(upright, 6, static_cast<int>(std::lround((s.spineTop + s.spineBottom) * 0.5f - w * 0.5f)));
}

// The groove a knob's value ring runs in, and the knob's name above it.
void KnobPlace(Canvas& c, const layout::Knob& k, bool label = true)
{
  // The ring is centred on the pixel (cx, cy), i.e. at cx + 0.5.
  const float x = static_cast<float>(k.cx) + 0.5f, y = static_cast<float>(k.cy) + 0.5f;
  const float mid = layout::kRingRadius + k.ringWidth * 0.5f - 0.5f;
  const Shape groove = Arc(x, y, mid, -150.0f * kDeg, 150.0f * kDeg, k.ringWidth + 1.6f);
  c.Fill(groove, Solid(theme::kWell));
  c.InnerShadow(groove, 1.5f, 0.0f, 0.8f, Rgb(0, 0, 0, 0.6f));
  if (!label) return;
  // Centred over the knob even where an open target list covers it for a
  // moment: a name beside its knob would read as another control's.
  widgets::Label(c, k.label, x, static_cast<float>(k.cy) - 33.0f);
}

void Groove(Canvas& c, float l, float t, float r, float b)
{
  widgets::Well(c, Box{l, t, r, b}, (b - t) * 0.5f);
}

// A modulation marker's track: a thin groove with small stops at the ends of
// the range, where the marker sits at the range's low and high ends.
void MarkerTrack(Canvas& c, const layout::Rect& row)
{
  const float l = static_cast<float>(row.L), r = static_cast<float>(row.R);
  const float t = static_cast<float>(row.T), b = static_cast<float>(row.B);
  Groove(c, l - 1, t - 1, r + 1, b + 1);
  const Rgba stop = WithAlpha(theme::kLabelDim, 0.8f);
  c.Fill(RoundRect(l - 1, t - 4, l, t - 2, 0), Solid(stop));
  c.Fill(RoundRect(r, t - 4, r + 1, t - 2, 0), Solid(stop));
}

void Header(Canvas& c)
{
  // Emblem: a resonant low-pass response, as a filter display shows it, in
  // a round badge.
  const float ex = 30.0f, ey = 29.0f, er = 15.0f;
  c.Shadow(Circle(ex, ey, er + 1.0f), 3.0f, 0.0f, 1.5f, Rgb(0, 0, 0, 0.6f));
  c.Fill(Circle(ex, ey, er + 1.0f), Solid(theme::kPanelEdge));
  c.Fill(Circle(ex, ey, er), Vertical(ey - er, theme::kWell, ey + er, Rgb(24, 26, 31)));
  std::vector<Point> curve;
  const float left = ex - er, right = ex + er, flat = ey - 1.0f;
  for (int i = 0; i <= 80; ++i)
  {
    const float t = static_cast<float>(i) / 80.0f;
    const float f = std::pow(10.0f, (t - 0.55f) * 1.6f); // frequency relative to the cutoff
    const float q = 3.0f;
    const float mag = 1.0f / std::sqrt((1 - f * f) * (1 - f * f) + (f / q) * (f / q));
    const float db = std::clamp(20.0f * std::log10(mag), -24.0f, 12.0f);
    curve.push_back({left + (right - left) * t, flat - db * 0.7f});
  }
  std::vector<Point> area = curve;
  area.push_back({right, ey + er + 2.0f});
  area.push_back({left, ey + er + 2.0f});
  Canvas badge(64, 60);
  badge.Fill(Polygon(area),
             Vertical(flat - 6.0f, WithAlpha(theme::kAccent, 0.8f), ey + er, WithAlpha(theme::kAccent, 0.1f)));
  badge.Shadow(Polyline(curve, 1.8f), 3.0f, 0.0f, 0.0f, WithAlpha(theme::kAccent, 0.6f));
  badge.Fill(Polyline(curve, 1.8f), Solid(theme::kAccentBright));
  badge.ClipTo(Circle(ex, ey, er - 0.5f));
  c.Draw(badge, 0, 0);

  // Product name in the web-link area; the version sits at its top right.
  DrawText(c, theme::TitleFont(), "Kestrane", 78.0f, 38, Align::Left, Solid(theme::kTitle));
  // Maker and kind, right-aligned with the plates.
  DrawTextCapCentred(c, theme::MakerFont(), "OLVENDU", 382.0f, 24.0f, Align::Right, Solid(theme::kLabel));
  DrawTextCapCentred(c, theme::LabelFont(), "stereo resonant filter", 382.0f, 38.0f, Align::Right,
                     Solid(theme::kLabelDim));
}

// A faint, fixed grain over the whole panel, so the large dark areas do not
// show gradient banding.
void Grain(Canvas& c)
{
  uint32_t state = 0x4B455354u;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x)
    {
      state = state * 1664525u + 1013904223u;
      const float n = (static_cast<float>(state >> 24) / 255.0f - 0.5f) * 2.2f;
      Rgba p = c.Get(x, y);
      p.r += n, p.g += n, p.b += n;
      c.Set(x, y, p);
    }
}
} // namespace

Canvas Background()
{
  using namespace layout;
  Canvas c(kWidth, kHeight, theme::kBackdropBottom);
  c.Fill(RectShape(0, 0, kWidth, kHeight), Vertical(0, theme::kBackdropTop, kHeight, theme::kBackdropBottom));

  Header(c);

  const Section filter{RectShape(6, 58, 382, 168, 6), 58, 168, 59, 167, "FILTER"};
  const Section envelope{Union(RectShape(6, 172, 382, 258, 6), RectShape(6, 250, 206, 344, 6)), 172, 344, 173, 343,
                         "ENVELOPE"};
  const Section lfo{Union(RectShape(210, 262, 382, 356, 6), RectShape(6, 348, 382, 464, 6)), 262, 464, 349, 463,
                    "LFO"};
  for (const Section* s : {&filter, &envelope, &lfo}) DrawPlate(c, *s);

  for (const layout::Knob& k : kKnobs) KnobPlace(c, k);

  // Filter: routing display and type buttons.
  widgets::Label(c, "Route", 40.5f, 86.0f);
  widgets::Well(c, Box{static_cast<float>(kRoutingMap.L), static_cast<float>(kRoutingMap.T),
                       static_cast<float>(kRoutingMap.R), static_cast<float>(kRoutingMap.B)},
                4.0f);
  widgets::Label(c, "Type", 348.5f, 86.0f);
  looks::FilterType(c, kFilterType.L, kFilterType.T, false);

  // Envelope: target, direction, volume compensation, modulation track.
  widgets::Label(c, "Target", 91.0f, 270.0f, Align::Right);
  looks::Direction(c, kEnvDirection.L, kEnvDirection.T, false);
  widgets::Label(c, "Direction", 166.0f, 284.0f);
  widgets::GroupLabel(c, "Vol Comp", 48.0f, 294.0f, 182.0f);
  Groove(c, 47, 304, 131, 312);
  MarkerTrack(c, kEnvMarkerRow);

  // LFO: modulation track, volume compensation, target, wave, sync.
  MarkerTrack(c, kLfoMarkerRow);
  // This block sits beside the envelope's: its names say it belongs to the LFO.
  widgets::GroupLabel(c, "LFO Vol Comp", 224.0f, 288.0f, 344.0f);
  Groove(c, 223, 299, 307, 307);
  widgets::Label(c, "LFO Target", 273.0f, 338.0f, Align::Right);
  widgets::Well(c, Box{98, 386, 128, 416}, 5.0f);
  widgets::Label(c, "Wave", 113.0f, 369.0f);
  looks::Sync(c, kSync.L, kSync.T, false);
  looks::Child(c, kChild.L, kChild.T, false);

  Grain(c);
  return c;
}
} // namespace artwork
