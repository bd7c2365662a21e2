#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <X11/Xlib.h>

#include "tests/vst/support/PluginInstance.h"

// The host's side of an editor under a (virtual) X server: its own
// connection, top-level windows for editors to open in, pixels read back
// with XGetImage, and input synthesised with XTest, which the server
// delivers to whichever window is under the pointer, as real input.
class X11TestDisplay
{
public:
  X11TestDisplay();
  ~X11TestDisplay();
  X11TestDisplay(const X11TestDisplay&) = delete;
  X11TestDisplay& operator=(const X11TestDisplay&) = delete;

  // False without a server (DISPLAY unset) or without XTest.
  bool Ready() const { return mDisplay != nullptr && mHasXTest; }
  Display* Connection() const { return mDisplay; }

  // A mapped top-level window at (x, y) of the screen.
  Window MakeParent(int x, int y, int width, int height);
  void Destroy(Window window);
  std::vector<Window> Children(Window window);
  // The window's pixels as the screen shows them, 0x00RRGGBB row by row;
  // empty when the server refuses.
  std::vector<uint32_t> Pixels(Window window, int width, int height);

  // Pointer to (x, y) of the window (window coordinates).
  void MoveTo(Window window, int x, int y);
  void Button(unsigned button, bool press);
  void Click(Window window, int x, int y, unsigned button);
  // Keys by their symbols (XK_...), pressed and released; Shift is held
  // for symbols that need it.
  void Key(unsigned long keysym);
  void Type(const std::string& text);
  void Flush();

private:
  Display* mDisplay = nullptr;
  bool mHasXTest = false;
};

// One instance of a plug-in library with its editor open in a parent
// window, driven as a Linux host drives it: effEditIdle from this thread.
class EditorSession
{
public:
  EditorSession(X11TestDisplay& x11, const PluginLibrary& library, int x = 0, int y = 0);
  ~EditorSession();

  PluginInstance plugin;
  Window parent = 0;
  int width = 0;
  int height = 0;

  // effEditOpen into the parent; true when the plug-in opened its window.
  bool Open();
  void Close();
  // Idles every 5 ms for the time given.
  void IdleFor(int milliseconds);
  // Idles until the window shows `expected` (or the time runs out); the
  // pixels last seen.
  std::vector<uint32_t> IdleUntilShows(const std::vector<uint32_t>& expected, int milliseconds = 2000);
  // The editor's window: the parent's only child (0 when none).
  Window EditorWindow();

private:
  X11TestDisplay& mX11;
};

// The same plug-in's editor in the given state, painted headless by a
// second instance (Kestrane's 'KsSn' snapshot), as 0x00RRGGBB row by row.
std::vector<uint32_t> HeadlessPicture(const PluginLibrary& library, const std::vector<uint8_t>& programChunk);
// The program chunk (effGetChunk, index 1) of an instance.
std::vector<uint8_t> ProgramChunk(const PluginInstance& plugin);
// Pixels that differ between two pictures of the same size (all of them
// when the sizes differ).
int DifferentPixels(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b);
