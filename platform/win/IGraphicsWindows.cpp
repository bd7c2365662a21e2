#include "platform/win/IGraphicsWindows.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>

#include "core/IParam.h"
#include "core/IPlugBase.h"
#include "editor/IControl.h"
#include "editor/IEditableTextControl.h"
#include "editor/KeyCodes.h"
#include "raster/LICE_PNG.h"
#include "raster/LICE_SysBitmap.h"

namespace
{
constexpr const char* kWindowClassName = "IPlugWndClass";
constexpr int kMaxFieldText = 1000;

// The window class is registered while any editor window of the process is
// open. Two plug-in instances may open or close editors on different threads
// in some hosts, so the count and the registration it guards live behind a
// lock. [any UI thread, sWindowClassLock]
std::mutex sWindowClassLock;
int sOpenWindows = 0;

IGraphicsWindows::WebPageCalls sWebPageCalls;

INT_PTR ShellOpen(HWND owner, const char* url)
{
  if (sWebPageCalls.open) return sWebPageCalls.open(owner, url);
  return reinterpret_cast<INT_PTR>(ShellExecuteA(owner, "open", url, nullptr, nullptr, SW_SHOWNORMAL));
}

int AskUser(HWND owner, const char* text, const char* title, UINT type)
{
  if (sWebPageCalls.messageBox) return sWebPageCalls.messageBox(owner, text, title, type);
  return MessageBoxA(owner, text, title, type);
}

MouseMods ModsOf(WPARAM keys)
{
  return MouseMods((keys & MK_LBUTTON) != 0, (keys & MK_RBUTTON) != 0, (keys & MK_SHIFT) != 0,
                   (keys & MK_CONTROL) != 0, GetKeyState(VK_MENU) < 0);
}

// The editor key code of a virtual key, or -1 for keys the editor ignores.
int EditorKeyOf(WPARAM key)
{
  switch (key)
  {
  case VK_SPACE: return kKeySpace;
  case VK_UP: return kKeyUp;
  case VK_DOWN: return kKeyDown;
  case VK_LEFT: return kKeyLeft;
  case VK_RIGHT: return kKeyRight;
  default: break;
  }
  if (key >= '0' && key <= '9') return kKeyDigit0 + static_cast<int>(key - '0');
  if (key >= 'A' && key <= 'Z') return kKeyA + static_cast<int>(key - 'A');
  return -1;
}

// The folder of a module's file with its final backslash; empty when the
// name cannot be read, has no backslash or ends with one.
void FolderOfModule(HMODULE module, WDL_String* out)
{
  char path[256] = {};
  const DWORD n = GetModuleFileNameA(module, path, sizeof path);
  const char* slash = (n > 0 && n < sizeof path) ? std::strrchr(path, '\\') : nullptr;
  if (!slash || slash[1] == '\0')
  {
    out->Set("");
    return;
  }
  out->Set(path, static_cast<int>(slash - path) + 1);
}

bool IsChildWindow(HWND window)
{
  return window && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) &&
         !(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_MDICHILD);
}
} // namespace

IGraphicsWindows::IGraphicsWindows(IPlugBase* plug, int width, int height, int fps)
    : IGraphics(plug, width, height, fps)
{
}

IGraphicsWindows::~IGraphicsWindows()
{
  // The plug-in is being destroyed (it deletes its editor from its own
  // destructor), so a pending wheel gesture can no longer be ended through
  // it: the host hears of it no more, rather than from a half-destroyed
  // object.
  mParamChangeTimer = 0;
  CloseEditorWindow();
  delete[] mColorChoices;
}

void IGraphicsWindows::SetWebPageCalls(const WebPageCalls& calls)
{
  sWebPageCalls = calls;
}

int IGraphicsWindows::OpenWindowCount()
{
  std::lock_guard<std::mutex> guard(sWindowClassLock);
  return sOpenWindows;
}

// ---- Window ----

