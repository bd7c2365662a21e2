#pragma once

#include <functional>
#include <vector>

// Shapes of the artwork as signed distance fields: the distance in pixels
// from a point to the shape's edge, negative inside. A pixel's coverage is
// taken from the distance at its centre, which antialiases every edge by the
// same rule whatever the shape.
namespace art
{
struct Box
{
  float l = 0.0f, t = 0.0f, r = 0.0f, b = 0.0f;
};

struct Shape
{
  std::function<float(float x, float y)> distance;
  Box bounds; // every point inside lies within these
};

struct Point
{
  float x = 0.0f, y = 0.0f;
};

Shape Circle(float cx, float cy, float r);
// A rectangle with corners rounded by radius (0: sharp).
Shape RoundRect(float l, float t, float r, float b, float radius);
// A line of the given width with round ends.
Shape Line(float x0, float y0, float x1, float y1, float width);
// Connected line segments of the given width, round joins and ends.
Shape Polyline(const std::vector<Point>& points, float width);
// A filled polygon (even-odd rule), its edges antialiased.
Shape Polygon(const std::vector<Point>& points);
// The ring between two radii.
Shape Ring(float cx, float cy, float inner, float outer);
// The part of a ring from angle a0 to a1 (radians, 0 up, clockwise), with
// round ends.
Shape Arc(float cx, float cy, float radius, float a0, float a1, float width);

Shape Union(const Shape& a, const Shape& b);
Shape Intersect(const Shape& a, const Shape& b);
// a with b cut out.
Shape Subtract(const Shape& a, const Shape& b);
// Grown by d pixels (shrunk when negative).
Shape Grow(const Shape& s, float d);
Shape Offset(const Shape& s, float dx, float dy);

// Antialiased coverage (0..1) of a pixel whose centre has the distance d.
inline float CoverageOf(float d)
{
  return d <= -0.5f ? 1.0f : (d >= 0.5f ? 0.0f : 0.5f - d);
}
} // namespace art
