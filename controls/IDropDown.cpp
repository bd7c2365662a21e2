#include "controls/IDropDown.h"

#include "controls/IDropDownChild.h"
#include "core/IPlugBase.h"
#include "core/NumericConversions.h"
#include "editor/IGraphics.h"

namespace
{
int FaceFrameHeight(const IBitmap& face)
{
  return face.N > 0 ? RoundHalfAwayToInt32(static_cast<double>(face.H) / face.N) : face.H;
}
} // namespace

IDropDown::IDropDown(IPlugBase* plug, int paramIdx, int x, int y, const IBitmap& face, const IBitmap& list,
                     int columns, int placement)
    : IControl(plug, IRECT(x, y - 1, x + face.W, y + FaceFrameHeight(face) + 1), paramIdx),
      mFace(face),
      mList(list),
      mColumns(columns),
      mPlacement(placement)
{
}

bool IDropDown::IsOpen() const
{
  // A list that hid itself after a choice is closed, whether or not the
  // face has drawn since.
  return mOpen && mChild && !mChild->IsHidden();
}

void IDropDown::CloseList()
{
  if (mChild) mChild->SetHidden(true);
  mOpen = false;
}

void IDropDown::ListOrigin(int* x, int* y) const
{
  switch (mPlacement)
  {
  case kBelowLeft:
    *x = mArea.L;
    *y = mArea.B - 1;
    break;
  case kBelowRight:
    *x = mArea.R - mList.W;
    *y = mArea.B - 1;
    break;
  case kAboveLeft:
    *x = mArea.L;
    *y = mArea.T - mList.H + 1;
    break;
  case kAboveRight:
    *x = mArea.R - mList.W;
    *y = mArea.T - mList.H + 1;
    break;
  default:
    *x = mArea.L + RoundHalfAwayToInt32((mFace.W - mList.W) * 0.5);
    *y = mArea.B - 1;
    break;
  }
}

void IDropDown::MouseDown(int, int, MouseMods* mod)
{
  if (mod && mod->mRight)
  {
    if (!mNoPrompt)
    {
      PromptForValue();
      CloseList();
    }
  }
  else if (mod && mod->mLeft)
  {
    if (IsOpen())
    {
      CloseList();
    }
    else if (mChild)
    {
      mOpen = true;
      mChild->SetHidden(false);
    }
    else if (IGraphics* editor = Editor())
    {
      mOpen = true;
      int x = 0;
      int y = 0;
      ListOrigin(&x, &y);
      mChild = new IDropDownChild(mPlug, &mControlValue, x, y, mList, mColumns, &mListChose);
      mChildCreated = true;
      editor->AddControl(mChild);
    }
  }
  MarkDirty(true);
}

void IDropDown::ReportChoice()
{
  // The click on the list was a control without parameter, so no gesture
  // brackets it yet: the host sees begin, value, end. [UI thread]
  const bool bound = mPlug && mParamIndex >= 0;
  if (bound) mPlug->BeginHostEdit(mParamIndex);
  MarkDirty(true);
  if (bound) mPlug->EndHostEdit(mParamIndex);
}

int IDropDown::FrameForValue() const
{
  const int n = mFace.N;
  int frame = RoundHalfAwayToInt32((n - 1) * mControlValue) + 1;
  if (frame > n) frame = n;
  return frame < 1 ? 1 : frame;
}

bool IDropDown::Paint(IGraphics* graphics)
{
  // Taken on every pass, so choosing the entry already shown leaves no flag
  // behind for a later value from the plug-in.
  const bool chosen = mListChose;
  mListChose = false;
  if (mChild && mControlValue != mLastValue)
  {
    mAlwaysDirty = true;
    if (chosen)
      ReportChoice();
    else
      MarkDirty(false); // pushed by the plug-in: shown, never sent back
    CloseList();
  }
  mLastValue = mControlValue;

  const IRECT face(mArea.L, mArea.T + 1, mArea.L + mFace.W, mArea.T + FaceFrameHeight(mFace));
  graphics->BlitBitmap(&mFace, &face, FrameForValue(), &mBlendMode, true);
  return true;
}