void* IGraphicsWindows::OpenEditorWindow(void* parent)
{
  int x = 0, y = 0, w = mEditorWidth, h = mEditorHeight;
  if (mWindow)
  {
    // Opening again keeps the open window's place and size. The place is
    // taken in the parent's client coordinates, where a child window is
    // placed, so a parent with a frame does not shift it by the frame.
    RECT windowRect{};
    GetWindowRect(mWindow, &windowRect);
    POINT topLeft{windowRect.left, windowRect.top};
    ScreenToClient(static_cast<HWND>(parent), &topLeft);
    x = topLeft.x;
    y = topLeft.y;
    w = windowRect.right - windowRect.left;
    h = windowRect.bottom - windowRect.top;
    CloseEditorWindow();
  }
  mHostWindow = static_cast<HWND>(parent);

  {
    std::lock_guard<std::mutex> guard(sWindowClassLock);
    if (sOpenWindows == 0)
    {
      WNDCLASSA wc{};
      wc.style = CS_DBLCLKS;
      wc.lpfnWndProc = WindowProc;
      wc.hInstance = mInstanceHandle;
      wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
      wc.lpszClassName = kWindowClassName;
      // A class left behind by an earlier load of the DLL is reused.
      if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
    }
    ++sOpenWindows;
  }
  // Not under the lock: creation runs the window procedure, which may call
  // the host. The frame rate reaches WM_CREATE with the editor itself.
  mWindow = CreateWindowExA(0, kWindowClassName, "IPlug", WS_CHILD | WS_VISIBLE, x, y, w, h, mHostWindow, nullptr,
                            mInstanceHandle, this);
  if (!mWindow)
  {
    std::lock_guard<std::mutex> guard(sWindowClassLock);
    if (--sOpenWindows == 0) UnregisterClassA(kWindowClassName, mInstanceHandle);
  }
  if (!mWindow) return nullptr;
  MarkAllControlsDirty();
  if (mTooltipsOn) CreateTooltipWindow();
  return mWindow;
}

