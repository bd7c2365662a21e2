#include "controls/PassAreaGuard.h"

#include <algorithm>
#include <cstring>

#include "editor/IGraphics.h"
#include "raster/LICE_IBitmap.h"

namespace
{
bool Within(const IRECT& inner, const IRECT& outer)
{
  return inner.L >= outer.L && inner.T >= outer.T && inner.R <= outer.R && inner.B <= outer.B;
}
} // namespace

PassAreaGuard::PassAreaGuard(IGraphics* graphics, const IRECT& extent) : mGraphics(graphics)
{
  LICE_IBitmap* picture = graphics ? graphics->BackBufferBitmap() : nullptr;
  if (!picture || !picture->getBits()) return;
  mPass = graphics->DirtyArea();
  const IRECT whole(0, 0, picture->getWidth(), picture->getHeight());
  mSaved = IRECT(std::max(extent.L, whole.L), std::max(extent.T, whole.T), std::min(extent.R, whole.R),
                 std::min(extent.B, whole.B));
  if (mSaved.L >= mSaved.R || mSaved.T >= mSaved.B || Within(mSaved, mPass)) return;

  mActive = true;
  const int w = mSaved.W();
  mPixels.resize(static_cast<size_t>(w) * mSaved.H());
  const LICE_pixel* bits = picture->getBits();
  const int span = picture->getRowSpan();
  for (int y = mSaved.T; y < mSaved.B; ++y)
    std::memcpy(&mPixels[static_cast<size_t>(y - mSaved.T) * w], bits + static_cast<long>(y) * span + mSaved.L,
                sizeof(LICE_pixel) * static_cast<size_t>(w));
}

PassAreaGuard::~PassAreaGuard()
{
  if (!mActive) return;
  LICE_IBitmap* picture = mGraphics->BackBufferBitmap();
  LICE_pixel* bits = picture->getBits();
  const int span = picture->getRowSpan();
  const int w = mSaved.W();
  for (int y = mSaved.T; y < mSaved.B; ++y)
  {
    LICE_pixel* row = bits + static_cast<long>(y) * span;
    const LICE_pixel* saved = &mPixels[static_cast<size_t>(y - mSaved.T) * w];
    if (y < mPass.T || y >= mPass.B)
    {
      std::memcpy(row + mSaved.L, saved, sizeof(LICE_pixel) * static_cast<size_t>(w));
      continue;
    }
    // Inside the pass's rows: only the parts left and right of its area.
    for (int x = mSaved.L; x < std::min(mPass.L, mSaved.R); ++x) row[x] = saved[x - mSaved.L];
    for (int x = std::max(mPass.R, mSaved.L); x < mSaved.R; ++x) row[x] = saved[x - mSaved.L];
  }
}
