// The Windows editor window, run under Wine: the effect's editor opened in a
// host's window, its pixels read back from the window, and window messages
// driven through it as a user and a host would.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls/IURLOpen.h"
#include "editor/IControl.h"
#include "effect/Kestrane.h"
#include "effect/KestraneEditorLayout.h"
#include "platform/win/IGraphicsWindows.h"
#include "raster/LICE_PNG.h"
#include "tests/editor/EditorTestSupport.h"
#include "tests/effect-editor/EditorTextAreas.h"
#include "tests/vst/support/PluginInstance.h"

namespace
{
namespace layout = kestrane_layout;
using editortest::ProbeControl;
using Event = ProbeControl::Event;
using Call = IPlugTest::HostCall;

// A top-level window standing in for the host's editor frame.
class HostWindow
{
public:
  HostWindow()
  {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KestraneTestHost";
    RegisterClassA(&wc);
    mWindow = CreateWindowExA(0, "KestraneTestHost", "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 520, 620,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  ~HostWindow() { DestroyWindow(mWindow); }
  HWND Handle() const { return mWindow; }

private:
  HWND mWindow;
};

void Tick(HWND window)
{
  SendMessageA(window, WM_TIMER, IGraphicsWindows::kTimerId, 0);
}

LPARAM At(int x, int y)
{
  return MAKELPARAM(x, y);
}

// The window's pixels as the screen has them.
std::vector<LICE_pixel> ReadBack(HWND window, int w, int h)
{
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(window);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  GdiFlush();
  std::vector<LICE_pixel> pixels(static_cast<const LICE_pixel*>(bits), static_cast<const LICE_pixel*>(bits) + w * h);
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return pixels;
}

LICE_pixel Rgb(LICE_pixel p)
{
  return p & 0x00FFFFFFu;
}

// ---- The effect's editor in a host window ----

class KestraneWindow : public ::testing::Test
{
protected:
  void SetUp() override
  {
    editor = dynamic_cast<IGraphicsWindows*>(plug.Editor());
    ASSERT_NE(editor, nullptr);
    plug.SetTempo(120.0);
    plug.SetSampleRate(48000.0);
    plug.Open();
    plug.ClearCalls();
    window = static_cast<HWND>(editor->OpenEditorWindow(host.Handle()));
    ASSERT_NE(window, nullptr);
    Tick(window);
  }
  void TearDown() override { editor->CloseEditorWindow(); }

  HostWindow host;
  CLS_KESTRANE plug{IPlugTest::InstanceInfo{}};
  IGraphicsWindows* editor = nullptr;
  HWND window = nullptr;
};

TEST_F(KestraneWindow, ShowsWhatTheEditorDrewAndTheLinuxPictureOutsideText)
{
  const int w = layout::kEditorWidth, h = layout::kEditorHeight;
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, w);
  EXPECT_EQ(client.bottom, h);
  const std::vector<LICE_pixel> shown = ReadBack(window, w, h);

  // Exactly the editor's own picture, text included.
  LICE_IBitmap* drawn = editor->BackBufferBitmap();
  int differing = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) differing += Rgb(shown[y * w + x]) != Rgb(drawn->getBits()[y * drawn->getRowSpan() + x]);
  EXPECT_EQ(differing, 0);

  // And the headless Linux reference of the same state, except where text
  // is: GDI's glyphs (under Wine, FreeType with Wine's hinting) are not
  // the Linux build's FreeType glyphs, by design.
  std::unique_ptr<LICE_IBitmap> reference(LICE_LoadPNG(KESTRANE_GOLDEN_DIR "/default.png"));
  ASSERT_NE(reference, nullptr);
  const std::vector<IRECT> text = KestraneEditorTextAreas(editor);
  int outsideText = 0, insideText = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
    {
      const bool differs = Rgb(shown[y * w + x]) != Rgb(reference->getBits()[y * reference->getRowSpan() + x]);
      bool inText = false;
      for (const IRECT& r : text) inText |= x >= r.L && x < r.R && y >= r.T && y < r.B;
      (inText ? insideText : outsideText) += differs;
    }
  EXPECT_EQ(outsideText, 0);
  std::printf("pixels differing from the Linux picture inside text areas: %d\n", insideText);
}

TEST_F(KestraneWindow, DraggingAKnobIsOneHostGesture)
{
  const IRECT& knob = editor->GetControl(layout::kFilterFreqKnob)->Area();
  const int paramIdx = editor->GetControl(layout::kFilterFreqKnob)->ParamIdx();
  const double before = plug.Param(paramIdx)->CurrentValue();
  const int x = (knob.L + knob.R) / 2, y = (knob.T + knob.B) / 2;
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
  EXPECT_EQ(GetCapture(), window);
  for (int i = 1; i <= 4; ++i) SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(x, y - 10 * i));
  SendMessageA(window, WM_LBUTTONUP, 0, At(x, y - 40));
  EXPECT_EQ(GetCapture(), nullptr);

