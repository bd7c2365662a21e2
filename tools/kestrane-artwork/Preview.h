#pragma once

#include <memory>
#include <vector>

#include "raster/LICE_MemBitmap.h"
#include "tools/kestrane-artwork/Artwork.h"

namespace artwork
{
// A mock of the whole editor: the background with every control drawn from
// the images at its place, in a plausible state (knobs at various values with
// their rings and read-outs, lit buttons, one target list open, markers on
// their tracks), drawn with the raster library's own routines as the editor
// will draw them. Null if a font for the read-outs is missing.
std::unique_ptr<LICE_MemBitmap> ComposePreview(std::vector<Image>& images);
} // namespace artwork
