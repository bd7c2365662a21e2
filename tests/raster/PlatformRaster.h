#pragma once

#include "raster/LICE_SysBitmap.h"

// What the raster layer's platform pieces answer on the platform the tests
// run on; each platform defines these in its own file
// (tests/raster/<platform>/).

// Checks the system bitmap's surface as the platform makes it: plain memory
// without a drawing context on Linux, a top-down 32-bit DIB section
// selected into a memory device context on Windows.
void ExpectPlatformSurface(LICE_SysBitmap& bm);

// The family the font source reports for a Windows family name: the
// metric-compatible substitute fontconfig finds on Linux. Null where the
// system's font mapper substitutes behind the name (Windows), so the name
// reported is not the test's to predict.
const char* ExpectedFamilyFor(const char* windowsName);
