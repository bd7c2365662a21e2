#pragma once

#include "raster/LICE_IBitmap.h"

// Writes the bitmap as an 8-bit, non-interlaced PNG file: RGB when withAlpha
// is false (the alpha bytes are dropped), RGBA with straight alpha otherwise.
// The image goes to a temporary file beside the target, which is renamed over
// the target only when complete, so a failure never leaves a partial file
// (nor the temporary one). False on any failure; nothing is reported.
// [any thread]
bool LICE_WritePNG(const char* path, LICE_IBitmap* bmp, bool withAlpha);
