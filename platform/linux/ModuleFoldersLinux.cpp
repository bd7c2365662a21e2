#include "platform/ModuleFolders.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>

namespace
{
// "/a/b/c" -> "/a/b"
bool SetToFolderOf(WDL_String* out, const char* path)
{
  const char* slash = std::strrchr(path, '/');
  if (!slash)
  {
    out->Set("");
    return false;
  }
  out->Set(path, static_cast<int>(slash - path));
  return true;
}
} // namespace

bool ProgramFolder(WDL_String* out)
{
  char exe[PATH_MAX] = {};
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n <= 0)
  {
    out->Set("");
    return false;
  }
  return SetToFolderOf(out, exe);
}

bool ModuleFolderOf(const void* address, WDL_String* out)
{
  Dl_info info{};
  if (!dladdr(address, &info) || !info.dli_fname || !*info.dli_fname)
  {
    out->Set("");
    return false;
  }
  // The program itself may be named as it was started (a relative path).
  char resolved[PATH_MAX] = {};
  return SetToFolderOf(out, realpath(info.dli_fname, resolved) ? resolved : info.dli_fname);
}
