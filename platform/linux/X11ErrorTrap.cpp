#include "platform/linux/X11ErrorTrap.h"

#include <dlfcn.h>

#include <mutex>

namespace x11_error_trap
{
namespace
{
// More editors than this open at once in one process are refused.
constexpr int kMaxDisplays = 64;

struct Entry
{
  Display* display = nullptr;
  int errors = 0;
  bool lost = false;
};

std::mutex gMutex;
Entry gEntries[kMaxDisplays];
int gRegistered = 0;
XErrorHandler gPrevious = nullptr;
bool gInstalled = false;

Entry* Find(Display* display)
{
  for (Entry& entry : gEntries)
    if (entry.display == display) return &entry;
  return nullptr;
}

// [any thread, inside an Xlib call]
int OnError(Display* display, XErrorEvent* event)
{
  XErrorHandler previous = nullptr;
  {
    std::lock_guard<std::mutex> lock(gMutex);
    if (Entry* entry = Find(display))
    {
      ++entry->errors;
      return 0;
    }
    previous = gPrevious;
  }
  // Not ours: the host's connection gets the host's handling.
  return (previous && previous != OnError) ? previous(display, event) : 0;
}

// A broken connection: remembered instead of exiting. Xlib then fails every
// further request on the display, and the window closes quietly.
void OnConnectionLost(Display* display, void*)
{
  std::lock_guard<std::mutex> lock(gMutex);
  if (Entry* entry = Find(display)) entry->lost = true;
}

// Keeps this library loaded for the rest of the process: a handler another
// library chained after ours may still call into it.
void PinThisLibrary()
{
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&OnError), &info) && info.dli_fname)
    dlopen(info.dli_fname, RTLD_NOW | RTLD_NODELETE | RTLD_NOLOAD);
}
} // namespace

bool Register(Display* display)
{
  if (!display) return false;
  {
    std::lock_guard<std::mutex> lock(gMutex);
    Entry* free = Find(nullptr);
    if (!free) return false;
    *free = Entry{display, 0, false};
    ++gRegistered;
    if (!gInstalled)
    {
      gPrevious = XSetErrorHandler(OnError);
      gInstalled = true;
    }
  }
  // Outside our mutex: this takes the display's own lock.
  XSetIOErrorExitHandler(display, OnConnectionLost, nullptr);
  return true;
}

void Unregister(Display* display)
{
  std::lock_guard<std::mutex> lock(gMutex);
  Entry* entry = display ? Find(display) : nullptr;
  if (!entry) return;
  *entry = Entry{};
  if (--gRegistered > 0 || !gInstalled) return;
  const XErrorHandler current = XSetErrorHandler(gPrevious);
  if (current != OnError)
  {
    // Someone installed a handler over ours and may forward to it: leave
    // theirs in place, keep ours answering (it forwards everything now).
    XSetErrorHandler(current);
    PinThisLibrary();
    return;
  }
  gInstalled = false;
  gPrevious = nullptr;
}

int TakeErrorCount(Display* display)
{
  std::lock_guard<std::mutex> lock(gMutex);
  Entry* entry = display ? Find(display) : nullptr;
  if (!entry) return 0;
  const int errors = entry->errors;
  entry->errors = 0;
  return errors;
}

bool ConnectionLost(Display* display)
{
  std::lock_guard<std::mutex> lock(gMutex);
  const Entry* entry = display ? Find(display) : nullptr;
  return entry && entry->lost;
}
} // namespace x11_error_trap
