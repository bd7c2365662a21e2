// Build-time helper: writes the small PNGs the resource tests compile in.
// Usage: make_test_pngs <folder>
#include <cstdio>
#include <string>

#include "tests/raster/RasterTestSupport.h"

int main(int argc, char** argv)
{
  if (argc != 2) return 2;
  const std::string dir = argv[1];
  bool ok = rastertest::WriteFile(dir + "/bg.png", rastertest::EncodePng(rastertest::PatternRgba(6, 5, 1)));
  ok = ok && rastertest::WriteFile(dir + "/knob.png", rastertest::EncodePng(rastertest::PatternRgba(4, 3, 2)));
  ok = ok && rastertest::WriteFile(dir + "/empty.png", {});
  ok = ok && rastertest::WriteFile(dir + "/notes.txt", {'x'});
  return ok ? 0 : 1;
}
