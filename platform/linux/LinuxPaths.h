#pragma once

#include "core/wdl/WDL_String.h"

// Folders the editor hosts of Linux report (HostAppPath, PluginFilePath):
// without a trailing slash, empty when the folder cannot be found.
// [any thread]

// The folder of the running program (/proc/self/exe).
void LinuxHostAppFolder(WDL_String* path);
// The folder of the file this code was loaded from: the plug-in library, or
// the program it is linked into (dladdr).
void LinuxPluginFolder(WDL_String* path);
