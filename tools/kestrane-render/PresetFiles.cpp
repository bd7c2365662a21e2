#include "tools/kestrane-render/PresetFiles.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "tools/kestrane-render/ToolError.h"
#include "tools/kestrane-render/VstPlugin.h"

namespace
{
constexpr int32_t kChunkMagic = VstFourCC('C', 'c', 'n', 'K');
constexpr int32_t kProgramParams = VstFourCC('F', 'x', 'C', 'k');
constexpr int32_t kProgramChunk = VstFourCC('F', 'P', 'C', 'h');
constexpr int32_t kBankParams = VstFourCC('F', 'x', 'B', 'k');
constexpr int32_t kBankChunk = VstFourCC('F', 'B', 'C', 'h');

constexpr std::size_t kProgramHeaderSize = 56; // up to the parameters
constexpr std::size_t kBankHeaderSize = 156;   // up to the programs
constexpr std::size_t kProgramNameField = 28;
// Preset files larger than this are not taken for presets.
constexpr std::size_t kMaxFileSize = 64u << 20;

std::string FourCCText(int32_t code)
{
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8)
  {
    const char c = static_cast<char>((static_cast<uint32_t>(code) >> shift) & 0xFF);
    text += (c >= 32 && c < 127) ? c : '?';
  }
  return text;
}

// ---- Big-endian writing ----

class Writer
{
public:
  void Int(int32_t v)
  {
    const uint32_t u = static_cast<uint32_t>(v);
    for (int shift = 24; shift >= 0; shift -= 8) mBytes.push_back(static_cast<uint8_t>(u >> shift));
  }
  void Float(float v)
  {
    int32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    Int(bits);
  }
  void Bytes(const void* data, std::size_t size)
  {
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    mBytes.insert(mBytes.end(), bytes, bytes + size);
  }
  void Zeros(std::size_t count) { mBytes.insert(mBytes.end(), count, 0); }
  void Name(const std::string& name)
  {
    // At most 24 characters, always terminated, padded with zeros.
    char field[kProgramNameField] = {};
    std::snprintf(field, kVstMaxProgNameLen + 1, "%s", name.c_str());
    Bytes(field, sizeof field);
  }
  // The byte count after the first 8 bytes of the record starting at `at`.
  void PatchSize(std::size_t at)
  {
    const uint32_t size = static_cast<uint32_t>(mBytes.size() - at - 8);
    for (int i = 0; i < 4; ++i) mBytes[at + 4 + static_cast<std::size_t>(i)] = static_cast<uint8_t>(size >> (24 - 8 * i));
  }
  std::size_t Size() const { return mBytes.size(); }
  const std::vector<uint8_t>& Data() const { return mBytes; }

private:
  std::vector<uint8_t> mBytes;
};

// ---- Big-endian reading ----

class Reader
{
public:
  Reader(const std::vector<uint8_t>& bytes, std::string path) : mBytes(bytes), mPath(std::move(path)) {}

  bool Has(std::size_t pos, std::size_t size) const { return pos <= mBytes.size() && size <= mBytes.size() - pos; }
  int32_t Int(std::size_t pos) const
  {
    Need(pos, 4);
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u = (u << 8) | mBytes[pos + static_cast<std::size_t>(i)];
    return static_cast<int32_t>(u);
  }
  float Float(std::size_t pos) const
  {
    const int32_t bits = Int(pos);
    float v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  std::string Name(std::size_t pos) const
  {
    Need(pos, kProgramNameField);
    const char* text = reinterpret_cast<const char*>(mBytes.data() + pos);
    return std::string(text, strnlen(text, kVstMaxProgNameLen));
  }
  std::vector<uint8_t> Bytes(std::size_t pos, std::size_t size) const
  {
    Need(pos, size);
    return std::vector<uint8_t>(mBytes.begin() + static_cast<std::ptrdiff_t>(pos),
                                mBytes.begin() + static_cast<std::ptrdiff_t>(pos + size));
  }
  void Need(std::size_t pos, std::size_t size) const
  {
    if (!Has(pos, size)) Fail("the file is cut short");
  }
  [[noreturn]] void Fail(const std::string& why) const
  {
    throw ToolError("cannot load preset file '" + mPath + "': " + why);
  }

private:
  const std::vector<uint8_t>& mBytes;
  std::string mPath;
};

std::vector<uint8_t> ReadWholeFile(const std::string& path)
{
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) throw ToolError("cannot read preset file '" + path + "': " + std::strerror(errno));
  std::vector<uint8_t> bytes;
  uint8_t buffer[65536];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
  {
    bytes.insert(bytes.end(), buffer, buffer + n);
    if (bytes.size() > kMaxFileSize)
    {
      std::fclose(file);
      throw ToolError("cannot load preset file '" + path + "': too large for a preset");
    }
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) throw ToolError("cannot read preset file '" + path + "': read error");
  return bytes;
}