  EXPECT_GT(plug.Param(paramIdx)->CurrentValue(), before);
  const std::vector<Call::Kind> gesture = plug.GestureOf(paramIdx);
  ASSERT_GE(gesture.size(), 3u);
  EXPECT_EQ(gesture.front(), Call::kBeginEdit);
  EXPECT_EQ(gesture.back(), Call::kEndEdit);
  EXPECT_EQ(plug.CallsOf(Call::kBeginEdit).size(), 1u);
}

TEST_F(KestraneWindow, ReopeningKeepsPlaceAndSizeAndClosingUnregistersTheClass)
{
  SetWindowPos(window, nullptr, 7, 9, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  HWND again = static_cast<HWND>(editor->OpenEditorWindow(host.Handle()));
  ASSERT_NE(again, nullptr);
  EXPECT_FALSE(IsWindow(window));
  RECT r{};
  GetWindowRect(again, &r);
  MapWindowPoints(nullptr, host.Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 7);
  EXPECT_EQ(r.top, 9);
  EXPECT_EQ(r.right - r.left, 300);
  EXPECT_EQ(r.bottom - r.top, 200);
  EXPECT_EQ(IGraphicsWindows::OpenWindowCount(), 1);

  editor->CloseEditorWindow();
  EXPECT_FALSE(IsWindow(again));
  EXPECT_EQ(IGraphicsWindows::OpenWindowCount(), 0);
  WNDCLASSA wc{};
  EXPECT_FALSE(GetClassInfoA(editor->InstanceHandle(), "IPlugWndClass", &wc));
  window = static_cast<HWND>(editor->OpenEditorWindow(host.Handle()));
  EXPECT_NE(window, nullptr);
}

std::string sOpenedUrl;
int sMessageBoxes = 0;

TEST_F(KestraneWindow, TheWebPageControlOpensThroughTheShell)
{
  IGraphicsWindows::WebPageCalls calls;
  calls.open = [](HWND, const char* url) -> INT_PTR {
    sOpenedUrl = url;
    return 2; // ERROR_FILE_NOT_FOUND: no browser
  };
  calls.messageBox = [](HWND, const char*, const char*, UINT) {
    ++sMessageBoxes;
    return IDOK;
  };
  IGraphicsWindows::SetWebPageCalls(calls);
  const IRECT& link = editor->GetControl(layout::kProductPage)->Area();
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(link.L + 5, link.T + 5));
  SendMessageA(window, WM_LBUTTONUP, 0, At(link.L + 5, link.T + 5));
  IGraphicsWindows::SetWebPageCalls({});
  EXPECT_EQ(sOpenedUrl.rfind(IURLOpen::kMakerWebAddress, 0), 0u) << sOpenedUrl;
  // The failed launch is reported in a message box.
  EXPECT_EQ(sMessageBoxes, 1);
}

// ---- The window host with probe controls ----

