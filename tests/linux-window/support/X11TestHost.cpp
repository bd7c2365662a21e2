#include "tests/linux-window/support/X11TestHost.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "wrappers/vst/KestraneVendorCalls.h"

X11TestDisplay::X11TestDisplay()
{
  mDisplay = XOpenDisplay(nullptr);
  if (!mDisplay) return;
  int event = 0, error = 0, major = 0, minor = 0;
  mHasXTest = XTestQueryExtension(mDisplay, &event, &error, &major, &minor);
}

X11TestDisplay::~X11TestDisplay()
{
  if (mDisplay) XCloseDisplay(mDisplay);
}

Window X11TestDisplay::MakeParent(int x, int y, int width, int height)
{
  const int screen = DefaultScreen(mDisplay);
  const Window window = XCreateSimpleWindow(mDisplay, RootWindow(mDisplay, screen), x, y, static_cast<unsigned>(width),
                                            static_cast<unsigned>(height), 0, 0, 0x808080);
  XSelectInput(mDisplay, window, StructureNotifyMask);
  XMapWindow(mDisplay, window);
  for (XEvent event;;)
  {
    XNextEvent(mDisplay, &event);
    if (event.type == MapNotify && event.xmap.window == window) break;
  }
  return window;
}

void X11TestDisplay::Destroy(Window window)
{
  XDestroyWindow(mDisplay, window);
  XSync(mDisplay, False);
}

std::vector<Window> X11TestDisplay::Children(Window window)
{
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  std::vector<Window> found;
  XSync(mDisplay, False);
  if (XQueryTree(mDisplay, window, &root, &parent, &children, &count))
  {
    found.assign(children, children + count);
    if (children) XFree(children);
  }
  return found;
}

std::vector<uint32_t> X11TestDisplay::Pixels(Window window, int width, int height)
{
  std::vector<uint32_t> pixels;
  XSync(mDisplay, False);
  XImage* image = XGetImage(mDisplay, window, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                            AllPlanes, ZPixmap);
  if (!image) return pixels;
  pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu);
  XDestroyImage(image);
  return pixels;
}

void X11TestDisplay::MoveTo(Window window, int x, int y)
{
  int rootX = 0, rootY = 0;
  Window child = 0;
  XTranslateCoordinates(mDisplay, window, DefaultRootWindow(mDisplay), x, y, &rootX, &rootY, &child);
  XTestFakeMotionEvent(mDisplay, DefaultScreen(mDisplay), rootX, rootY, CurrentTime);
  Flush();
}

void X11TestDisplay::Button(unsigned button, bool press)
{
  XTestFakeButtonEvent(mDisplay, button, press ? True : False, CurrentTime);
  Flush();
}

void X11TestDisplay::Click(Window window, int x, int y, unsigned button)
{
  MoveTo(window, x, y);
  Button(button, true);
  Button(button, false);
}

void X11TestDisplay::Key(unsigned long keysym)
{
  const KeyCode code = XKeysymToKeycode(mDisplay, keysym);
  if (code == 0) return;
  // Shift when the symbol is the keycode's shifted one.
  const bool shifted = XkbKeycodeToKeysym(mDisplay, code, 0, 0) != keysym && XkbKeycodeToKeysym(mDisplay, code, 0, 1) == keysym;
  const KeyCode shift = XKeysymToKeycode(mDisplay, XK_Shift_L);
  if (shifted) XTestFakeKeyEvent(mDisplay, shift, True, CurrentTime);
  XTestFakeKeyEvent(mDisplay, code, True, CurrentTime);
  XTestFakeKeyEvent(mDisplay, code, False, CurrentTime);
  if (shifted) XTestFakeKeyEvent(mDisplay, shift, False, CurrentTime);
  Flush();
}

void X11TestDisplay::Type(const std::string& text)
{
  for (char c : text)
  {
    char name[2] = {c, '\0'};
    const KeySym keysym = c == '.' ? XK_period : c == '-' ? XK_minus : c == ' ' ? XK_space : XStringToKeysym(name);
    Key(keysym);
  }
}

void X11TestDisplay::Flush()
{
  XSync(mDisplay, False);
}

EditorSession::EditorSession(X11TestDisplay& x11, const PluginLibrary& library, int x, int y)
    : plugin(library), mX11(x11)
{
  if (!plugin.effect) return;
  plugin.OpenLikeAHost(48000.0f, 512);
  ERect* rect = nullptr;
  if (plugin.Dispatch(effEditGetRect, 0, 0, &rect) && rect)
  {
    width = rect->right - rect->left;
    height = rect->bottom - rect->top;
  }
  if (width > 0 && height > 0) parent = x11.MakeParent(x, y, width, height);
}

EditorSession::~EditorSession()
{
  if (parent) Close();
  if (parent) mX11.Destroy(parent);
}

bool EditorSession::Open()
{
  return parent && plugin.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(parent))) == 1;
}

void EditorSession::Close()
{
  plugin.Dispatch(effEditClose);
}

void EditorSession::IdleFor(int milliseconds)
{
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  do
  {
    plugin.Dispatch(effEditIdle);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  } while (std::chrono::steady_clock::now() < end);
}

std::vector<uint32_t> EditorSession::IdleUntilShows(const std::vector<uint32_t>& expected, int milliseconds)
{
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  std::vector<uint32_t> seen;
  do
  {
    IdleFor(20);
    seen = mX11.Pixels(parent, width, height);
  } while (seen != expected && std::chrono::steady_clock::now() < end);
  return seen;
}

Window EditorSession::EditorWindow()
{
  const std::vector<Window> children = mX11.Children(parent);
  return children.size() == 1 ? children[0] : 0;
}

std::vector<uint8_t> ProgramChunk(const PluginInstance& plugin)
{
  void* data = nullptr;
  const VstIntPtr size = plugin.Dispatch(effGetChunk, 1, 0, &data);
  if (size <= 0 || !data) return {};
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

std::vector<uint32_t> HeadlessPicture(const PluginLibrary& library, const std::vector<uint8_t>& programChunk)
{
  PluginInstance twin(library);
  std::vector<uint32_t> pixels;
  if (!twin.effect) return pixels;
  twin.OpenLikeAHost(48000.0f, 512);
  std::vector<uint8_t> chunk = programChunk;
  twin.Dispatch(effSetChunk, 1, static_cast<VstIntPtr>(chunk.size()), chunk.data());
  KestraneEditorSnapshot snapshot{};
  if (twin.Dispatch(effVendorSpecific, kKestraneSnapshotIndex, sizeof snapshot, &snapshot) != kVstVendorHandled)
    return pixels;
  for (int y = 0; y < snapshot.height; ++y)
    for (int x = 0; x < snapshot.width; ++x)
      pixels.push_back(snapshot.pixels[static_cast<long>(y) * snapshot.rowSpan + x] & 0xFFFFFFu);
  return pixels;
}

int DifferentPixels(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
  if (a.size() != b.size()) return static_cast<int>(std::max(a.size(), b.size()));
  int n = 0;
  for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
  return n;
}
