#include "tests/editor/EditorTestSupport.h"

namespace editortest
{
LICE_pixel FrameColour(int frame)
{
  return LICE_RGBA(static_cast<unsigned>(frame * 10), 40, 200, 255);
}

std::unique_ptr<LICE_MemBitmap> MakeFrames(int frameW, int frameH, int n, bool vertical)
{
  const int w = vertical ? frameW : frameW * n;
  const int h = vertical ? frameH * n : frameH;
  auto bm = std::make_unique<LICE_MemBitmap>(w, h, 4);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
    {
      const int frame = 1 + (vertical ? y / frameH : x / frameW);
      bm->getBits()[y * bm->getRowSpan() + x] = FrameColour(frame);
    }
  return bm;
}
} // namespace editortest