class WindowHost : public ::testing::Test
{
protected:
  void SetUp() override
  {
    editor = new IGraphicsWindows(plug.get(), 200, 100, 0);
    editor->SetInstanceHandle(GetModuleHandleA(nullptr));
    probe = new ProbeControl(plug.get(), IRECT(0, 0, 200, 100), TestPlug::kAmount);
    editor->AddControl(probe);
    // Controls whose values are typed in, all over (100, 40)-(140, 60).
    for (int paramIdx : {TestPlug::kType, TestPlug::kFreq, TestPlug::kPan})
      promptable[paramIdx] = new ProbeControl(plug.get(), IRECT(100, 40, 140, 60), paramIdx);
    for (int paramIdx : {TestPlug::kType, TestPlug::kFreq, TestPlug::kPan}) editor->AddControl(promptable[paramIdx]);
    plug->AttachEditor(editor);
    window = static_cast<HWND>(editor->OpenEditorWindow(host.Handle()));
    ASSERT_NE(window, nullptr);
    plug->ClearCalls();
  }
  void TearDown() override { editor->CloseEditorWindow(); }

  // Keys reach the control under the pointer; a press captures the probe
  // wherever the pointer is.
  std::vector<int> KeysDelivered(std::initializer_list<WPARAM> keys)
  {
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
    for (WPARAM key : keys) SendMessageA(window, WM_KEYDOWN, key, 0);
    SendMessageA(window, WM_LBUTTONUP, 0, At(10, 10));
    std::vector<int> codes;
    for (const Event& e : probe->mEvents)
      if (e.kind == Event::kKey) codes.push_back(e.dX);
    return codes;
  }

  void Wheel(short delta)
  {
    RECT r{};
    GetWindowRect(window, &r);
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), At(r.left + 50, r.top + 40));
  }

  HWND OpenPrompt(int paramIdx)
  {
    editor->PromptForValue(promptable[paramIdx], plug->Param(paramIdx), true);
    return editor->EditWindow();
  }

  HostWindow host;
  std::unique_ptr<TestPlug> plug = std::make_unique<TestPlug>();
  IGraphicsWindows* editor = nullptr; // owned by the plug-in
  ProbeControl* probe = nullptr;
  ProbeControl* promptable[TestPlug::kNumParams] = {};
  HWND window = nullptr;
};

TEST_F(WindowHost, KeysBecomeEditorKeyCodes)
{
  EXPECT_EQ(KeysDelivered({'7', 'Q', VK_F5, VK_NUMPAD3, VK_SPACE, VK_RIGHT, '0', 'Z'}),
            (std::vector<int>{12, 31, 0, 4, 5, 40}));
}

TEST_F(WindowHost, WheelDeltasBecomeWholeNotches)
{
  Wheel(240);
  Wheel(-119);
  Wheel(-360);
  std::vector<int> notches;
  for (const Event& e : probe->mEvents)
    if (e.kind == Event::kWheel) notches.push_back(e.dX);
  EXPECT_EQ(notches, (std::vector<int>{2, 0, -3}));
  EXPECT_EQ(probe->mEvents.front().x, 50);
  EXPECT_EQ(probe->mEvents.front().y, 40);
  // One host gesture, ended by the countdown of half a second of ticks.
  EXPECT_EQ(editor->ParamChangeCountdown(), 12);
  for (int i = 0; i < 11; ++i) Tick(window);
  EXPECT_TRUE(plug->CallsOf(Call::kEndEdit).empty());
  Tick(window);
  EXPECT_EQ(plug->CallsOf(Call::kBeginEdit).size(), 1u);
  EXPECT_EQ(plug->CallsOf(Call::kEndEdit).size(), 1u);
}

