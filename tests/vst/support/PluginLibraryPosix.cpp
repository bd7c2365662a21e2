// Loading a plug-in library as Linux hosts do (dlopen, dlsym), and what the
// system tools say about the file.
#include <dlfcn.h>

#include <cstdio>
#include <sstream>

#include "tests/vst/support/PluginInstance.h"

namespace
{
std::string RunCommand(const std::string& command)
{
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return output;
  char line[512];
  while (std::fgets(line, sizeof line, pipe)) output += line;
  pclose(pipe);
  return output;
}
} // namespace

PluginLibrary::PluginLibrary(const std::string& path)
{
  mHandle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!mHandle) mError = dlerror();
}

PluginLibrary::~PluginLibrary()
{
  if (mHandle) dlclose(mHandle);
}

void* PluginLibrary::Symbol(const char* name) const
{
  return mHandle ? dlsym(mHandle, name) : nullptr;
}

std::set<std::string> ExportedNames(const std::string& path)
{
  std::set<std::string> exported;
  std::stringstream symbols(RunCommand("nm -D --defined-only '" + path + "'"));
  std::string line;
  while (std::getline(symbols, line))
    if (!line.empty()) exported.insert(line.substr(line.find_last_of(' ') + 1));
  return exported;
}

std::vector<std::string> LoadingProblems(const std::string& path)
{
  std::vector<std::string> problems;
  const std::string dynamic = RunCommand("readelf -d '" + path + "'");
  for (const char* tag : {"RPATH", "RUNPATH"})
    if (dynamic.find(tag) != std::string::npos) problems.push_back(std::string("has ") + tag);
#ifndef KESTRANE_SANITIZED_BUILD
  // Its C++ runtime is inside it, so no other plug-in's can be mixed in.
  for (const char* runtime : {"libstdc++", "libgcc_s"})
    if (dynamic.find(runtime) != std::string::npos) problems.push_back(std::string("needs ") + runtime);
#endif
  return problems;
}
