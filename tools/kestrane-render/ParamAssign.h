#pragma once

#include <string>
#include <vector>

class VstPlugin;

// What the host can learn about one parameter through the VST 2 interface.
struct ParamInfo
{
  int index = 0;
  std::string name;
  std::string label;
  std::vector<std::string> texts; // display texts of a list parameter, in value order
  bool hasRange = false;          // the plug-in formats arbitrary values
  std::string minText;
  std::string maxText;
};

std::vector<ParamInfo> DescribeParams(const VstPlugin& plugin);

// Applies one "NAME=VALUE" through the plug-in's own text-to-value path.
//
// NAME is a parameter name, "NAME#INDEX" or a bare index. Names need not be
// unique; among parameters sharing a name, a VALUE that is one of a
// parameter's display texts picks that parameter, and any other VALUE the
// first of them without display texts (so "LFO1 Rate=1/4" sets the note
// division and "LFO1 Rate=500" the milliseconds).
//
// VALUE is one of the parameter's display texts or a number in its own
// units, optionally followed by the unit ("5000", "5000 Hz", "-50%").
// A number outside the range is clamped by the plug-in; the returned string
// then holds a warning. Throws ToolError for an unknown parameter or a value
// that does not parse.
std::string ApplyParamAssignment(const VstPlugin& plugin, const std::vector<ParamInfo>& params,
                                 const std::string& assignment);

// A preset by exact name, name in any letter case, or index. Throws
// ToolError when there is none.
int FindPreset(const VstPlugin& plugin, const std::string& nameOrIndex);
