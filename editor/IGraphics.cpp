#include "editor/IGraphics.h"

#include "core/IParam.h"
#include "core/IPlugBase.h"
#include "editor/IControl.h"
#include "editor/IEditableTextControl.h"
#include "raster/LICE_SysBitmap.h"

namespace
{
constexpr int kDefaultFrameRate = 24;
} // namespace

IGraphics::IGraphics(IPlugBase* plug, int width, int height, int fps)
    : mPlug(plug), mEditorWidth(width), mEditorHeight(height), mFrameRate(fps > 0 ? fps : kDefaultFrameRate)
{
}

IGraphics::~IGraphics()
{
  DeleteControls();
  delete mBackBuffer;
  mBackBuffer = nullptr;
}

void IGraphics::DeleteControls()
{
  WDL_MutexLock lock(&mControlListLock);
  mControlList.Empty(true);
}

IGraphics::ControlRange IGraphics::Controls() const
{
  return ControlRange{&mControlList};
}

MouseMods* IGraphics::OrNoMods(MouseMods* mod, MouseMods* none)
{
  return mod ? mod : none;
}

// ---- Platform defaults ----

void IGraphics::ResizeEditor(int w, int h)
{
  mEditorWidth = w;
  mEditorHeight = h;
  mCapture = mHoverIndex = mMouseAtX = mMouseAtY = -1;
  // The plug-in may hold controls (the effect's modulation displays, which
  // the audio thread writes into): it drops them before they go.
  if (mPlug) mPlug->OnEditorControlsDeleting();
  DeleteControls();
  // The picture follows the editor's size, so a later pass neither draws
  // into a stale surface nor leaves part of the new one blank.
  if (mBackBuffer) mBackBuffer->resize(w, h);
  if (mPlug) mPlug->ResizeEditorWindow();
}

bool IGraphics::IsWindowOpen()
{
  return NativeWindow() != nullptr;
}

bool IGraphics::ProcessMouseWheel(float)
{
  return false;
}

void* IGraphics::OpenEditorWindow(void*, void*)
{
  return nullptr;
}

// ---- Building ----

int IGraphics::AddControl(IControl* control)
{
  WDL_MutexLock lock(&mControlListLock);
  mControlList.Add(control);
  return mControlList.GetSize() - 1;
}

void IGraphics::PrepareDrawing()
{
  if (mBackBuffer)
    mBackBuffer->resize(mEditorWidth, mEditorHeight);
  else
    mBackBuffer = new LICE_SysBitmap(mEditorWidth, mEditorHeight);
}

LICE_IBitmap* IGraphics::BackBufferBitmap() const
{
  return mBackBuffer;
}

// ---- Redraw ----

bool IGraphics::NeedsRedraw(IRECT* out)
{
  IRECT dirty;
  bool any = false;
  for (IControl* control : Controls())
  {
    if (!control->NeedsRedraw()) continue;
    dirty = dirty.Union(control->Area());
    any = true;
  }
  if (out) *out = dirty;
  return any;
}

bool IGraphics::Paint(IRECT* r)
{
  if (mControlList.GetSize() == 0) return true;
  const IRECT area = r ? *r : IRECT();
  mDirtyArea = area;
  for (IControl* control : Controls())
  {
    const IRECT& c = control->Area();
    if (!control->IsHidden() && !area.Empty() && !c.Empty() && c.Intersects(area)) control->Paint(this);
    control->MarkClean();
  }
  IRECT presented = area;
  return PresentRect(&presented);
}

void IGraphics::MarkAllControlsDirty()
{
  for (IControl* control : Controls()) control->MarkDirty(false);
}

// ---- Input ----

int IGraphics::ControlAt(int x, int y)
{
  if (mCapture >= 0) return mCapture;
  for (int i = mControlList.GetSize() - 1; i >= 0; --i)
  {
    IControl* control = mControlList.Get(i);
    if (control->IsHidden() || control->IsDimmed()) continue;
    if (control->Contains(x, y)) return i;
  }
  return -1;
}

void IGraphics::BeginGesture(int paramIdx)
{
  EndGesture();
  if (paramIdx < 0 || !mPlug) return;
  mPlug->BeginHostEdit(paramIdx);
  mGestureParam = paramIdx;
}

void IGraphics::EndGesture()
{
  const int paramIdx = mGestureParam;
  mGestureParam = -1;
  if (paramIdx >= 0 && mPlug) mPlug->EndHostEdit(paramIdx);
}

void IGraphics::MouseDown(int x, int y, MouseMods* mod)
{
  MouseMods none;
  mod = OrNoMods(mod, &none);
  mCapture = mMouseAtX = mMouseAtY = -1;
  const int c = ControlAt(x, y);
  if (c < 0) return;
  mCapture = c;
  mMouseAtX = x;
  mMouseAtY = y;
  IControl* control = mControlList.Get(c);
  BeginGesture(control->ParamIdx());
  control->MouseDown(x, y, mod);
}

void IGraphics::MouseUp(int x, int y, MouseMods* mod)
{
  MouseMods none;
  mod = OrNoMods(mod, &none);
  const int c = ControlAt(x, y);
  mCapture = mMouseAtX = mMouseAtY = -1;
  if (IControl* control = mControlList.Get(c)) control->MouseUp(x, y, mod);
  // The gesture this release belongs to: the captured control's, or that of
  // a double click, which captures nothing. A release without a press ends
  // nothing.
  EndGesture();
}

