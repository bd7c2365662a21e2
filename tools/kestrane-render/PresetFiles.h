#pragma once

#include <string>

class VstPlugin;

// The standard VST preset files: .fxp holds one program, .fxb a bank of them.
// Written as parameter lists ('FxCk' programs, 'FxBk' banks) unless the
// plug-in exchanges its state as chunks ('FPCh', 'FBCh'); all four are read.
// Every failure is a ToolError naming the file.

// Loads a program into the plug-in's current program, name included.
void LoadFxp(VstPlugin& plugin, const std::string& path);
void SaveFxp(const VstPlugin& plugin, const std::string& path);
// Loads every program of a bank and selects the bank's current program.
void LoadFxb(VstPlugin& plugin, const std::string& path);
// Visits every program to read it (as hosts do), then returns to the one
// that was current.
void SaveFxb(const VstPlugin& plugin, const std::string& path);
