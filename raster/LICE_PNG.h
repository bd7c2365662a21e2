#pragma once

#include <cstddef>

#include "raster/LICE_IBitmap.h"

// PNG images wider or taller than this are refused before anything is
// allocated for them.
constexpr unsigned int LICE_PNG_MAX_DIMENSION = 16384;

// Each loader decodes into bmp (resized to the image) when one is given, or
// else into a new LICE_MemBitmap (line alignment 4) that the caller owns.
// Pixels are straight-alpha; images without alpha get alpha 255. Any failure
// returns null and reports nothing. [any thread]

LICE_IBitmap* LICE_LoadPNGFromMemory(const void* data, size_t len, LICE_IBitmap* bmp = nullptr);
LICE_IBitmap* LICE_LoadPNG(const char* filename, LICE_IBitmap* bmp = nullptr);
// The PNG resource resid of the module. On Linux the images are compiled
// into the plug-in (see ResourceImages.h) and the module is not consulted.
LICE_IBitmap* LICE_LoadPNGFromResource(void* hInst, int resid, LICE_IBitmap* bmp = nullptr);

// How many times the decoder has been started in this process; lets tests
// see that input refused up front never reached it.
int LICE_PNGDecoderStarts();
