#pragma once

#include <string>

#include <X11/Xlib.h>

class LICE_MemBitmap;

// A top-level X11 window for a plug-in's editor to live in, as a Linux host
// gives one to effEditOpen: its own connection, a fixed size, a title, and
// the window manager's close button reported instead of obeyed.
//
// Threads: one (the preview's loop).
class HostWindow
{
public:
  // Opens the display named by DISPLAY; ToolError when there is none.
  HostWindow(int width, int height, const std::string& title);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  // The id handed to the plug-in's effEditOpen.
  Window Id() const { return mWindow; }
  // Handles waiting events; false once the user asked to close the window.
  bool HandleEvents();
  // The window's pixels as the screen shows them, the editor included.
  // False when the server refuses (the window is not viewable).
  bool Capture(LICE_MemBitmap* picture);

private:
  Display* mDisplay = nullptr;
  Window mWindow = 0;
  Atom mDeleteWindow = 0;
  int mWidth;
  int mHeight;
  bool mOpen = true;
};
