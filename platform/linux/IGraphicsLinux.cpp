#include "platform/linux/IGraphicsLinux.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/IParam.h"
#include "core/IPlugBase.h"
#include "editor/IControl.h"
#include "editor/IEditableTextControl.h"
#include "platform/ModuleFolders.h"
#include "platform/linux/X11EditorWindow.h"
#include "raster/LICE_IBitmap.h"
#include "raster/LICE_PNG.h"
#include "raster/ResourceImages.h"

namespace
{
// Ticks never bunch up to catch up after a stall: a late tick moves the
// schedule on instead.
IGraphicsLinux::Clock::duration TickPeriod(int fps)
{
  return std::chrono::duration_cast<IGraphicsLinux::Clock::duration>(std::chrono::duration<double>(1.0 / fps));
}

IRECT Clipped(const IRECT& r, int width, int height)
{
  return IRECT(std::max(r.L, 0), std::max(r.T, 0), std::min(r.R, width), std::min(r.B, height));
}

// A rectangle of w x h centred on cx at the top y, moved inside the editor.
IRECT PlaceInside(int x, int y, int w, int h, int width, int height)
{
  x = std::max(0, std::min(x, width - w));
  y = std::max(0, std::min(y, height - h));
  return IRECT(x, y, x + w, y + h);
}
} // namespace

IGraphicsLinux::IGraphicsLinux(IPlugBase* plug, int width, int height, int fps)
    : IGraphics(plug, width, height, fps)
{
}

// The plug-in is being destroyed around its editor (a host may close the
// plug-in with the editor still open), so the window goes without a word to
// it: no gesture ended, no prompt result, no redraw request.
IGraphicsLinux::~IGraphicsLinux()
{
  mPrompt.reset();
  mPromptControl = nullptr;
  mPromptParam = nullptr;
  mWindow.reset();
  mRetired.reset();
}

// ---- Window ----

// [UI thread; the host's plug-in mutex held]
void* IGraphicsLinux::OpenEditorWindow(void* parent)
{
  // A second open replaces the window, as a host reopening the editor
  // without closing it first expects.
  if (mWindow) CloseEditorWindow();
  const unsigned long parentId = static_cast<unsigned long>(reinterpret_cast<uintptr_t>(parent));
  auto window = std::make_unique<X11EditorWindow>(parentId, mEditorWidth, mEditorHeight, mSharedMemoryAllowed);
  if (!window->Valid()) return nullptr;
  mWindow = std::move(window);
  mUiThread = std::this_thread::get_id();
  mNextTick = Clock::time_point::min();
  mHasExposed = false;
  mLeftDown = mRightDown = mHoverTracked = false;
  mDoubleClick = DoubleClickDetector();
  // The first tick paints everything.
  MarkAllControlsDirty();
  return reinterpret_cast<void*>(static_cast<uintptr_t>(mWindow->Id()));
}

// [UI thread; the host's plug-in mutex held, or the editor's destructor]
void IGraphicsLinux::CloseEditorWindow()
{
  if (!mWindow) return;
  if (mPrompt) ClosePrompt(false);
  // A drag cut short by the close still ends its edit gesture.
  if (mLeftDown || mRightDown)
  {
    mLeftDown = mRightDown = false;
    MouseMods released;
    MouseUp(std::max(mMouseAtX, 0), std::max(mMouseAtY, 0), &released);
  }
  if (mParamChangeTimer != 0 && mPlug) mPlug->FlushPendingEdit();
  mParamChangeTimer = 0;
  // An idle call on the stack may still hold the window: it goes when that
  // call unwinds.
  if (mInIdle)
    mRetired = std::move(mWindow);
  else
    mWindow.reset();
}

void* IGraphicsLinux::NativeWindow()
{
  return mWindow ? reinterpret_cast<void*>(static_cast<uintptr_t>(mWindow->Id())) : nullptr;
}

bool IGraphicsLinux::UsesSharedMemory() const
{
  return mWindow && mWindow->UsesSharedMemory();
}