// Written beside the destination, then renamed into place.
void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
  const std::string temp = path + ".part-" + std::to_string(getpid());
  FILE* file = std::fopen(temp.c_str(), "wb");
  if (!file) throw ToolError("cannot write preset file '" + path + "': " + std::strerror(errno));
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed || std::rename(temp.c_str(), path.c_str()) != 0)
  {
    const std::string why = std::strerror(errno);
    unlink(temp.c_str());
    throw ToolError("cannot write preset file '" + path + "': " + why);
  }
}

// ---- Programs ----

void WriteProgram(const VstPlugin& plugin, Writer* out)
{
  const std::size_t start = out->Size();
  out->Int(kChunkMagic);
  out->Int(0);
  const bool chunk = plugin.UsesProgramChunks();
  out->Int(chunk ? kProgramChunk : kProgramParams);
  out->Int(1);
  out->Int(plugin.UniqueID());
  out->Int(plugin.Effect()->version);
  out->Int(plugin.NumParams());
  out->Name(plugin.ProgramName());
  if (chunk)
  {
    const std::vector<uint8_t> data = plugin.GetChunk(false);
    out->Int(static_cast<int32_t>(data.size()));
    out->Bytes(data.data(), data.size());
  }
  else
  {
    for (int i = 0; i < plugin.NumParams(); ++i) out->Float(plugin.GetParameter(i));
  }
  out->PatchSize(start);
}

void CheckPluginID(const Reader& in, std::size_t idPos, const VstPlugin& plugin)
{
  const int32_t id = in.Int(idPos);
  if (id != plugin.UniqueID())
    in.Fail("it belongs to another plug-in (ID '" + FourCCText(id) + "', this one is '" +
            FourCCText(plugin.UniqueID()) + "')");
}

// Loads the program record at `pos` into the current program; returns the
// position after it.
std::size_t ReadProgram(VstPlugin& plugin, const Reader& in, std::size_t pos)
{
  if (in.Int(pos) != kChunkMagic) in.Fail("not a VST preset (no 'CcnK' header)");
  const int32_t kind = in.Int(pos + 8);
  if (kind != kProgramParams && kind != kProgramChunk)
    in.Fail("not a program ('" + FourCCText(kind) + "' instead of 'FxCk' or 'FPCh')");
  CheckPluginID(in, pos + 16, plugin);
  const int32_t numParams = in.Int(pos + 24);
  const std::string name = in.Name(pos + 28);
  std::size_t next = pos + kProgramHeaderSize;

  if (kind == kProgramParams)
  {
    if (numParams < 0) in.Fail("negative parameter count");
    in.Need(next, 4u * static_cast<std::size_t>(numParams));
    const int count = std::min(numParams, plugin.NumParams());
    for (int i = 0; i < count; ++i)
      plugin.SetParameter(i, std::min(std::max(in.Float(next + 4u * static_cast<std::size_t>(i)), 0.0f), 1.0f));
    next += 4u * static_cast<std::size_t>(numParams);
  }
  else
  {
    const int32_t size = in.Int(next);
    if (size < 0) in.Fail("negative chunk size");
    const std::vector<uint8_t> data = in.Bytes(next + 4, static_cast<std::size_t>(size));
    if (!plugin.SetChunk(false, data)) in.Fail("the plug-in refused its data");
    next += 4 + static_cast<std::size_t>(size);
  }
  plugin.SetProgramName(name);
  return next;
}
} // namespace

