#include "raster/win/WineDetection.h"

#include <windows.h>

bool LICE_RunningUnderWine()
{
  // A function-local static: initialised once, safely, on first use.
  static const bool underWine = [] {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Wine", 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }();
  return underWine;
}
