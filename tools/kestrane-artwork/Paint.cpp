#include "tools/kestrane-artwork/Paint.h"

#include <algorithm>
#include <cmath>

namespace art
{
Rgba Mix(const Rgba& a, const Rgba& b, float t)
{
  t = std::clamp(t, 0.0f, 1.0f);
  return Rgba{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Rgba Lighten(const Rgba& c, float amount)
{
  const Rgba target = amount >= 0.0f ? Rgba{255.0f, 255.0f, 255.0f, c.a} : Rgba{0.0f, 0.0f, 0.0f, c.a};
  return Mix(c, target, std::fabs(amount));
}

Paint Solid(Rgba c)
{
  return [c](float, float) { return c; };
}

Paint Linear(float x0, float y0, Rgba c0, float x1, float y1, Rgba c1)
{
  const float dx = x1 - x0, dy = y1 - y0;
  const float len2 = dx * dx + dy * dy;
  return [=](float x, float y) {
    const float t = len2 > 0.0f ? ((x - x0) * dx + (y - y0) * dy) / len2 : 0.0f;
    return Mix(c0, c1, t);
  };
}

Paint Radial(float cx, float cy, float r, Rgba c0, Rgba c1)
{
  return [=](float x, float y) {
    const float d = std::hypot(x - cx, y - cy);
    return Mix(c0, c1, r > 0.0f ? d / r : 1.0f);
  };
}
} // namespace art