TEST_F(WindowHost, ValuePromptCommitsOnReturnAtTheNextTick)
{
  HWND field = OpenPrompt(TestPlug::kFreq);
  ASSERT_NE(field, nullptr);
  // "20000" is the widest value: 7 x 5 + 6 pixels, 16 high, centred.
  RECT r{};
  GetWindowRect(field, &r);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.right - r.left, 41);
  EXPECT_EQ(r.bottom - r.top, 16);
  EXPECT_EQ(r.left, 120 - 20);
  EXPECT_EQ(r.top, 50 - 8);
  EXPECT_EQ(GetFocus(), field);

  SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("440"));
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(field, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  SendMessageA(field, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(editor->EditState(), IGraphicsWindows::kEditCommit);
  EXPECT_EQ(plug->Param(TestPlug::kFreq)->CurrentValue(), 1000.0);
  Tick(window);
  EXPECT_EQ(plug->Param(TestPlug::kFreq)->CurrentValue(), 440.0);
  EXPECT_FALSE(IsWindow(field));
  EXPECT_EQ(editor->EditWindow(), nullptr);
  // The field's font went with it.
  EXPECT_EQ(GetObjectType(font), 0u);
}

TEST_F(WindowHost, RightClickCancelsLeftClickCommitsFocusLossKeepsTheField)
{
  HWND field = OpenPrompt(TestPlug::kPan);
  ASSERT_NE(field, nullptr);
  SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("-40"));
  SetFocus(host.Handle());
  EXPECT_EQ(editor->EditState(), IGraphicsWindows::kEditOpen);
  Tick(window);
  EXPECT_TRUE(IsWindow(field));

  SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, At(5, 5));
  SendMessageA(window, WM_RBUTTONUP, 0, At(5, 5));
  Tick(window);
  EXPECT_FALSE(IsWindow(field));
  EXPECT_EQ(plug->Param(TestPlug::kPan)->CurrentValue(), 0.0);

  field = OpenPrompt(TestPlug::kPan);
  ASSERT_NE(field, nullptr);
  SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("-40"));
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  SendMessageA(window, WM_LBUTTONUP, 0, At(5, 5));
  Tick(window);
  EXPECT_FALSE(IsWindow(field));
  EXPECT_EQ(plug->Param(TestPlug::kPan)->CurrentValue(), -40.0);
}

TEST_F(WindowHost, EnumerationPromptIsAListCommittedBySelection)
{
  HWND list = OpenPrompt(TestPlug::kType);
  ASSERT_NE(list, nullptr);
  char className[16] = {};
  GetClassNameA(list, className, sizeof className);
  EXPECT_STREQ(className, "ComboBox");
  EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 1); // "Highpass", the current value
  SendMessageA(list, CB_SETCURSEL, 2, 0);
  // What the list box tells its combo box when the user picks an entry.
  SendMessageA(list, WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), 0);
  Tick(window);
  EXPECT_FALSE(IsWindow(list));
  EXPECT_EQ(plug->Param(TestPlug::kType)->CurrentValue(), 2.0);
}

TEST_F(WindowHost, ClosingForgetsAnOpenFieldAndEndsAPendingWheelGesture)
{
  Wheel(120);
  HWND field = OpenPrompt(TestPlug::kPan);
  ASSERT_NE(field, nullptr);
  SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("-40"));
  SendMessageA(field, WM_KEYDOWN, VK_RETURN, 0);
  editor->CloseEditorWindow();
  EXPECT_FALSE(IsWindow(field));
  EXPECT_EQ(plug->Param(TestPlug::kPan)->CurrentValue(), 0.0);
  EXPECT_EQ(plug->CallsOf(Call::kEndEdit).size(), 1u);
  // The control can prompt again after a reopen.
  window = static_cast<HWND>(editor->OpenEditorWindow(host.Handle()));
  EXPECT_NE(OpenPrompt(TestPlug::kPan), nullptr);
}
} // namespace

// ---- The DLL's editor, opened by a host through the dispatcher ----

TEST(PluginDllEditor, OpensInTheHostWindowAndCloses)
{
  PluginLibrary library(KESTRANE_EFFECT_PLUGIN_LIBRARY);
  ASSERT_TRUE(library.Loaded()) << library.Error();
  PluginInstance plugin(library);
  plugin.OpenLikeAHost(48000.0f, 512);
  HostWindow host;
  ASSERT_EQ(plugin.Dispatch(effEditOpen, 0, 0, host.Handle()), 1);
  HWND editor = FindWindowExA(host.Handle(), nullptr, "IPlugWndClass", "IPlug");
  ASSERT_NE(editor, nullptr);
  Tick(editor);
  // The background was drawn from the DLL's own PNG resource: its pixels
  // are not the blank surface's.
  const std::vector<LICE_pixel> shown = ReadBack(editor, 388, 470);
  int painted = 0;
  for (LICE_pixel p : shown) painted += Rgb(p) != 0;
  EXPECT_GT(painted, 388 * 470 / 2);

  EXPECT_EQ(plugin.Dispatch(effEditClose), 1);
  EXPECT_FALSE(IsWindow(editor));
}
