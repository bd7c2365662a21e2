#pragma once

#include <algorithm>

// Integer rectangle: left, top, right, bottom, with right and bottom outside.
// A rectangle with all four values 0 is the empty rectangle.
struct IRECT
{
  int L = 0;
  int T = 0;
  int R = 0;
  int B = 0;

  IRECT() = default;
  IRECT(int l, int t, int r, int b) : L(l), T(t), R(r), B(b) {}

  int W() const { return R - L; }
  int H() const { return B - T; }
  bool Empty() const { return L == 0 && T == 0 && R == 0 && B == 0; }

  bool operator==(const IRECT& o) const { return L == o.L && T == o.T && R == o.R && B == o.B; }
  bool operator!=(const IRECT& o) const { return !(*this == o); }

  bool Intersects(const IRECT& o) const { return L < o.R && o.L < R && T < o.B && o.T < B; }

  // The overlap, or the empty rectangle when the two do not overlap.
  IRECT Intersect(const IRECT& o) const
  {
    if (!Intersects(o)) return IRECT();
    return IRECT(std::max(L, o.L), std::max(T, o.T), std::min(R, o.R), std::min(B, o.B));
  }

  // The bounding rectangle; the union with an empty rectangle is the other one.
  IRECT Union(const IRECT& o) const
  {
    if (Empty()) return o;
    if (o.Empty()) return *this;
    return IRECT(std::min(L, o.L), std::min(T, o.T), std::max(R, o.R), std::max(B, o.B));
  }
};
