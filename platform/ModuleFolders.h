#pragma once

#include "core/wdl/WDL_String.h"

// Where the running program and the loaded code live, for hosts without a
// native window. Each platform folder defines these in its own file.
// Folders are given without a trailing separator; false (and an empty
// string) when the system cannot tell.

// The folder of the running program's executable.
bool ProgramFolder(WDL_String* out);
// The folder of the file (program or library) that holds the code at address.
bool ModuleFolderOf(const void* address, WDL_String* out);
