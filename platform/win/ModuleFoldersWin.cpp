#include "platform/ModuleFolders.h"

#include <windows.h>

#include <cstring>

namespace
{
bool SetToFolderOf(HMODULE module, WDL_String* out)
{
  char path[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
  const char* slash = (n > 0 && n < MAX_PATH) ? std::strrchr(path, '\\') : nullptr;
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
  return SetToFolderOf(nullptr, out);
}

bool ModuleFolderOf(const void* address, WDL_String* out)
{
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<const char*>(address), &module))
  {
    out->Set("");
    return false;
  }
  return SetToFolderOf(module, out);
}