// [UI thread, without the plug-in mutex: only edits take it]
void IGraphicsLinux::OnHostIdle()
{
  if (!mWindow || mInIdle || std::this_thread::get_id() != mUiThread) return;
  mInIdle = true;
  X11EditorWindow* window = mWindow.get();
  PumpEvents(window);
  if (mWindow.get() == window)
  {
    const Clock::time_point now = Clock::now();
    if (now >= mNextTick)
    {
      const Clock::duration period = TickPeriod(mFrameRate);
      mNextTick = (mNextTick == Clock::time_point::min() || now - mNextTick >= period) ? now + period
                                                                                       : mNextTick + period;
      Tick();
    }
  }
  if (mWindow.get() == window && mHasExposed)
  {
    mHasExposed = false;
    PresentRect(&mExposed);
  }
  mInIdle = false;
  mRetired.reset();
  mLauncher.Reap();
}

void IGraphicsLinux::Tick()
{
  IRECT dirty;
  if (NeedsRedraw(&dirty)) Paint(&dirty);
  if (mParamChangeTimer > 0 && --mParamChangeTimer == 0 && mPlug) mPlug->FlushPendingEdit();
}

bool IGraphicsLinux::PresentRect(IRECT* r)
{
  LICE_IBitmap* picture = BackBufferBitmap();
  if (!mWindow || !r || !picture || !picture->getBits()) return false;
  const IRECT area = Clipped(*r, std::min(mEditorWidth, picture->getWidth()), std::min(mEditorHeight, picture->getHeight()));
  if (area.W() <= 0 || area.H() <= 0) return true;
  X11ImageBuffer& image = mWindow->Image();
  const int span = picture->getRowSpan();
  image.Write(area.L, area.T, area.W(), area.H(), picture->getBits() + static_cast<long>(area.T) * span + area.L, span);
  if (mPrompt && mPrompt->Rect().Intersects(area))
  {
    // The prompt lies over the picture; the picture itself stays as the
    // controls drew it.
    const IRECT over = mPrompt->Rect().Intersect(area);
    LICE_IBitmap* layer = mPrompt->Picture();
    const int layerSpan = layer->getRowSpan();
    image.Write(over.L, over.T, over.W(), over.H(),
                layer->getBits() + static_cast<long>(over.T - mPrompt->Rect().T) * layerSpan +
                    (over.L - mPrompt->Rect().L),
                layerSpan);
  }
  mWindow->Put(area);
  return true;
}

// ---- Events ----

void IGraphicsLinux::PumpEvents(X11EditorWindow* window)
{
  XEvent event;
  while (mWindow.get() == window && window->NextEvent(&event))
  {
    // Only the newest of a run of motions matters.
    if (event.type == MotionNotify)
      while (window->MotionFollows()) window->NextEvent(&event);
    HandleEvent(window, &event);
  }
}

void IGraphicsLinux::HandleEvent(X11EditorWindow* window, XEvent* event)
{
  if (event->xany.window != window->Id()) return;
  switch (event->type)
  {
  case Expose:
    AddExposed(IRECT(event->xexpose.x, event->xexpose.y, event->xexpose.x + event->xexpose.width,
                     event->xexpose.y + event->xexpose.height));
    break;
  case ButtonPress:
    OnButtonPress(*event);
    break;
  case ButtonRelease:
    OnButtonRelease(*event);
    break;
  case MotionNotify:
    OnMotion(*event);
    break;
  case LeaveNotify:
    if (mHoverTracked)
    {
      mHoverTracked = false;
      MouseOut();
    }
    break;
  case KeyPress:
    OnKeyPress(event);
    break;
  default:
    break;
  }
}

void IGraphicsLinux::AddExposed(const IRECT& r)
{
  if (!mHasExposed)
    mExposed = r;
  else
    mExposed = IRECT(std::min(mExposed.L, r.L), std::min(mExposed.T, r.T), std::max(mExposed.R, r.R),
                     std::max(mExposed.B, r.B));
  mHasExposed = true;
}

