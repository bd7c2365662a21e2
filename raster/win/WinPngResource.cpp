// PNG resources on Windows: the editor's images are resources of type "PNG"
// inside the module (the plug-in DLL; a test program carries its own copy),
// found by integer identifier.
#include <windows.h>

#include "raster/LICE_PNG.h"

LICE_IBitmap* LICE_LoadPNGFromResource(void* hInst, int resid, LICE_IBitmap* bmp)
{
  HMODULE module = static_cast<HMODULE>(hInst);
  HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(resid), "PNG");
  if (!resource) return nullptr;
  const DWORD size = SizeofResource(module, resource);
  HGLOBAL handle = LoadResource(module, resource);
  const void* data = handle ? LockResource(handle) : nullptr;
  if (!data || size <= 7) return nullptr;
  // The decoder already writes the Windows packing (A R G B from the top
  // byte down), so nothing is rewritten afterwards.
  return LICE_LoadPNGFromMemory(data, size, bmp);
}
