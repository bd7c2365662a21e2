#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "raster/LICE_IBitmap.h"

namespace rastertest
{
// Pixel (x, y) of the image, honouring the row span.
LICE_pixel& At(LICE_IBitmap& bm, int x, int y);
void Clear(LICE_IBitmap& bm, LICE_pixel value);
// Count of pixels that differ from value.
int CountNot(LICE_IBitmap& bm, LICE_pixel value);

// The header fields of a PNG file as libpng reads them.
struct PngHeader
{
  uint32_t width = 0, height = 0;
  int bitDepth = 0, colorType = -1, interlace = -1;
};
bool ReadPngHeader(const std::string& path, PngHeader* out);

// A PNG image described for the writer: rows of samples exactly as PNG
// stores them (packed sub-byte samples, big-endian 16-bit samples).
struct PngSpec
{
  int width = 0;
  int height = 0;
  int bitDepth = 8;
  int colorType = 0;          // PNG_COLOR_TYPE_*
  bool interlaced = false;
  std::vector<uint8_t> palette;  // R, G, B triples
  std::vector<uint8_t> trns;     // palette alphas
  std::vector<std::vector<uint8_t>> rows;
};

// Encodes with libpng; empty on failure.
std::vector<uint8_t> EncodePng(const PngSpec& desc);
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

// An RGBA image with a recognisable pattern: pixel (x, y) has R = x * 16 + seed,
// G = y * 16, B = 255 - x - y and A = 255 - x * 8.
PngSpec PatternRgba(int w, int h, int seed);
} // namespace rastertest