void IGraphicsLinux::OnButtonPress(const XEvent& any)
{
  const XButtonEvent& event = any.xbutton;
  const unsigned button = event.button;
  if (const int notches = WheelNotchesFor(button))
  {
    // The wheel belongs to the editor only while no prompt takes input.
    if (mPrompt) return;
    MouseMods mods = MouseModsFor(event.state, 0, 0);
    MouseWheel(event.x, event.y, &mods, notches);
    return;
  }
  // The middle button and the sideways wheel mean nothing to the editor,
  // as on the other platforms.
  if (button != kX11ButtonLeft && button != kX11ButtonRight) return;

  if (mPrompt)
  {
    const DrawnValuePrompt::Outcome outcome = mPrompt->Click(event.x, event.y);
    if (outcome != DrawnValuePrompt::Outcome::kCancel)
    {
      PromptOutcome(outcome);
      return;
    }
    // A click elsewhere drops the prompt without taking its text; a left
    // click then goes on to the editor.
    ClosePrompt(false);
    if (button == kX11ButtonRight) return;
  }

  MouseMods mods = MouseModsFor(event.state, button, 0);
  if (button == kX11ButtonLeft)
  {
    // The server holds the pointer for us while the button is down, so a
    // drag continues outside the window: that is the capture.
    mLeftDown = true;
    if (mDoubleClick.LeftPress(static_cast<uint32_t>(event.time), event.x, event.y))
      MouseDoubleClick(event.x, event.y, &mods);
    else
      MouseDown(event.x, event.y, &mods);
  }
  else
  {
    mDoubleClick.OtherPress();
    mRightDown = true;
    MouseDown(event.x, event.y, &mods);
  }
}

void IGraphicsLinux::OnButtonRelease(const XEvent& any)
{
  const XButtonEvent& event = any.xbutton;
  // A release whose press the editor never saw (one that closed a prompt,
  // or began outside) would end an edit gesture that was never begun.
  bool* down = event.button == kX11ButtonLeft ? &mLeftDown : event.button == kX11ButtonRight ? &mRightDown : nullptr;
  if (!down || !*down) return;
  *down = false;
  MouseMods mods = MouseModsFor(event.state, 0, event.button);
  MouseUp(event.x, event.y, &mods);
}

void IGraphicsLinux::OnMotion(const XEvent& any)
{
  const XMotionEvent& event = any.xmotion;
  MouseMods mods = MouseModsFor(event.state, 0, 0);
  if ((mLeftDown && mods.mLeft) || (mRightDown && mods.mRight))
  {
    MouseDrag(event.x, event.y, &mods);
  }
  else if (!mods.mLeft && !mods.mRight)
  {
    if (MouseOver(event.x, event.y, &mods)) mHoverTracked = true;
  }
}

void IGraphicsLinux::OnKeyPress(XEvent* any)
{
  XKeyEvent* event = &any->xkey;
  char typed[16] = {};
  KeySym keysym = NoSymbol;
  const int n = XLookupString(event, typed, sizeof typed - 1, &keysym, nullptr);
  typed[std::max(0, std::min(n, static_cast<int>(sizeof typed) - 1))] = '\0';
  if (mPrompt)
  {
    PromptOutcome(mPrompt->Key(PromptKeyForKeySym(keysym), typed));
    return;
  }
  const int key = EditorKeyForKeySym(keysym);
  if (key >= 0) KeyDown(event->x, event->y, key);
}

bool IGraphicsLinux::ProcessMouseWheel(float d)
{
  if (!mWindow || mPrompt) return false;
  int x = 0;
  int y = 0;
  unsigned state = 0;
  if (!mWindow->PointerPosition(&x, &y, &state) || x < 0 || y < 0 || x >= mEditorWidth || y >= mEditorHeight)
    return false;
  MouseMods mods = MouseModsFor(state, 0, 0);
  mods.mLeft = mods.mRight = false;
  MouseWheel(x, y, &mods, static_cast<int>(d));
  return true;
}

// ---- Value prompts ----

bool IGraphicsLinux::PromptForValue(IControl* control, IParam* param, bool center)
{
  if (!control || !param || mPrompt || !mWindow) return false;
  const IRECT& area = control->Area();
  const int cx = static_cast<int>((area.L + area.R) * 0.5f);
  const int cy = static_cast<int>((area.T + area.B) * 0.5f);
  char current[IParam::kDisplaySize];
  param->FormatValue(param->CurrentValue(), false, current);

  const int count = param->DisplayTextCount();
  if (count > 0 && (param->Kind() == IParam::kTypeBool || param->Kind() == IParam::kTypeEnum))
  {
    std::vector<std::string> items;
    int width = 24;
    int selected = -1;
    for (int i = 0; i < count; ++i)
    {
      items.emplace_back(param->DisplayTextFor(i));
      width = std::max(width, static_cast<int>(items.back().size()) * 8 + 24);
      if (items.back() == current) selected = i;
    }
    const int x = center ? cx - width / 2 : area.L;
    const int y = center ? cy : (area.T + area.B) / 2;
    return ShowPrompt(DrawnValuePrompt::MakeList(this, x, y, width, std::move(items), selected), control, param);
  }

  IRECT rect = area;
  int align = IText::kAlignNear;
  if (center)
  {
    char widest[IParam::kDisplaySize];
    param->FormatValue(1.0, true, widest);
    const int width = std::max(32, 7 * static_cast<int>(std::strlen(widest)) + 6);
    rect = PlaceInside(cx - width / 2, cy - 8, width, 16, mEditorWidth, mEditorHeight);
    align = IText::kAlignCenter;
  }
  return ShowPrompt(DrawnValuePrompt::MakeField(this, rect, current, align), control, param);
}

