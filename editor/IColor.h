#pragma once

#include "raster/LICE_Pixel.h"

// A colour as the editor's controls describe it: alpha, red, green, blue,
// each 0-255, in that order. Straight alpha.
struct IColor
{
  int A = 255;
  int R = 0;
  int G = 0;
  int B = 0;

  IColor() = default;
  IColor(int a, int r, int g, int b) : A(a), R(r), G(g), B(b) {}

  bool operator==(const IColor& o) const { return A == o.A && R == o.R && G == o.G && B == o.B; }
  bool operator!=(const IColor& o) const { return !(*this == o); }

  // The raster layer's packed pixel; each channel is taken modulo 256.
  LICE_pixel ToPixel() const
  {
    return LICE_RGBA(static_cast<unsigned>(R), static_cast<unsigned>(G), static_cast<unsigned>(B),
                     static_cast<unsigned>(A));
  }
};