void SaveFxp(const VstPlugin& plugin, const std::string& path)
{
  Writer out;
  WriteProgram(plugin, &out);
  WriteWholeFile(path, out.Data());
}

void LoadFxp(VstPlugin& plugin, const std::string& path)
{
  const std::vector<uint8_t> bytes = ReadWholeFile(path);
  Reader in(bytes, path);
  if (!in.Has(0, 12)) in.Fail("too short for a VST preset");
  ReadProgram(plugin, in, 0);
}

void SaveFxb(const VstPlugin& plugin, const std::string& path)
{
  const int current = plugin.CurrentProgram();
  Writer out;
  out.Int(kChunkMagic);
  out.Int(0);
  const bool chunk = plugin.UsesProgramChunks();
  out.Int(chunk ? kBankChunk : kBankParams);
  out.Int(2);
  out.Int(plugin.UniqueID());
  out.Int(plugin.Effect()->version);
  out.Int(plugin.NumPrograms());
  out.Int(current);
  out.Zeros(124);
  if (chunk)
  {
    const std::vector<uint8_t> data = plugin.GetChunk(true);
    out.Int(static_cast<int32_t>(data.size()));
    out.Bytes(data.data(), data.size());
  }
  else
  {
    for (int i = 0; i < plugin.NumPrograms(); ++i)
    {
      if (!plugin.SetProgram(i))
      {
        plugin.SetProgram(current);
        throw ToolError("cannot save preset bank '" + path + "': the plug-in did not select program " +
                        std::to_string(i));
      }
      WriteProgram(plugin, &out);
    }
    plugin.SetProgram(current);
  }
  out.PatchSize(0);
  WriteWholeFile(path, out.Data());
}

void LoadFxb(VstPlugin& plugin, const std::string& path)
{
  const std::vector<uint8_t> bytes = ReadWholeFile(path);
  Reader in(bytes, path);
  if (!in.Has(0, 12)) in.Fail("too short for a VST preset bank");
  if (in.Int(0) != kChunkMagic) in.Fail("not a VST preset bank (no 'CcnK' header)");
  const int32_t kind = in.Int(8);
  if (kind != kBankParams && kind != kBankChunk)
    in.Fail("not a bank ('" + FourCCText(kind) + "' instead of 'FxBk' or 'FBCh')");
  in.Need(0, kBankHeaderSize);
  const int32_t version = in.Int(12);
  CheckPluginID(in, 16, plugin);
  const int32_t numPrograms = in.Int(24);
  const int32_t current = in.Int(28);

  if (kind == kBankChunk)
  {
    const int32_t size = in.Int(kBankHeaderSize);
    if (size < 0) in.Fail("negative chunk size");
    if (!plugin.SetChunk(true, in.Bytes(kBankHeaderSize + 4, static_cast<std::size_t>(size))))
      in.Fail("the plug-in refused its data");
    return;
  }

  if (numPrograms < 0) in.Fail("negative program count");
  std::size_t pos = kBankHeaderSize;
  const int count = std::min(numPrograms, plugin.NumPrograms());
  for (int i = 0; i < count; ++i)
  {
    if (!plugin.SetProgram(i)) in.Fail("the plug-in did not select program " + std::to_string(i));
    pos = ReadProgram(plugin, in, pos);
  }
  // Selecting the target program also stores the last one loaded.
  const int target = (version >= 2 && current >= 0 && current < count) ? current : 0;
  plugin.SetProgram(target);
}