void IGraphicsLinux::PromptForValue(IEditableTextControl* control)
{
  if (!control || mPrompt || !mWindow) return;
  const IRECT rect = Clipped(control->Area(), mEditorWidth, mEditorHeight);
  ShowPrompt(DrawnValuePrompt::MakeField(this, rect, control->Text(), control->TextStyle()->mAlign,
                                         control->IsEditable(), control->IsPassword()),
             control, nullptr);
}

bool IGraphicsLinux::ShowPrompt(std::unique_ptr<DrawnValuePrompt> prompt, IControl* control, IParam* param)
{
  if (!prompt) return false;
  mPrompt = std::move(prompt);
  mPromptControl = control;
  mPromptParam = param;
  IRECT r = mPrompt->Rect();
  PresentRect(&r);
  mWindow->TakeKeyboardFocus();
  return true;
}

void IGraphicsLinux::PromptOutcome(DrawnValuePrompt::Outcome outcome)
{
  switch (outcome)
  {
  case DrawnValuePrompt::Outcome::kChanged:
  {
    IRECT r = mPrompt->Rect();
    PresentRect(&r);
    break;
  }
  case DrawnValuePrompt::Outcome::kCommit:
    ClosePrompt(true);
    break;
  case DrawnValuePrompt::Outcome::kCancel:
    ClosePrompt(false);
    break;
  default:
    break;
  }
}

void IGraphicsLinux::ClosePrompt(bool commit)
{
  if (!mPrompt) return;
  const std::string text = mPrompt->Result();
  IRECT covered = mPrompt->Rect();
  IControl* control = mPromptControl;
  IParam* param = mPromptParam;
  mPrompt.reset();
  mPromptControl = nullptr;
  mPromptParam = nullptr;
  if (mWindow)
  {
    mWindow->ReturnKeyboardFocus();
    // What lay under the prompt, at once; the control redraws on the tick.
    PresentRect(&covered);
  }
  if (commit) ApplyPromptText(control, param, text.c_str());
  if (control) control->PromptClosed();
}

// ---- The rest of the platform ----

// The folder of the host's executable (/proc/self/exe).
void IGraphicsLinux::HostAppPath(WDL_String* path)
{
  if (path) ProgramFolder(path);
}

// The folder of the plug-in library holding this code (dladdr).
void IGraphicsLinux::PluginFilePath(WDL_String* path)
{
  if (path) ModuleFolderOf(reinterpret_cast<const void*>(&TickPeriod), path);
}

void IGraphicsLinux::AskForFile(WDL_String* file, int, const char*, const char*)
{
  if (file) file->Set("");
}

bool IGraphicsLinux::AskForColor(IColor*, const char*)
{
  return false;
}

bool IGraphicsLinux::OpenWebPage(const char* url, const char*, const char*, const char*)
{
  return mLauncher.OpenUrl(url);
}

void IGraphicsLinux::StartParamChangeTimer(int ticks)
{
  mParamChangeTimer = ticks;
}

void IGraphicsLinux::StopParamChangeTimer()
{
  mParamChangeTimer = 0;
}

// The PNG compiled into the plug-in under that ID (or, failing that, name).
LICE_IBitmap* IGraphicsLinux::LoadPlatformImage(int id, const char* name)
{
  if (LICE_IBitmap* bitmap = LICE_LoadPNGFromResource(nullptr, id)) return bitmap;
  const ResourceImage* image = ResourceImage::ByName(name);
  return image ? LICE_LoadPNGFromMemory(image->data, image->size) : nullptr;
}
