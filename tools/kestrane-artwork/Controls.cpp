// The images the controls draw over the background.
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "tools/kestrane-artwork/Artwork.h"
#include "tools/kestrane-artwork/Layout.h"
#include "tools/kestrane-artwork/Theme.h"
#include "tools/kestrane-artwork/Widgets.h"

namespace artwork
{
using namespace art;

namespace
{
constexpr float kPi = 3.14159265358979f;

// A picture made over the background at a control's place, for the images
// without alpha: their corners then match the panel exactly.
Canvas OverBackground(const Canvas& bg, const layout::Rect& r)
{
  return bg.Crop(r.L, r.T, r.R - r.L, r.B - r.T);
}

// A line with a soft glow of its own colour under it.
void GlowingLine(Canvas& c, const Shape& line, const Rgba& colour, float glow)
{
  Canvas halo(c.Width(), c.Height());
  halo.Fill(Grow(line, 0.6f), Solid(colour));
  Mask m(c.Width(), c.Height());
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) m.At(x, y) = halo.Get(x, y).a;
  m.Blur(2.5f);
  c.FillMask(m, 0, 0, Solid(colour), glow);
  c.Fill(line, Solid(colour));
}
} // namespace

// ---- Knob ----

Canvas Knob()
{
  // The ring is drawn around the pixel (27, 27) of the image, whose centre is
  // at 27.5; the turning cap turns about the image's middle, 27.0. Both stay
  // well inside radius 20.5, where the value ring begins.
  const float ring = 27.5f, turn = 27.0f;
  Canvas cap(54, 54), base(54, 54);

  // Base (drawn first, never turned): the cap's shadow on the panel.
  base.Shadow(Circle(ring, ring, 17.2f), 3.0f, 0.0f, 1.6f, Rgb(0, 0, 0, 0.85f));
  base.ClipTo(Circle(ring, ring, 19.9f));

  // Cap: shading that looks the same at every angle, and the pointer.
  cap.Fill(Circle(turn, turn, 17.5f), Solid(Rgb(20, 22, 25)));
  cap.Fill(Circle(turn, turn, 16.6f), Radial(turn, turn, 16.6f, Rgb(72, 77, 86), Rgb(50, 54, 61)));
  cap.Fill(Ring(turn, turn, 13.6f, 14.4f), Solid(Rgb(0, 0, 0, 0.28f)));
  cap.Fill(Ring(turn, turn, 14.4f, 15.0f), Solid(Rgb(255, 255, 255, 0.06f)));
  cap.Fill(Circle(turn, turn, 13.6f), Radial(turn, turn, 13.6f, Rgb(66, 70, 79), Rgb(57, 61, 69)));
  cap.Fill(Line(turn, turn - 5.5f, turn, turn - 13.2f, 2.4f), Solid(Rgb(244, 246, 250)));
  cap.BleedIntoTransparent();

  Canvas knob(108, 54);
  knob.Replace(cap, 0, 0);
  knob.Replace(base, 54, 0);
  return knob;
}

// ---- Slider handle ----

Canvas SliderHandle()
{
  Canvas h(16, 16);
  h.Shadow(Circle(8.0f, 8.0f, 6.2f), 2.0f, 0.0f, 1.0f, Rgb(0, 0, 0, 0.8f));
  h.Fill(Circle(8.0f, 8.0f, 6.6f), Solid(Rgb(16, 17, 20)));
  h.Fill(Circle(8.0f, 8.0f, 5.8f), Vertical(2.0f, Rgb(236, 239, 243), 14.0f, Rgb(168, 174, 183)));
  h.Fill(Circle(8.0f, 8.0f, 2.0f), Solid(Rgb(96, 102, 112)));
  h.ClipTo(RoundRect(0, 0, 16, 16, 0));
  return h;
}

// ---- LFO waves ----

namespace
{
// One period of each wave, as the LFO computes it: phase 0..1 to level 0..1.
float WaveLevel(int wave, float p)
{
  switch (wave)
  {
  case 0: return 0.5f - 0.5f * std::cos(2.0f * kPi * p);            // raised cosine
  case 1: return p < 0.5f ? 2.0f * p : 2.0f * (1.0f - p);            // triangle
  case 2: return p < 2.0f / 3.0f ? 1.5f * p : 3.0f * (1.0f - p);     // slow rise, quick fall
  case 3: return p < 1.0f / 3.0f ? 3.0f * p : 1.5f * (1.0f - p);     // quick rise, slow fall
  case 4: return std::sin(kPi * p);                                  // arches
  default: return 1.0f - std::sin(kPi * p);                          // arches upside down
  }
}
} // namespace

