#include "tools/kestrane-render/ParamAssign.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "tools/kestrane-render/ToolError.h"
#include "tools/kestrane-render/VstPlugin.h"

namespace
{
std::string Lower(std::string text)
{
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Trim(const std::string& text)
{
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  const std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool ParseWholeNumber(const std::string& text, long* value)
{
  if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
    return false;
  if (text.size() > 9) return false;
  *value = std::strtol(text.c_str(), nullptr, 10);
  return true;
}

// A number, optionally followed by the parameter's unit.
bool ParseQuantity(const std::string& text, const std::string& unit, double* value)
{
  if (text.empty()) return false;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || !std::isfinite(v)) return false;
  const std::string rest = Lower(Trim(end));
  if (!rest.empty() && (unit.empty() || rest != Lower(unit))) return false;
  *value = v;
  return true;
}

// The display text a value names, in the plug-in's own spelling.
bool MatchText(const ParamInfo& param, const std::string& value, std::string* text)
{
  for (const std::string& candidate : param.texts)
  {
    if (candidate == value)
    {
      *text = candidate;
      return true;
    }
  }
  for (const std::string& candidate : param.texts)
  {
    if (Lower(candidate) == Lower(value))
    {
      *text = candidate;
      return true;
    }
  }
  return false;
}

std::string Describe(const ParamInfo& param)
{
  return "parameter " + std::to_string(param.index) + " '" + param.name + "'";
}

std::string Expectation(const ParamInfo& param)
{
  if (!param.texts.empty())
  {
    std::string list;
    for (const std::string& text : param.texts) list += (list.empty() ? "" : ", ") + text;
    return "one of " + list;
  }
  std::string expected = "a number";
  if (param.hasRange) expected += " from " + param.minText + " to " + param.maxText;
  if (!param.label.empty()) expected += " " + param.label;
  return expected;
}

std::string FormatNumber(double v)
{
  char text[64];
  std::snprintf(text, sizeof text, "%.17g", v);
  return text;
}

std::vector<const ParamInfo*> Candidates(const std::vector<ParamInfo>& params, const std::string& name)
{
  std::vector<const ParamInfo*> found;
  for (const ParamInfo& param : params)
    if (param.name == name) found.push_back(&param);
  if (found.empty())
    for (const ParamInfo& param : params)
      if (Lower(param.name) == Lower(name)) found.push_back(&param);
  return found;
}
} // namespace

std::vector<ParamInfo> DescribeParams(const VstPlugin& plugin)
{
  std::vector<ParamInfo> params;
  for (int i = 0; i < plugin.NumParams(); ++i)
  {
    ParamInfo param;
    param.index = i;
    param.name = plugin.ParamName(i);
    param.label = plugin.ParamLabel(i);
    param.hasRange = plugin.FormatNormalized(i, 0.0, &param.minText) && plugin.FormatNormalized(i, 1.0, &param.maxText);
    const int count = plugin.DisplayTextCount(i);
    for (int k = 0; k < count; ++k)
    {
      std::string text;
      if (!plugin.FormatNormalized(i, count > 1 ? static_cast<double>(k) / (count - 1) : 0.0, &text)) break;
      param.texts.push_back(text);
    }
    params.push_back(param);
  }
  return params;
}

std::string ApplyParamAssignment(const VstPlugin& plugin, const std::vector<ParamInfo>& params,
                                 const std::string& assignment)
{
  const std::size_t equals = assignment.find('=');
  if (equals == std::string::npos) throw ToolError("bad --param '" + assignment + "': expected NAME=VALUE");
  const std::string name = Trim(assignment.substr(0, equals));
  const std::string value = Trim(assignment.substr(equals + 1));
  if (name.empty()) throw ToolError("bad --param '" + assignment + "': the parameter name is missing");

  // Which parameters the name may mean.
  std::vector<const ParamInfo*> candidates;
  long index = -1;
  const std::size_t hash = name.rfind('#');
  if (ParseWholeNumber(name, &index) || (hash != std::string::npos && ParseWholeNumber(name.substr(hash + 1), &index)))
  {
    if (index >= static_cast<long>(params.size()))
      throw ToolError("unknown parameter index " + std::to_string(index) + " (the plug-in has " +
                      std::to_string(params.size()) + " parameters)");
    const ParamInfo& param = params[static_cast<std::size_t>(index)];
    if (hash != std::string::npos && !ParseWholeNumber(name, &index))
    {
      const std::string given = Trim(name.substr(0, hash));
      if (Lower(given) != Lower(param.name))
        throw ToolError("parameter " + std::to_string(param.index) + " is '" + param.name + "', not '" + given + "'");
    }
    candidates.push_back(&param);
  }
  else
  {
    candidates = Candidates(params, name);
    if (candidates.empty())
      throw ToolError("unknown parameter '" + name + "' (kestrane-render --list shows them)");
  }

  // Which one the value fits, and what text the plug-in is given.
  const ParamInfo* chosen = nullptr;
  std::string text;
  double number = 0.0;
  bool isNumber = false;
  for (const ParamInfo* param : candidates)
    if (MatchText(*param, value, &text))
    {
      chosen = param;
      break;
    }
  if (!chosen)
  {
    for (const ParamInfo* param : candidates)
    {
      if (param->texts.empty() && ParseQuantity(value, param->label, &number))
      {
        chosen = param;
        break;
      }
    }
    for (const ParamInfo* param : candidates)
    {
      if (!chosen && ParseQuantity(value, param->label, &number)) chosen = param;
    }
    if (!chosen)
    {
      const ParamInfo& param = *candidates.front();
      throw ToolError("bad value '" + value + "' for " + Describe(param) + ": expected " + Expectation(param));
    }
    isNumber = true;
    text = FormatNumber(number);
  }

  if (!plugin.SetParameterFromText(chosen->index, text))
    throw ToolError("the plug-in does not take text values for " + Describe(*chosen));

  // A number outside the range is clamped by the plug-in: say so.
  double low = 0, high = 0;
  if (isNumber && chosen->hasRange && ParseQuantity(chosen->minText, "", &low) &&
      ParseQuantity(chosen->maxText, "", &high) && (number < std::min(low, high) || number > std::max(low, high)))
    return Describe(*chosen) + ": " + value + " is outside " + chosen->minText + " .. " + chosen->maxText +
           (chosen->label.empty() ? "" : " " + chosen->label) + "; it is now " + plugin.ParamDisplay(chosen->index);
  return "";
}

int FindPreset(const VstPlugin& plugin, const std::string& nameOrIndex)
{
  const int count = plugin.NumPrograms();
  long index = -1;
  if (ParseWholeNumber(nameOrIndex, &index))
  {
    if (index >= count)
      throw ToolError("preset index " + nameOrIndex + " is out of range (0.." + std::to_string(count - 1) + ")");
    return static_cast<int>(index);
  }
  for (int i = 0; i < count; ++i)
    if (plugin.ProgramNameIndexed(i) == nameOrIndex) return i;
  for (int i = 0; i < count; ++i)
    if (Lower(plugin.ProgramNameIndexed(i)) == Lower(nameOrIndex)) return i;
  throw ToolError("unknown preset '" + nameOrIndex + "' (kestrane-render --list shows them)");
}
