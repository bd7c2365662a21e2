#pragma once

#include <sys/types.h>

#include <vector>

// Opens web pages with the desktop's choice of browser: `xdg-open URL`,
// started with posix_spawnp (no shell, the URL one argument of its own, so
// nothing in it is ever interpreted). The launcher is reaped without
// blocking on later calls of Reap, so the host never waits for a browser and
// no finished launcher lingers as a zombie while the editor lives.
//
// Threads: the UI thread.
class DesktopLauncher
{
public:
  DesktopLauncher() = default;
  ~DesktopLauncher();
  DesktopLauncher(const DesktopLauncher&) = delete;
  DesktopLauncher& operator=(const DesktopLauncher&) = delete;

  // False when the URL is empty, would read as an option (a leading '-'),
  // holds a control character, or xdg-open cannot be started.
  bool OpenUrl(const char* url);
  // Collects launchers that have finished; never blocks.
  void Reap();

  int Running() const { return static_cast<int>(mChildren.size()); }

private:
  std::vector<pid_t> mChildren;
};
