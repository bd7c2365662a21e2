#include "platform/linux/DesktopLauncher.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <string>

extern char** environ;

namespace
{
// Launchers waited for at most; older ones are left to the host.
constexpr size_t kMaxPending = 16;
// URLs longer than this are refused: no page of ours needs one.
constexpr size_t kMaxUrl = 2048;
} // namespace

DesktopLauncher::~DesktopLauncher()
{
  Reap();
}

bool DesktopLauncher::OpenUrl(const char* url)
{
  if (!url || !*url || url[0] == '-') return false;
  const size_t length = strnlen(url, kMaxUrl + 1);
  if (length > kMaxUrl) return false;
  for (size_t i = 0; i < length; ++i)
    if (static_cast<unsigned char>(url[i]) < 0x20 || url[i] == 0x7F) return false;

  Reap();
  std::string program = "xdg-open";
  std::string argument(url, length);
  char* argv[] = {program.data(), argument.data(), nullptr};
  pid_t child = 0;
  if (posix_spawnp(&child, "xdg-open", nullptr, nullptr, argv, environ) != 0) return false;
  if (mChildren.size() < kMaxPending) mChildren.push_back(child);
  return true;
}

void DesktopLauncher::Reap()
{
  for (size_t i = 0; i < mChildren.size();)
  {
    int status = 0;
    const pid_t done = waitpid(mChildren[i], &status, WNOHANG);
    // Finished, or already collected by a handler of the host's (ECHILD).
    if (done == mChildren[i] || (done < 0 && errno != EINTR))
      mChildren.erase(mChildren.begin() + static_cast<long>(i));
    else
      ++i;
  }
}
