#pragma once

// True when the program runs under Wine (the registry key
// HKEY_LOCAL_MACHINE\Software\Wine exists). Asked once per process and
// remembered. Under Wine, text is drawn by the glyph cache rather than GDI's
// DrawText, whose output into a DIB section differs between Wine versions.
// [any thread]
bool LICE_RunningUnderWine();
