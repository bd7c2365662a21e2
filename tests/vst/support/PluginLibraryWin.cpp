// Loading a plug-in DLL as Windows hosts do (LoadLibrary, GetProcAddress),
// and what its export and import tables say, read from the loaded image.
#include <windows.h>

#include <algorithm>
#include <cctype>

#include "tests/vst/support/PluginInstance.h"

namespace
{
// The DLLs every Windows installation has, which the plug-in may import.
const char* const kSystemDlls[] = {"kernel32.dll", "user32.dll", "gdi32.dll",   "advapi32.dll",
                                   "comctl32.dll", "comdlg32.dll", "shell32.dll", "msvcrt.dll"};

std::string Lower(std::string s)
{
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The loaded image's data directory entry, or null.
template <class T>
const T* Directory(HMODULE module, int entry)
{
  const BYTE* base = reinterpret_cast<const BYTE*>(module);
  const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[entry];
  return dir.VirtualAddress ? reinterpret_cast<const T*>(base + dir.VirtualAddress) : nullptr;
}

// Maps the DLL without running its code.
HMODULE MapImage(const std::string& path)
{
  return LoadLibraryExA(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
}
} // namespace

PluginLibrary::PluginLibrary(const std::string& path)
{
  mHandle = LoadLibraryA(path.c_str());
  if (!mHandle) mError = "LoadLibrary failed with error " + std::to_string(GetLastError());
}

PluginLibrary::~PluginLibrary()
{
  if (mHandle) FreeLibrary(static_cast<HMODULE>(mHandle));
}

void* PluginLibrary::Symbol(const char* name) const
{
  if (!mHandle) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(mHandle), name));
}

std::set<std::string> ExportedNames(const std::string& path)
{
  std::set<std::string> names;
  HMODULE module = MapImage(path);
  if (!module) return names;
  const BYTE* base = reinterpret_cast<const BYTE*>(module);
  if (const auto* exports = Directory<IMAGE_EXPORT_DIRECTORY>(module, IMAGE_DIRECTORY_ENTRY_EXPORT))
  {
    const DWORD* nameRvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
      names.insert(reinterpret_cast<const char*>(base + nameRvas[i]));
  }
  FreeLibrary(module);
  return names;
}

std::vector<std::string> LoadingProblems(const std::string& path)
{
  std::vector<std::string> problems;
  HMODULE module = MapImage(path);
  if (!module) return {"cannot be mapped"};
  const BYTE* base = reinterpret_cast<const BYTE*>(module);
  for (const auto* import = Directory<IMAGE_IMPORT_DESCRIPTOR>(module, IMAGE_DIRECTORY_ENTRY_IMPORT);
       import && import->Name; ++import)
  {
    const std::string dll = Lower(reinterpret_cast<const char*>(base + import->Name));
    if (std::find(std::begin(kSystemDlls), std::end(kSystemDlls), dll) == std::end(kSystemDlls))
      problems.push_back("imports " + dll);
  }
  FreeLibrary(module);
  return problems;
}
