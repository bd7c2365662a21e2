#include "platform/linux/LinuxPaths.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>

namespace
{
// "/a/b/c" -> "/a/b"
void SetToFolderOf(WDL_String* out, const char* path)
{
  const char* slash = std::strrchr(path, '/');
  if (!slash)
    out->Set("");
  else
    out->Set(path, static_cast<int>(slash - path));
}
} // namespace

void LinuxHostAppFolder(WDL_String* path)
{
  if (!path) return;
  char exe[PATH_MAX] = {};
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n <= 0)
    path->Set("");
  else
    SetToFolderOf(path, exe);
}

void LinuxPluginFolder(WDL_String* path)
{
  if (!path) return;
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&SetToFolderOf), &info) || !info.dli_fname || !*info.dli_fname)
  {
    path->Set("");
    return;
  }
  // The program itself may be named as it was started (a relative path).
  char resolved[PATH_MAX] = {};
  SetToFolderOf(path, realpath(info.dli_fname, resolved) ? resolved : info.dli_fname);
}
