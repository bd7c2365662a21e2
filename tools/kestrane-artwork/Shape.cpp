#include "tools/kestrane-artwork/Shape.h"

#include <algorithm>
#include <cmath>

namespace art
{
namespace
{
constexpr float kPi = 3.14159265358979f;

float SegmentDistance(float px, float py, float ax, float ay, float bx, float by)
{
  const float dx = bx - ax, dy = by - ay;
  const float len2 = dx * dx + dy * dy;
  const float t = len2 > 0.0f ? std::clamp(((px - ax) * dx + (py - ay) * dy) / len2, 0.0f, 1.0f) : 0.0f;
  return std::hypot(px - (ax + dx * t), py - (ay + dy * t));
}

Box Around(const std::vector<Point>& pts, float margin)
{
  Box b{1e9f, 1e9f, -1e9f, -1e9f};
  for (const Point& p : pts)
  {
    b.l = std::min(b.l, p.x - margin);
    b.t = std::min(b.t, p.y - margin);
    b.r = std::max(b.r, p.x + margin);
    b.b = std::max(b.b, p.y + margin);
  }
  return b;
}

Box Grown(Box b, float d)
{
  return Box{b.l - d, b.t - d, b.r + d, b.b + d};
}
} // namespace

Shape Circle(float cx, float cy, float r)
{
  return Shape{[=](float x, float y) { return std::hypot(x - cx, y - cy) - r; },
               Box{cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1}};
}

Shape RoundRect(float l, float t, float r, float b, float radius)
{
  const float hw = (r - l) * 0.5f, hh = (b - t) * 0.5f;
  const float cx = l + hw, cy = t + hh;
  const float rad = std::clamp(radius, 0.0f, std::min(hw, hh));
  return Shape{[=](float x, float y) {
                 const float qx = std::fabs(x - cx) - (hw - rad), qy = std::fabs(y - cy) - (hh - rad);
                 const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
                 return outside + std::min(std::max(qx, qy), 0.0f) - rad;
               },
               Box{l - 1, t - 1, r + 1, b + 1}};
}

Shape Line(float x0, float y0, float x1, float y1, float width)
{
  return Polyline({{x0, y0}, {x1, y1}}, width);
}

Shape Polyline(const std::vector<Point>& points, float width)
{
  const float half = width * 0.5f;
  return Shape{[points, half](float x, float y) {
                 float d = 1e9f;
                 for (size_t i = 0; i + 1 < points.size(); ++i)
                   d = std::min(d, SegmentDistance(x, y, points[i].x, points[i].y, points[i + 1].x, points[i + 1].y));
                 if (points.size() == 1) d = std::hypot(x - points[0].x, y - points[0].y);
                 return d - half;
               },
               Around(points, half + 1)};
}

Shape Polygon(const std::vector<Point>& points)
{
  return Shape{[points](float x, float y) {
                 float d = 1e9f;
                 bool inside = false;
                 const size_t n = points.size();
                 for (size_t i = 0, j = n - 1; i < n; j = i++)
                 {
                   const Point& a = points[i];
                   const Point& b = points[j];
                   d = std::min(d, SegmentDistance(x, y, a.x, a.y, b.x, b.y));
                   if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
                 }
                 return inside ? -d : d;
               },
               Around(points, 1)};
}

Shape Ring(float cx, float cy, float inner, float outer)
{
  const float mid = (inner + outer) * 0.5f, half = (outer - inner) * 0.5f;
  return Shape{[=](float x, float y) { return std::fabs(std::hypot(x - cx, y - cy) - mid) - half; },
               Box{cx - outer - 1, cy - outer - 1, cx + outer + 1, cy + outer + 1}};
}

Shape Arc(float cx, float cy, float radius, float a0, float a1, float width)
{
  const float half = width * 0.5f;
  const float mid = (a0 + a1) * 0.5f, span = (a1 - a0) * 0.5f;
  return Shape{[=](float x, float y) {
                 // Angle measured from the arc's middle, 0 up and clockwise.
                 const float a = std::atan2(x - cx, -(y - cy));
                 float rel = std::remainder(a - mid, 2.0f * kPi);
                 if (std::fabs(rel) <= span) return std::fabs(std::hypot(x - cx, y - cy) - radius) - half;
                 // Beyond the arc: the distance to the nearer end's cap.
                 const float e = rel > 0.0f ? a1 : a0;
                 const float ex = cx + radius * std::sin(e), ey = cy - radius * std::cos(e);
                 return std::hypot(x - ex, y - ey) - half;
               },
               Box{cx - radius - half - 1, cy - radius - half - 1, cx + radius + half + 1, cy + radius + half + 1}};
}

Shape Union(const Shape& a, const Shape& b)
{
  return Shape{[a, b](float x, float y) { return std::min(a.distance(x, y), b.distance(x, y)); },
               Box{std::min(a.bounds.l, b.bounds.l), std::min(a.bounds.t, b.bounds.t),
                   std::max(a.bounds.r, b.bounds.r), std::max(a.bounds.b, b.bounds.b)}};
}

Shape Intersect(const Shape& a, const Shape& b)
{
  return Shape{[a, b](float x, float y) { return std::max(a.distance(x, y), b.distance(x, y)); },
               Box{std::max(a.bounds.l, b.bounds.l), std::max(a.bounds.t, b.bounds.t),
                   std::min(a.bounds.r, b.bounds.r), std::min(a.bounds.b, b.bounds.b)}};
}

Shape Subtract(const Shape& a, const Shape& b)
{
  return Shape{[a, b](float x, float y) { return std::max(a.distance(x, y), -b.distance(x, y)); }, a.bounds};
}

Shape Grow(const Shape& s, float d)
{
  return Shape{[s, d](float x, float y) { return s.distance(x, y) - d; }, Grown(s.bounds, std::max(d, 0.0f))};
}

Shape Offset(const Shape& s, float dx, float dy)
{
  return Shape{[s, dx, dy](float x, float y) { return s.distance(x - dx, y - dy); },
               Box{s.bounds.l + dx, s.bounds.t + dy, s.bounds.r + dx, s.bounds.b + dy}};
}
} // namespace art
