#pragma once

#include "raster/LICE_IBitmap.h"

// Copies the source rectangle (srcx, srcy, srcw, srch) into the destination
// rectangle (dstx, dsty, dstw, dsth), scaled to fit and turned clockwise by
// angle (radians) about the source point at the rectangle's centre plus
// (rotxcent, rotycent). A negative destination width or height mirrors.
// With LICE_BLIT_FILTER_BILINEAR in mode the source is sampled bilinearly.
// Samples are taken from the source rectangle only when cliptosourcerect is
// set, else from the whole source; destination pixels whose sample falls
// outside are left alone.
void LICE_RotatedBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int dstw, int dsth,
                      float srcx, float srcy, float srcw, float srch, float angle,
                      bool cliptosourcerect, float alpha, int mode, float rotxcent = 0.0f,
                      float rotycent = 0.0f);

// Outline of the circle of radius r around (cx, cy).
void LICE_Circle(LICE_IBitmap* dest, float cx, float cy, float r, LICE_pixel color, float alpha,
                 int mode, bool aa);

// The part of that outline from angle minAngle to maxAngle (radians; 0 points
// up, angles grow clockwise). A span of 2 pi or more draws the whole circle.
void LICE_Arc(LICE_IBitmap* dest, float cx, float cy, float r, float minAngle, float maxAngle,
              LICE_pixel color, float alpha, int mode, bool aa);