void IGraphicsWindows::CreateTooltipWindow()
{
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = 8;
  controls.dwICC = ICC_TAB_CLASSES;
  if (InitCommonControlsEx(&controls))
    mTipWindow = CreateWindowExA(0, "tooltips_class32", nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, mWindow, nullptr,
                                 mInstanceHandle, nullptr);
  if (!mTipWindow)
  {
    mTooltipsOn = false;
    return;
  }
  SetWindowPos(mTipWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  TOOLINFOA tool{};
  tool.cbSize = 64;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = mWindow;
  tool.uId = reinterpret_cast<UINT_PTR>(mWindow);
  SendMessageA(mTipWindow, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void IGraphicsWindows::CloseEditorWindow()
{
  if (!mWindow) return;
  if (mTipWindow) DestroyWindow(mTipWindow);
  mTipWindow = nullptr;
  mTipShown = false;
  mTipControl = -1;
  if (mParamChangeTimer != 0 && mPlug) mPlug->FlushPendingEdit();

  // An open field goes with the window, uncommitted; its control stops
  // waiting for it so it can prompt again after a reopen.
  IControl* promptControl = mEdControl;
  HWND window = mWindow;
  mWindow = nullptr;
  DestroyWindow(window);
  mEditWindow = nullptr;
  mEdParam = nullptr;
  mEdControl = nullptr;
  mEditProcBefore = nullptr;
  mEditState = kEditOpen;
  if (mEditFont) DeleteObject(mEditFont);
  mEditFont = nullptr;
  if (promptControl) promptControl->PromptClosed();

  std::lock_guard<std::mutex> guard(sWindowClassLock);
  if (sOpenWindows > 0 && --sOpenWindows == 0) UnregisterClassA(kWindowClassName, mInstanceHandle);
}

bool IGraphicsWindows::PresentRect(IRECT* r)
{
  if (!mWindow || !r || !mBackBuffer) return false;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(mWindow, &ps);
  BitBlt(dc, r->L, r->T, r->W(), r->H(), static_cast<HDC>(mBackBuffer->getDC()), r->L, r->T, SRCCOPY);
  EndPaint(mWindow, &ps);
  return true;
}

void IGraphicsWindows::ResizeEditor(int w, int h)
{
  const int dw = w - mEditorWidth, dh = h - mEditorHeight;
  IGraphics::ResizeEditor(w, h);
  if (mBackBuffer) mBackBuffer->resize(w, h);
  if (!mWindow) return;
  RECT before{};
  GetClientRect(mWindow, &before);
  // The window and each wrapping child window of the host's frame follow.
  HWND window = mWindow;
  for (int level = 0; level < 3 && window; ++level)
  {
    if (level > 0 && !IsChildWindow(window)) break;
    RECT r{};
    GetWindowRect(window, &r);
    SetWindowPos(window, nullptr, 0, 0, r.right - r.left + dw, r.bottom - r.top + dh,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    window = GetParent(window);
  }
  InvalidateRect(mWindow, &before, FALSE);
}

LRESULT CALLBACK IGraphicsWindows::WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_CREATE)
  {
    const CREATESTRUCTA* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    IGraphicsWindows* editor = static_cast<IGraphicsWindows*>(create->lpCreateParams);
    SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(editor));
    const int fps = (editor && editor->mFrameRate > 0) ? editor->mFrameRate : 24;
    SetTimer(hWnd, kTimerId, static_cast<UINT>(1000.0 / fps), nullptr);
    if (editor && editor->mPlug && editor->mPlug->HostKind() == kHostAcoustica) SetFocus(hWnd); // this host gives the editor no focus
    return 0;
  }
  IGraphicsWindows* editor = reinterpret_cast<IGraphicsWindows*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
  if (!editor || editor->mWindow != hWnd) return DefWindowProcA(hWnd, msg, wParam, lParam);
  return editor->HandleMessage(hWnd, msg, wParam, lParam);
}

LRESULT IGraphicsWindows::HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (mEditWindow && mEditState == kEditFocused && msg == WM_RBUTTONDOWN)
  {
    mEditState = kEditCancel;
    return 0;
  }
  const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  switch (msg)
  {
  case WM_PAINT:
  {
    RECT r{};
    if (GetUpdateRect(hWnd, &r, FALSE))
    {
      IRECT dirty(r.left, r.top, r.right, r.bottom);
      Paint(&dirty);
    }
    return 0;
  }
  case WM_CLOSE:
    CloseEditorWindow();
    return 0;
  case WM_MOUSEACTIVATE:
    if (mPlug && mPlug->HostKind() == kHostAcoustica) SetFocus(hWnd);
    return MA_ACTIVATE;
  case WM_KEYDOWN:
  {
    const int key = EditorKeyOf(wParam);
    if (key >= 0)
    {
      POINT p{};
      GetCursorPos(&p);
      ScreenToClient(hWnd, &p);
      KeyDown(p.x, p.y, key);
    }
    return 0;
  }
  case WM_TIMER:
    if (wParam == kTimerId) OnTimer();
    return 0;
  case WM_MOUSEMOVE:
  {
    MouseMods mods = ModsOf(wParam);
    if (wParam & (MK_LBUTTON | MK_RBUTTON))
    {
      if (GetCapture() == hWnd) MouseDrag(x, y, &mods);
      return 0;
    }
    if (MouseOver(x, y, &mods))
    {
      TRACKMOUSEEVENT track{};
      track.cbSize = 24;
      track.dwFlags = TME_LEAVE;
      track.hwndTrack = hWnd;
      track.dwHoverTime = HOVER_DEFAULT;
      if (mTooltipsOn && mHoverIndex != mTipControl)
      {
        mTipControl = mHoverIndex;
        if (mTipControl >= 0) track.dwFlags |= TME_HOVER;
        HideTooltip();
      }
      TrackMouseEvent(&track);
    }
    return 0;
  }
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  {
    if (msg == WM_RBUTTONDOWN && mEditWindow)
    {
      mEditState = kEditCancel;
      return 0;
    }
    HideTooltip();
    if (mEditWindow) mEditState = kEditCommit;
    SetCapture(hWnd);
    MouseMods mods = ModsOf(wParam);
    MouseDown(x, y, &mods);
    return 0;
  }
  case WM_LBUTTONUP:
  case WM_RBUTTONUP:
  {
    ReleaseCapture();
    MouseMods mods = ModsOf(wParam);
    MouseUp(x, y, &mods);
    return 0;
  }
  case WM_LBUTTONDBLCLK:
  {
    MouseMods mods = ModsOf(wParam);
    if (MouseDoubleClick(x, y, &mods)) SetCapture(hWnd);
    return 0;
  }
  case WM_MOUSEWHEEL:
  {
    RECT r{};
    GetWindowRect(hWnd, &r);
    MouseMods mods = ModsOf(GET_KEYSTATE_WPARAM(wParam));
    // Whole notches only: integer division truncates toward zero.
    const int notches = static_cast<short>(HIWORD(wParam)) / WHEEL_DELTA;
    MouseWheel(x - r.left, y - r.top, &mods, notches);
    return 0;
  }
  case WM_MOUSEHOVER:
    ShowTooltip();
    return 0;
  case WM_MOUSELEAVE:
    HideTooltip();
    MouseOut();
    return 0;
  default:
    return DefWindowProcA(hWnd, msg, wParam, lParam);
  }
}

