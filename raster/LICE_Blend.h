#pragma once

#include "core/IRECT.h"
#include "raster/LICE_IBitmap.h"

// Fills a rectangle with a colour at a weight (alpha, normally 0..1) and a
// blend mode word (combine mode in bits 0-7; LICE_BLIT_USE_ALPHA scales the
// weight by the colour's alpha). Clipped to the bitmap.
void LICE_FillRect(LICE_IBitmap* dest, int x, int y, int w, int h, LICE_pixel color, float alpha,
                   int mode);

// Copies a rectangle of src (the whole of src when srcrect is null) to
// (dstx, dsty) of dest at a weight and blend mode word. Clipped to both
// bitmaps; a negative destination position skips the matching source part.
void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, const IRECT* srcrect,
               float alpha, int mode);
void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int srcx, int srcy,
               int srcw, int srch, float alpha, int mode);
