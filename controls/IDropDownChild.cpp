#include "controls/IDropDownChild.h"

#include <cmath>

#include "editor/IGraphics.h"

IDropDownChild::IDropDownChild(IPlugBase* plug, std::atomic<double>* target, int x, int y, const IBitmap& list, int columns,
                               bool* chosen)
    : IControl(plug, IRECT(x, y, x + list.W, y + list.H)),
      mList(list),
      mTarget(target),
      mColumns(columns),
      mChosen(chosen)
{
}

int IDropDownChild::EntryAt(int x, int y) const
{
  const int count = mList.N;
  const int columns = mColumns;
  if (count < 1 || columns < 1 || mList.W <= 0 || mList.H <= 0) return -1;
  const int column = static_cast<int>(std::floor(static_cast<float>(x - mArea.L) * columns / mList.W));
  if (column < 0) return -1;
  const int rows = (count + columns - 1) / columns;
  const float rowHeight = static_cast<float>(mList.H) / rows;
  for (int row = 0; row < rows; ++row)
  {
    if (y - mArea.T < rowHeight * (row + 1))
    {
      if (y < mArea.T) return -1;
      // The right edge counts as inside: it belongs to the last column.
      const int entry = (column < columns - 1 ? column : columns - 1) * rows + row;
      return entry < count ? entry : -1;
    }
  }
  return -1;
}

void IDropDownChild::MouseDown(int x, int y, MouseMods* mod)
{
  if (mod && mod->mLeft && mTarget)
  {
    const int entry = EntryAt(x, y);
    if (entry >= 0)
    {
      // A one-entry list has only the value 0.
      const int last = mList.N - 1;
      double value = last > 0 ? static_cast<double>(entry) / last : 0.0;
      if (value > 1.0) value = 0.0;
      *mTarget = value;
      if (mChosen) *mChosen = true;
      MarkDirty(true);
      SetHidden(true);
    }
  }
  MarkDirty(true);
}

bool IDropDownChild::Paint(IGraphics* graphics)
{
  graphics->BlitBitmap(&mList, &mArea, 0, 0, &mBlendMode);
  return true;
}