void IGraphicsWindows::OnTimer()
{
  // The text-field hand-shake: the field only records what the user did;
  // the tick acts on it, outside the field's own message handling.
  if (mEditWindow)
  {
    switch (mEditState)
    {
    case kEditCommit:
    {
      char text[kMaxFieldText + 1] = {};
      SendMessageA(mEditWindow, WM_GETTEXT, kMaxFieldText, reinterpret_cast<LPARAM>(text));
      IControl* control = mEdControl;
      IParam* param = mEdParam;
      ApplyPromptText(control, param, text);
      CloseField();
      break;
    }
    case kEditCancel:
      CloseField();
      break;
    case kEditFocused:
      mEditState = kEditOpen;
      break;
    default:
      break;
    }
  }

  IRECT dirty;
  if (mWindow && NeedsRedraw(&dirty))
  {
    RECT r{dirty.L, dirty.T, dirty.R, dirty.B};
    InvalidateRect(mWindow, &r, FALSE);
    if (mEditWindow)
    {
      // The native field is not painted over.
      RECT field{};
      GetClientRect(mEditWindow, &field);
      MapWindowPoints(mEditWindow, mWindow, reinterpret_cast<POINT*>(&field), 2);
      ValidateRect(mWindow, &field);
    }
    UpdateWindow(mWindow);
  }

  if (mParamChangeTimer != 0 && --mParamChangeTimer == 0 && mPlug) mPlug->FlushPendingEdit();
}

bool IGraphicsWindows::ProcessMouseWheel(float d)
{
  if (!mWindow) return false;
  POINT p{};
  GetCursorPos(&p);
  if (WindowFromPoint(p) != mWindow) return false;
  RECT r{};
  GetWindowRect(mWindow, &r);
  MouseMods mods(false, false, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0);
  MouseWheel(p.x - r.left, p.y - r.top, &mods, static_cast<int>(d));
  return true;
}

// ---- Value prompts ----