void IGraphics::MouseDrag(int x, int y, MouseMods* mod)
{
  MouseMods none;
  mod = OrNoMods(mod, &none);
  IControl* control = mControlList.Get(mCapture);
  if (!control || (x == mMouseAtX && y == mMouseAtY)) return;
  const int dX = x - mMouseAtX;
  const int dY = y - mMouseAtY;
  mMouseAtX = x;
  mMouseAtY = y;
  control->MouseDrag(x, y, dX, dY, mod);
}

bool IGraphics::MouseDoubleClick(int x, int y, MouseMods* mod)
{
  MouseMods none;
  mod = OrNoMods(mod, &none);
  mCapture = mMouseAtX = mMouseAtY = -1;
  const int c = ControlAt(x, y);
  IControl* control = mControlList.Get(c);
  if (!control) return false;
  // Ended by the release that follows, whichever control is under it then.
  BeginGesture(control->ParamIdx());
  if (!control->DoubleAsSingle())
  {
    control->MouseDoubleClick(x, y, mod);
    return false;
  }
  mCapture = c;
  mMouseAtX = x;
  mMouseAtY = y;
  control->MouseDown(x, y, mod);
  return true;
}

void IGraphics::MouseWheel(int x, int y, MouseMods* mod, int d)
{
  MouseMods none;
  mod = OrNoMods(mod, &none);
  IControl* control = mControlList.Get(ControlAt(x, y));
  if (!control) return;
  const int paramIdx = control->ParamIdx();
  // A step made while the same parameter is being dragged belongs to the
  // drag's gesture: a gesture of its own would begin a second time inside it.
  const bool ownGesture = paramIdx >= 0 && mPlug && paramIdx != mGestureParam;
  if (ownGesture) mPlug->BeginHostEditCoalesced(paramIdx);
  control->MouseWheel(x, y, mod, d);
  if (ownGesture) mPlug->EndHostEditDelayed(paramIdx);
}

bool IGraphics::MouseOver(int x, int y, MouseMods* mod)
{
  if (!mTrackHover) return false;
  MouseMods none;
  mod = OrNoMods(mod, &none);
  const int c = ControlAt(x, y);
  IControl* control = mControlList.Get(c);
  if (!control) return true;
  mMouseAtX = x;
  mMouseAtY = y;
  control->MouseOver(x, y, mod);
  if (mHoverIndex >= 0 && mHoverIndex != c)
    if (IControl* previous = mControlList.Get(mHoverIndex)) previous->MouseOut();
  mHoverIndex = c;
  return true;
}

void IGraphics::MouseOut()
{
  for (IControl* control : Controls()) control->MouseOut();
  mHoverIndex = -1;
}

bool IGraphics::KeyDown(int x, int y, int key)
{
  IControl* control = mControlList.Get(ControlAt(x, y));
  if (!control) return false;
  control->KeyDown(x, y, key);
  return true;
}

void IGraphics::ApplyPromptText(IControl* control, IParam* param, const char* text)
{
  if (!control) return;
  if (param)
  {
    // A display text chosen from the list, else the leading number (0 when
    // the text holds none), normalized by the parameter's own rule.
    const double value = param->ParseValue(text ? text : "");
    const int paramIdx = control->ParamIdx();
    // Confirmed while the click that opened the prompt still holds its
    // gesture: the value belongs to that gesture rather than a nested one.
    const bool ownGesture = paramIdx >= 0 && mPlug && paramIdx != mGestureParam;
    if (ownGesture) mPlug->BeginHostEdit(paramIdx);
    control->SetValueFromUser(param->ToNormalized(value));
    if (ownGesture) mPlug->EndHostEdit(paramIdx);
    return;
  }
  if (auto* editable = dynamic_cast<IEditableTextControl*>(control))
    if (editable->IsEditable()) editable->TextFromTextEntry(text);
}

// ---- Parameter link ----

void IGraphics::ShowParamValue(int paramIdx, double value, bool normalized)
{
  // -1 marks controls without a parameter; it never selects them.
  if (paramIdx < 0) return;
  if (!normalized)
  {
    const IParam* param = mPlug ? mPlug->Param(paramIdx) : nullptr;
    if (!param) return;
    value = param->ToNormalized(value);
  }
  WDL_MutexLock lock(&mControlListLock);
  for (IControl* control : Controls())
    if (control->ParamIdx() == paramIdx) control->SetValueFromEngine(value);
}

void IGraphics::ShowControlValue(int controlIdx, double normalized)
{
  WDL_MutexLock lock(&mControlListLock);
  if (IControl* control = mControlList.Get(controlIdx)) control->SetValueFromEngine(normalized);
}

void IGraphics::SetControlsFromUserInput(int paramIdx, double normalized)
{
  if (paramIdx < 0) return;
  // Each control reports through SetParameterFromEditor, which takes the
  // plug-in mutex: the caller holds it already, so the order stays the one
  // every thread uses.
  WDL_MutexLock lock(&mControlListLock);
  for (IControl* control : Controls())
    if (control->ParamIdx() == paramIdx) control->SetValueFromUser(normalized);
}

void IGraphics::SetControlHidden(int paramIdx, bool hide)
{
  if (paramIdx < 0) return;
  WDL_MutexLock lock(&mControlListLock);
  for (IControl* control : Controls())
    if (control->ParamIdx() == paramIdx) control->SetHidden(hide);
}