Canvas Waves()
{
  Canvas strip(180, 30);
  for (int wave = 0; wave < 6; ++wave)
  {
    Canvas f(30, 30);
    // Sine and triangle: one period from the middle, the way they are
    // usually drawn, so curve and corner tell them apart; the others two
    // periods, so their ramps and arches repeat.
    const bool single = wave <= 1;
    const float periods = single ? 1.0f : 2.0f, startPhase = single ? 0.25f : 0.0f;
    const float x0 = 4.0f, x1 = 26.0f, top = 8.5f, bottom = 21.5f;
    std::vector<Point> pts;
    const int steps = 160;
    for (int i = 0; i <= steps; ++i)
    {
      const float t = static_cast<float>(i) / steps;
      float phase = startPhase + t * periods;
      phase -= std::floor(phase);
      // The last point closes the final period instead of restarting it.
      if (i == steps && !single) phase = 1.0f;
      pts.push_back({x0 + (x1 - x0) * t, bottom - (bottom - top) * WaveLevel(wave, phase)});
    }
    GlowingLine(f, Polyline(pts, 1.6f), theme::kAccent, 0.45f);
    strip.Replace(f, wave * 30, 0);
  }
  return strip;
}

// ---- Filter type buttons ----

void looks::FilterType(Canvas& c, int x, int y, bool lit)
{
  const float l = static_cast<float>(x), t = static_cast<float>(y);
  widgets::SegmentedControl(c, Box{l, t, l + 28, t + 39}, true,
                            {{"LP", lit}, {"HP", lit}, {"BP", lit}}, {t + 13, t + 26}, 4.0f, theme::SmallBoldFont());
}

Canvas FilterTypeLit(const Canvas& bg)
{
  Canvas c = OverBackground(bg, layout::kFilterType);
  looks::FilterType(c, 0, 0, true);
  return c;
}

// ---- Envelope direction ----

void looks::Direction(Canvas& c, int x, int y, bool down)
{
  const float l = static_cast<float>(x), t = static_cast<float>(y);
  widgets::SegmentedControl(c, Box{l, t, l + 50, t + 16}, false, {{"Up", !down}, {"Down", down}}, {l + 19}, 4.0f,
                            theme::LabelFont());
}

Canvas DirectionDown(const Canvas& bg)
{
  Canvas c = OverBackground(bg, layout::kEnvDirection);
  looks::Direction(c, 0, 0, true);
  return c;
}

// ---- Sync and child buttons ----

void looks::Sync(Canvas& c, int x, int y, bool lit)
{
  const float l = static_cast<float>(x), t = static_cast<float>(y);
  widgets::ButtonBody(c, Box{l, t, l + 34, t + 18}, 4.0f, lit);
  widgets::ButtonText(c, theme::SmallBoldFont(), "SYNC", l + 17.5f, t + 9.0f, lit);
}

void looks::Child(Canvas& c, int x, int y, bool lit)
{
  const float l = static_cast<float>(x), t = static_cast<float>(y);
  widgets::ButtonBody(c, Box{l, t, l + 34, t + 22}, 4.0f, lit);
  widgets::ButtonText(c, theme::SmallBoldFont(), "ENV", l + 17.5f, t + 7.0f, lit);
  widgets::ButtonText(c, theme::SmallBoldFont(), "CHILD", l + 17.5f, t + 15.5f, lit);
}

Canvas SyncLit(const Canvas& bg)
{
  Canvas c = OverBackground(bg, layout::kSync);
  looks::Sync(c, 0, 0, true);
  return c;
}

Canvas ChildLit(const Canvas& bg)
{
  Canvas c = OverBackground(bg, layout::kChild);
  looks::Child(c, 0, 0, true);
  return c;
}

// ---- Compensation switches ----

Canvas Compensation(int width)
{
  const char* const names[] = {"Left", "Right", "Both"};
  Canvas strip(width, 69);
  for (int frame = 0; frame < 3; ++frame)
  {
    Canvas f(width, 23);
    const float w = static_cast<float>(width);
    widgets::ButtonBody(f, Box{0, 0, w, 23}, 4.0f, false);
    // The gain across the modulation range: raised at the low end, the high
    // end or both.
    const float cx = w * 0.5f, x0 = cx - 7.0f, x1 = cx + 7.0f, hi = 4.5f, lo = 9.0f;
    std::vector<Point> curve;
    if (frame == 0) curve = {{x0, hi}, {x1, lo}};
    else if (frame == 1) curve = {{x0, lo}, {x1, hi}};
    else curve = {{x0, hi}, {cx, lo}, {x1, hi}};
    f.Fill(Line(x0 - 1.5f, lo + 1.5f, x1 + 1.5f, lo + 1.5f, 1.0f), Solid(Rgb(255, 255, 255, 0.12f)));
    f.Fill(Polyline(curve, 1.4f), Solid(theme::kAccent));
    DrawTextCapCentred(f, theme::LabelFont(), names[frame], cx + 0.5f, 16.0f, Align::Centre,
                       Solid(Rgb(214, 219, 226)));
    strip.Replace(f, 0, frame * 23);
  }
  return strip;
}

