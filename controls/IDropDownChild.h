#pragma once

#include <atomic>

#include "editor/IBitmap.h"
#include "editor/IControl.h"

// The open list of a drop-down: the whole list image; a left click on an
// entry writes the entry's normalized index straight into the owning
// drop-down's value and hides the list. Entries run down each column, then
// across. The list has no parameter of its own: the drop-down's face
// reports the choice when it next draws.
class IDropDownChild : public IControl
{
public:
  // chosen (may be null) is raised with every entry chosen, so the owner can
  // tell the user's choice from a value the plug-in pushed.
  IDropDownChild(IPlugBase* plug, std::atomic<double>* target, int x, int y, const IBitmap& list, int columns,
                 bool* chosen = nullptr);

  void MouseDown(int x, int y, MouseMods* mod) override;
  bool Paint(IGraphics* graphics) override;

  // The entry (0 .. count - 1) under (x, y), or -1 below the last row, in a
  // cell without an entry, or outside the list.
  int EntryAt(int x, int y) const;

private:
  IBitmap mList;
  std::atomic<double>* mTarget; // the drop-down's value [UI thread writes]
  int mColumns;
  bool* mChosen;
};
