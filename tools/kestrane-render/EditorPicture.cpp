#include "tools/kestrane-render/EditorPicture.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_PNGWrite.h"
#include "tools/kestrane-render/ToolError.h"
#include "tools/kestrane-render/VstPlugin.h"

void CheckEditorPicturePath(const std::string& path)
{
  std::string extension = path.size() >= 4 ? path.substr(path.size() - 4) : "";
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension != ".png") throw ToolError("cannot write '" + path + "': the editor picture is a .png file");
}

void SaveEditorPicture(const VstPlugin& plugin, const std::string& path)
{
  KestraneEditorSnapshot snapshot{};
  if (!plugin.EditorSnapshot(&snapshot))
    throw ToolError("the plug-in '" + plugin.Path() + "' cannot picture its editor (--snapshot)");

  // A copy of the lent pixels, which belong to the plug-in.
  LICE_MemBitmap picture(snapshot.width, snapshot.height);
  LICE_pixel* bits = picture.getBits();
  if (!bits || picture.getWidth() != snapshot.width || picture.getHeight() != snapshot.height)
    throw ToolError("no memory for the editor picture");
  for (int y = 0; y < snapshot.height; ++y)
    std::memcpy(bits + static_cast<long>(y) * picture.getRowSpan(),
                snapshot.pixels + static_cast<long>(y) * snapshot.rowSpan,
                sizeof(LICE_pixel) * static_cast<size_t>(snapshot.width));

  // The alpha bytes are drawing bookkeeping: the editor is opaque.
  if (!LICE_WritePNG(path.c_str(), &picture, false)) throw ToolError("cannot write '" + path + "'");
}