bool IGraphicsWindows::PromptForValue(IControl* control, IParam* param, bool center)
{
  if (!control || !param || mEditWindow || !mWindow) return false;
  const IRECT& area = control->Area();
  const int cx = static_cast<int>(static_cast<float>(area.L + area.R) * 0.5f);
  const int cy = static_cast<int>(static_cast<float>(area.T + area.B) * 0.5f);
  char current[IParam::kDisplaySize] = {};
  param->FormatValue(param->CurrentValue(), false, current);

  HWND field = nullptr;
  const int texts = param->DisplayTextCount();
  if (texts > 0 && (param->Kind() == IParam::kTypeBool || param->Kind() == IParam::kTypeEnum))
  {
    int w = 24, selected = -1;
    for (int i = 0; i < texts; ++i)
    {
      const char* t = param->DisplayTextFor(i);
      w = std::max(w, static_cast<int>(std::strlen(t)) * 8 + 24);
      if (std::strcmp(t, current) == 0) selected = i;
    }
    const int listHeight = 36 * (texts + 1);
    const DWORD style = WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST;
    if (center)
      field = CreateWindowExA(0, "COMBOBOX", "", style, cx - w / 2, cy, w, listHeight, mWindow,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFieldId)), mInstanceHandle, nullptr);
    else
      field = CreateWindowExA(0, "COMBOBOX", "", style, area.L, cy, area.W(), area.H(), mWindow,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFieldId)), mInstanceHandle, nullptr);
    if (!field) return false;
    for (int i = 0; i < texts; ++i)
      SendMessageA(field, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(param->DisplayTextFor(i)));
    SendMessageA(field, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  }
  else
  {
    if (center)
    {
      char widest[IParam::kDisplaySize] = {};
      param->FormatValue(1.0, true, widest);
      const int w = std::max(32, 7 * static_cast<int>(std::strlen(widest)) + 6);
      field = CreateWindowExA(0, "EDIT", current, WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_CENTER, cx - w / 2,
                              cy - 8, w, 16, mWindow, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFieldId)),
                              mInstanceHandle, nullptr);
    }
    else
      field = CreateWindowExA(0, "EDIT", current, WS_CHILD | WS_VISIBLE | ES_MULTILINE, area.L, area.T, area.W(),
                              area.H(), mWindow, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFieldId)),
                              mInstanceHandle, nullptr);
    if (!field) return false;
    SendMessageA(field, EM_SETSEL, 0, -1);
  }
  HFONT font = CreateFontA(14, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  AdoptField(field, font, control, param);
  return true;
}

void IGraphicsWindows::PromptForValue(IEditableTextControl* control)
{
  if (!control || mEditWindow || !mWindow) return;
  const IRECT& area = control->Area();
  const IText* style = control->TextStyle();
  DWORD dwStyle = WS_CHILD | WS_VISIBLE;
  switch (style->mAlign)
  {
  case IText::kAlignNear: dwStyle |= ES_LEFT; break;
  case IText::kAlignFar: dwStyle |= ES_RIGHT; break;
  default: dwStyle |= ES_CENTER; break;
  }
  if (!control->IsEditable()) dwStyle |= ES_READONLY;
  dwStyle |= control->IsPassword() ? ES_PASSWORD : ES_MULTILINE;
  HWND field = CreateWindowExA(0, "EDIT", control->Text(), dwStyle, area.L, area.T, area.W(), area.H(), mWindow,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFieldId)), mInstanceHandle, nullptr);
  if (!field) return;
  SendMessageA(field, EM_SETSEL, 0, -1);
  char face[IText::kFontNameSize + 1] = {};
  std::memcpy(face, style->mFont, IText::kFontNameSize);
  HFONT font = CreateFontA(style->mSize, 0, 0, 0, style->mStyle == IText::kStyleBold ? FW_BOLD : 0,
                           style->mStyle == IText::kStyleItalic ? TRUE : FALSE, 0, 0, 0, 0, 0, 0, 0, face);
  AdoptField(field, font, control, nullptr);
}

