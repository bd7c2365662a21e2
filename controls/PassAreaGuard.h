#pragma once

#include <vector>

#include "core/IRECT.h"
#include "raster/LICE_Pixel.h"

class IGraphics;

// Confines a control's drawing to the area of the drawing pass.
//
// The editor clips image copies to the pass's area, but not rings, turned
// images, fills and text. A control that draws those and lies only partly
// inside the area would draw over pixels the pass did not repaint; drawn
// there once more, antialiased edges and text harden a little on every
// pass (dragging one knob wears the edges of knobs at the area's border).
// While it lives, this guard keeps the pixels of `extent` that lie outside
// the pass's area and puts them back when it goes out of scope; inside the
// area nothing changes. Controls wholly inside the area (every full
// repaint, the steady display tick) cost nothing.
//
// [UI thread, inside IGraphics::Paint]
class PassAreaGuard
{
public:
  // extent: everything the control may draw (its rectangle plus any text
  // that may run past it).
  PassAreaGuard(IGraphics* graphics, const IRECT& extent);
  ~PassAreaGuard();

  PassAreaGuard(const PassAreaGuard&) = delete;
  PassAreaGuard& operator=(const PassAreaGuard&) = delete;

  // A control's rectangle with room for a read-out that runs past it.
  static IRECT WithText(const IRECT& area) { return IRECT(area.L - 24, area.T - 4, area.R + 24, area.B + 6); }

  // True when the control reaches outside the pass's area.
  bool Active() const { return mActive; }

private:
  IGraphics* mGraphics;
  IRECT mSaved; // extent within the picture
  IRECT mPass;  // the pass's area
  std::vector<LICE_pixel> mPixels;
  bool mActive = false;
};
