#pragma once

#include "editor/IBitmap.h"
#include "editor/IControl.h"

class IDropDownChild;

// A drop-down list: the face shows the chosen entry (one frame per entry,
// stacked); a click opens the list image next to it, a click on an entry
// chooses it and closes the list. The list is a control of its own, created
// and attached to the editor on the first opening (so it is drawn above and
// hit before every earlier control), then only shown and hidden.
//
// The list writes the choice straight into this control's value and raises
// a flag; the face notices the new value when it next draws and reports it
// to the plug-in as one edit gesture. A new value without the flag came from
// the plug-in (host automation, a preset) and is only shown: comparing it
// with the parameter could not tell, since a host value between two entries
// differs from the entry the parameter rounds it to.
// Because the list overlaps the face by one row, hiding the list always
// redraws the face. A value changed by the host also closes the list.
class IDropDown : public IControl
{
public:
  // Where the list opens.
  enum EPlacement
  {
    kBelowLeft = 0,
    kBelowRight = 1,
    kAboveLeft = 2,
    kAboveRight = 3,
    kBelowCentred = 4
  };

  // The face at (x, y); the control is one pixel taller above and below.
  IDropDown(IPlugBase* plug, int paramIdx, int x, int y, const IBitmap& face, const IBitmap& list, int columns,
            int placement);

  void MouseDown(int x, int y, MouseMods* mod) override;
  bool Paint(IGraphics* graphics) override;

  bool IsOpen() const;
  // Null until the list was first opened.
  IDropDownChild* List() const { return mChild; }
  // The face frame (1..N) the current value selects.
  int FrameForValue() const;
  // The list's top-left corner for the placement.
  void ListOrigin(int* x, int* y) const;

private:
  void CloseList();
  // Sends the value chosen in the list to the plug-in as one edit gesture.
  void ReportChoice();

  IDropDownChild* mChild = nullptr; // owned by the editor once attached
  IBitmap mFace;
  IBitmap mList;
  double mLastValue = 0.0;
  int mColumns;
  int mPlacement;
  bool mOpen = false;
  bool mChildCreated = false;
  bool mListChose = false; // [UI thread] raised by the list, taken by Paint
};