void IGraphicsWindows::AdoptField(HWND field, HFONT font, IControl* control, IParam* param)
{
  SetFocus(field);
  mEditProcBefore = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FieldProc)));
  SetWindowLongPtrA(field, GWLP_USERDATA, kFieldMarker);
  // The field is the current one before its font is sent: the field
  // procedure hands messages of any other window to DefWindowProc, which
  // would drop the font.
  mEdControl = control;
  mEdParam = param;
  mEditWindow = field;
  mEditFont = font;
  SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
}

void IGraphicsWindows::CloseField()
{
  if (!mEditWindow) return;
  if (mEdControl) mEdControl->PromptClosed();
  SetWindowLongPtrA(mEditWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mEditProcBefore));
  DestroyWindow(mEditWindow);
  // The field no longer uses its font.
  if (mEditFont) DeleteObject(mEditFont);
  mEditFont = nullptr;
  mEditWindow = nullptr;
  mEdControl = nullptr;
  mEdParam = nullptr;
  mEditProcBefore = nullptr;
  mEditState = kEditOpen;
}

LRESULT CALLBACK IGraphicsWindows::FieldProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  IGraphicsWindows* editor =
      reinterpret_cast<IGraphicsWindows*>(GetWindowLongPtrA(GetParent(hWnd), GWLP_USERDATA));
  if (!editor || editor->mEditWindow != hWnd || GetWindowLongPtrA(hWnd, GWLP_USERDATA) != kFieldMarker)
    return DefWindowProcA(hWnd, msg, wParam, lParam);
  return editor->HandleFieldMessage(hWnd, msg, wParam, lParam);
}

LRESULT IGraphicsWindows::HandleFieldMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  HideTooltip();
  switch (msg)
  {
  case WM_SETFOCUS:
    mEditState = kEditFocused;
    break;
  case WM_KILLFOCUS:
    // Losing the focus neither commits nor cancels.
    mEditState = kEditOpen;
    break;
  case WM_KEYDOWN:
    if (wParam == VK_RETURN)
    {
      char className[16] = {};
      GetClassNameA(hWnd, className, sizeof className);
      if (lstrcmpiA(className, "EDIT") == 0) SendMessageA(hWnd, EM_SETSEL, static_cast<WPARAM>(-1), 0);
      mEditState = kEditCommit;
      return 0;
    }
    mEditState = kEditFocused;
    break;
  case WM_COMMAND:
    if (HIWORD(wParam) == CBN_SELCHANGE)
    {
      mEditState = kEditCommit;
      return 0;
    }
    break;
  case WM_GETDLGCODE:
    if (!mEdParam)
    {
      LRESULT code = CallWindowProcA(mEditProcBefore, hWnd, msg, wParam, lParam);
      const MSG* pending = reinterpret_cast<const MSG*>(lParam);
      if (pending && pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN) code |= DLGC_WANTALLKEYS;
      return code;
    }
    break;
  default:
    break;
  }
  return CallWindowProcA(mEditProcBefore, hWnd, msg, wParam, lParam);
}

// ---- Tool tips (never enabled in this product) ----

void IGraphicsWindows::ShowTooltip()
{
  mTipControl = mTooltipsOn ? mHoverIndex : -1;
  // The editor's controls carry no tool-tip text, so there is nothing to
  // show; the window and its tool exist only when tool tips are switched on.
}

