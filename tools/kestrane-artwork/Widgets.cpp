#include "tools/kestrane-artwork/Widgets.h"

#include <cmath>

namespace widgets
{
using namespace art;

Box Inset(const Box& b, float d)
{
  return Box{b.l + d, b.t + d, b.r - d, b.b - d};
}

namespace
{
Shape RoundBox(const Box& b, float radius)
{
  return RoundRect(b.l, b.t, b.r, b.b, radius);
}
} // namespace

void ButtonBody(Canvas& c, const Box& b, float radius, bool lit)
{
  const Box in = Inset(b, 1.0f);
  const Shape outer = RoundBox(b, radius), inner = RoundBox(in, radius - 1.0f);
  c.Fill(outer, Solid(lit ? Mix(theme::kButtonEdge, theme::kAccent, 0.35f) : theme::kButtonEdge));
  c.Fill(inner, lit ? Vertical(in.t, theme::kLitTop, in.b, theme::kLitBottom)
                    : Vertical(in.t, theme::kButtonTop, in.b, theme::kButtonBottom));
  // A hairline of light along the top edge gives the body its height.
  c.Fill(Subtract(inner, Offset(inner, 0.0f, 1.0f)), Solid(Rgb(255, 255, 255, lit ? 0.16f : 0.09f)));
  if (lit) c.InnerShadow(inner, 4.0f, 0.0f, 0.0f, WithAlpha(theme::kAccent, 0.35f));
}

void Well(Canvas& c, const Box& b, float radius)
{
  const Shape s = RoundBox(b, radius);
  c.Fill(s, Solid(theme::kWell));
  c.InnerShadow(s, 2.0f, 0.0f, 1.0f, Rgb(0, 0, 0, 0.7f));
  // The lower rim catches the light.
  c.Fill(Subtract(Grow(s, 1.0f), Offset(Grow(s, 1.0f), 0.0f, -1.0f)), Solid(Rgb(255, 255, 255, 0.07f)));
}

void ButtonText(Canvas& c, const Font& font, const std::string& text, float cx, float cy, bool lit)
{
  if (lit)
  {
    // The glow: the same text blurred, drawn first.
    const TextMetrics m = Measure(font, text);
    Canvas glow(m.width + 12, 24);
    DrawTextCapCentred(glow, font, text, static_cast<float>(glow.Width()) * 0.5f, 12.0f, Align::Centre,
                       Solid(theme::kAccent));
    Mask mask(glow.Width(), glow.Height());
    for (int y = 0; y < glow.Height(); ++y)
      for (int x = 0; x < glow.Width(); ++x) mask.At(x, y) = glow.Get(x, y).a;
    mask.Blur(2.5f);
    const int ox = static_cast<int>(std::lround(cx - static_cast<float>(glow.Width()) * 0.5f));
    const int oy = static_cast<int>(std::lround(cy - 12.0f));
    c.FillMask(mask, ox, oy, Solid(theme::kAccent), 0.8f);
  }
  DrawTextCapCentred(c, font, text, cx, cy, Align::Centre, Solid(lit ? theme::kAccentBright : theme::kOffText));
}

void SegmentedControl(Canvas& c, const Box& b, bool vertical, const std::vector<Segment>& segments,
                      const std::vector<float>& splits, float radius, const Font& font)
{
  ButtonBody(c, b, radius, false);
  const Box in = Inset(b, 1.0f);
  const Shape inner = RoundBox(in, radius - 1.0f);
  for (size_t i = 0; i < segments.size(); ++i)
  {
    const float from = i == 0 ? (vertical ? b.t : b.l) : splits[i - 1];
    const float to = i + 1 == segments.size() ? (vertical ? b.b : b.r) : splits[i];
    const Box seg = vertical ? Box{b.l, from, b.r, to} : Box{from, b.t, to, b.b};
    if (segments[i].lit)
    {
      const Shape clip = Intersect(inner, RoundRect(seg.l, seg.t, seg.r, seg.b, 0.0f));
      c.Fill(clip, Vertical(seg.t, theme::kLitTop, seg.b, theme::kLitBottom));
      c.InnerShadow(clip, 3.0f, 0.0f, 0.0f, WithAlpha(theme::kAccent, 0.45f));
    }
    if (i > 0)
    {
      // Divider: a dark line with a faint light line after it.
      const Shape line = vertical ? RoundRect(b.l + 1, from, b.r - 1, from + 1, 0) : RoundRect(from, b.t + 1, from + 1, b.b - 1, 0);
      c.Fill(line, Solid(theme::kButtonEdge));
    }
    ButtonText(c, font, segments[i].text, (seg.l + seg.r) * 0.5f + (vertical ? 0.0f : 0.5f),
               (seg.t + seg.b) * 0.5f + (vertical && i > 0 ? 0.5f : 0.0f), segments[i].lit);
  }
}

void Label(Canvas& c, const std::string& text, float x, float cy, Align align)
{
  DrawTextCapCentred(c, theme::LabelFont(), text, x, cy, align, Solid(theme::kLabel));
}
} // namespace widgets

namespace widgets
{
void GroupLabel(Canvas& c, const std::string& text, float x, float cy, float right)
{
  Label(c, text, x, cy, Align::Left);
  const float from = x + static_cast<float>(Measure(theme::LabelFont(), text).width) + 5.0f;
  const float y = std::floor(cy) + 0.5f;
  const Rgba line = WithAlpha(theme::kLabelDim, 0.55f);
  c.Fill(Line(from, y, right - 0.5f, y, 1.0f), Solid(line));
  c.Fill(Line(right - 0.5f, y, right - 0.5f, y + 4.0f, 1.0f), Solid(line));
}
} // namespace widgets