// ---- Target lists ----

namespace
{
const char* const kTargetNames[] = {"None", "Freq", "Width", "Pan", "Mix"};
}

Canvas TargetFaces()
{
  Canvas strip(44, 60);
  for (int entry = 0; entry < 5; ++entry)
  {
    // The face shows 11 of its 12 rows; the last stays empty.
    Canvas f(44, 12);
    const Shape body = RoundRect(0, 0, 44, 11, 3.0f);
    f.Fill(body, Solid(theme::kButtonEdge));
    f.Fill(RoundRect(1, 1, 43, 10, 2.0f), Vertical(1, theme::kButtonTop, 10, theme::kButtonBottom));
    f.Fill(Subtract(RoundRect(1, 1, 43, 10, 2.0f), RoundRect(1, 2, 43, 11, 2.0f)), Solid(Rgb(255, 255, 255, 0.09f)));
    const bool assigned = entry != 0;
    DrawTextCapCentred(f, theme::LabelFont(), kTargetNames[entry], 5.0f, 5.5f, Align::Left,
                       Solid(assigned ? theme::kAccentBright : theme::kOffText));
    f.Fill(Polygon({{35.5f, 4.0f}, {40.5f, 4.0f}, {38.0f, 7.0f}}), Solid(theme::kLabel));
    strip.Replace(f, 0, entry * 12);
  }
  return strip;
}

Canvas TargetList()
{
  Canvas c(44, 60, Rgb(48, 52, 60));
  c.Fill(RoundRect(0, 0, 44, 60, 0), Solid(Rgb(52, 56, 64)));
  for (int entry = 0; entry < 5; ++entry)
  {
    const float top = static_cast<float>(entry * 12);
    if (entry > 0) c.Fill(RoundRect(3, top, 41, top + 1, 0), Solid(Rgb(255, 255, 255, 0.07f)));
    DrawTextCapCentred(c, theme::LabelFont(), kTargetNames[entry], 5.0f, top + 6.0f, Align::Left,
                       Solid(entry == 0 ? theme::kOffText : Rgb(222, 226, 232)));
  }
  // Frame: dark outline, light inner edge at the top.
  c.Fill(Subtract(RoundRect(0, 0, 44, 60, 0), RoundRect(1, 1, 43, 59, 0)), Solid(Rgb(14, 15, 18)));
  return c;
}

// ---- Routing map ----

Canvas RoutingMap(const Canvas& bg)
{
  // Frames: nothing; envelope; LFO; LFO on the envelope without a target
  // of the envelope's own; both on separate targets; both with the LFO on
  // the envelope.
  struct Routing
  {
    bool env, lfo, child;
  };
  const Routing routings[] = {{false, false, false}, {true, false, false}, {false, true, false},
                              {false, true, true},   {true, true, false},  {true, true, true}};
  Canvas strip(168, 39);
  for (int frame = 0; frame < 6; ++frame)
  {
    const Routing& r = routings[frame];
    // The display's well is part of the background.
    Canvas f = OverBackground(bg, layout::kRoutingMap);
    const Rgba on = theme::kAccent, off = Rgb(70, 75, 84);
    const float ex = 8.5f, lx = 19.5f, nodeY = 8.5f, targetY = 31.5f;
    const bool envUsed = r.env || r.child;
    // Sources: E and L.
    widgets::ButtonText(f, theme::SmallBoldFont(), "E", ex + 0.5f, nodeY, envUsed);
    widgets::ButtonText(f, theme::SmallBoldFont(), "L", lx + 0.5f, nodeY, r.lfo);
    // Paths to the targets, and the targets themselves.
    auto target = [&](float x, bool used) {
      if (used)
        GlowingLine(f, RoundRect(x - 2.5f, targetY - 2.5f, x + 2.5f, targetY + 2.5f, 1.0f), on, 0.4f);
      else
        f.Fill(Subtract(RoundRect(x - 2.5f, targetY - 2.5f, x + 2.5f, targetY + 2.5f, 1.0f),
                        RoundRect(x - 1.5f, targetY - 1.5f, x + 1.5f, targetY + 1.5f, 0.5f)),
               Solid(off));
    };
    if (r.env) GlowingLine(f, Line(ex, nodeY + 6.0f, ex, targetY - 4.5f, 1.3f), on, 0.35f);
    if (r.lfo) GlowingLine(f, Line(lx, nodeY + 6.0f, lx, targetY - 4.5f, 1.3f), on, 0.35f);
    // The envelope shaping the LFO: a branch from E into the LFO's path.
    if (r.child) GlowingLine(f, Polyline({{ex + 1.5f, nodeY + 6.0f}, {lx - 1.0f, nodeY + 13.5f}}, 1.3f), on, 0.35f);
    target(ex, r.env);
    target(lx, r.lfo);
    strip.Replace(f, frame * 28, 0);
  }
  return strip;
}
} // namespace artwork