void IGraphicsWindows::HideTooltip()
{
  if (!mTipShown) return;
  TOOLINFOA tool{};
  tool.cbSize = 64;
  tool.hwnd = mWindow;
  tool.uId = reinterpret_cast<UINT_PTR>(mWindow);
  SendMessageA(mTipWindow, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  mTipShown = false;
}

void IGraphicsWindows::RefreshTooltips()
{
  if (!mTooltipsOn) HideTooltip();
}

// ---- Dialogs, web pages, paths, images ----

void IGraphicsWindows::HostAppPath(WDL_String* path)
{
  if (path) FolderOfModule(nullptr, path);
}

void IGraphicsWindows::PluginFilePath(WDL_String* path)
{
  if (path) FolderOfModule(mInstanceHandle, path);
}

void IGraphicsWindows::AskForFile(WDL_String* file, int action, const char* dir, const char* extensions)
{
  if (!file) return;
  if (!mWindow)
  {
    file->Set("");
    return;
  }
  char name[256] = {};
  lstrcpynA(name, file->Get(), 255);

  // "wav aif" -> "*.wav;*.aif", used as the filter's description and pattern.
  std::string pattern, defaultExt;
  std::string filter;
  if (extensions && *extensions)
  {
    const std::string list(extensions);
    size_t start = 0;
    while (start <= list.size())
    {
      const size_t space = list.find(' ', start);
      const std::string ext = list.substr(start, space == std::string::npos ? std::string::npos : space - start);
      if (!ext.empty())
      {
        if (defaultExt.empty()) defaultExt = ext;
        if (!pattern.empty()) pattern += ';';
        pattern += "*." + ext;
      }
      if (space == std::string::npos) break;
      start = space + 1;
    }
    filter = pattern + '\0' + pattern + '\0' + '\0';
  }

  OPENFILENAMEA ofn{};
  ofn.lStructSize = 152;
  ofn.hwndOwner = mWindow;
  ofn.lpstrFile = name;
  ofn.nMaxFile = 255;
  ofn.lpstrInitialDir = (dir && *dir) ? dir : nullptr;
  ofn.lpstrTitle = "Select audio sample";
  if (!filter.empty())
  {
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrDefExt = defaultExt.c_str();
  }
  BOOL chosen;
  if (action == 1)
  {
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
    chosen = GetSaveFileNameA(&ofn);
  }
  else
  {
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    chosen = GetOpenFileNameA(&ofn);
  }
  file->Set(chosen ? name : "");
}

UINT_PTR CALLBACK IGraphicsWindows::ColorHookProc(HWND dialog, UINT msg, WPARAM, LPARAM lParam)
{
  if (msg == WM_INITDIALOG)
  {
    const CHOOSECOLORA* choose = reinterpret_cast<const CHOOSECOLORA*>(lParam);
    const char* prompt = choose ? reinterpret_cast<const char*>(choose->lCustData) : nullptr;
    if (prompt && *prompt) SetWindowTextA(dialog, prompt);
  }
  return 0;
}

bool IGraphicsWindows::AskForColor(IColor* color, const char* prompt)
{
  if (!mWindow || !color) return false;
  if (!mColorChoices) mColorChoices = new COLORREF[16]();
  CHOOSECOLORA choose{};
  choose.lStructSize = 72;
  choose.hwndOwner = mWindow;
  choose.rgbResult = RGB(color->R, color->G, color->B);
  choose.lpCustColors = mColorChoices;
  choose.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK | CC_SOLIDCOLOR | CC_ANYCOLOR;
  choose.lCustData = reinterpret_cast<LPARAM>(prompt);
  choose.lpfnHook = ColorHookProc;
  if (!ChooseColorA(&choose)) return false;
  color->R = GetRValue(choose.rgbResult);
  color->G = GetGValue(choose.rgbResult);
  color->B = GetBValue(choose.rgbResult);
  return true;
}

bool IGraphicsWindows::OpenWebPage(const char* url, const char* windowTitle, const char* confirmMsg,
                                   const char* errMsg)
{
  if (!url) return false;
  if (confirmMsg && AskUser(mWindow, confirmMsg, windowTitle, MB_YESNO) != IDYES) return false;
  if (ShellOpen(mWindow, url) > 32) return true;
  if (errMsg) AskUser(mWindow, errMsg, windowTitle, MB_OK);
  return false;
}

LICE_IBitmap* IGraphicsWindows::LoadPlatformImage(int id, const char*)
{
  return LICE_LoadPNGFromResource(mInstanceHandle, id);
}
