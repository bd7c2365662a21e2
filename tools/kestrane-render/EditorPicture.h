#pragma once

#include <string>

class VstPlugin;

// Refuses an editor picture file name the writer cannot honour (only .png),
// before anything is loaded. ToolError when it is not one.
void CheckEditorPicturePath(const std::string& path);

// Writes the plug-in's editor, as it looks now, as an opaque RGB PNG file,
// complete or not at all. ToolError when the plug-in cannot paint its
// editor or the file cannot be written.
void SaveEditorPicture(const VstPlugin& plugin, const std::string& path);
