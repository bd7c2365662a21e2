#include "tools/kestrane-render/AudioFile.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "tools/kestrane-render/ToolError.h"

namespace
{
// ---- Removal of the temporary file on interruption ----

// The one temporary output file of this process, for the signal handler.
char sTempPathForSignals[4096] = {};
volatile std::sig_atomic_t sTempPathSet = 0;

extern "C" void RemoveTempFileAndExit(int signal)
{
  if (sTempPathSet) unlink(sTempPathForSignals);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void WatchTempFile(const std::string& path)
{
  if (path.size() >= sizeof sTempPathForSignals) return;
  std::memcpy(sTempPathForSignals, path.c_str(), path.size() + 1);
  sTempPathSet = 1;
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, RemoveTempFileAndExit);
}

void ForgetTempFile()
{
  sTempPathSet = 0;
}

// ---- Formats ----

std::string LowerExtension(const std::string& path)
{
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

int ContainerFor(const std::string& path)
{
  const std::string ext = LowerExtension(path);
  if (ext == "wav") return SF_FORMAT_WAV;
  if (ext == "aif" || ext == "aiff") return SF_FORMAT_AIFF;
  if (ext == "flac") return SF_FORMAT_FLAC;
  throw ToolError("cannot write '" + path + "': unknown output format '." + ext +
                  "' (use .wav, .aiff or .flac)");
}

int SubtypeFor(SampleFormat format)
{
  switch (format)
  {
  case SampleFormat::kPcm16: return SF_FORMAT_PCM_16;
  case SampleFormat::kPcm24: return SF_FORMAT_PCM_24;
  case SampleFormat::kFloat32: return SF_FORMAT_FLOAT;
  }
  return SF_FORMAT_PCM_24;
}

std::string ContainerName(int format)
{
  switch (format & SF_FORMAT_TYPEMASK)
  {
  case SF_FORMAT_WAV: return "WAV";
  case SF_FORMAT_AIFF: return "AIFF";
  case SF_FORMAT_FLAC: return "FLAC";
  case SF_FORMAT_OGG: return "Ogg";
  default: return "audio";
  }
}

std::string SubtypeName(int format)
{
  switch (format & SF_FORMAT_SUBMASK)
  {
  case SF_FORMAT_PCM_S8:
  case SF_FORMAT_PCM_U8: return "8-bit PCM";
  case SF_FORMAT_PCM_16: return "16-bit PCM";
  case SF_FORMAT_PCM_24: return "24-bit PCM";
  case SF_FORMAT_PCM_32: return "32-bit PCM";
  case SF_FORMAT_FLOAT: return "32-bit float";
  case SF_FORMAT_DOUBLE: return "64-bit float";
  default: return "";
  }
}

std::string DescribeFormat(int format)
{
  const std::string subtype = SubtypeName(format);
  return subtype.empty() ? ContainerName(format) : ContainerName(format) + ", " + subtype;
}

std::string DirectoryOf(const std::string& path)
{
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path)
{
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}
} // namespace

void CheckOutputFormat(const std::string& path, SampleFormat format)
{
  SF_INFO info{};
  info.samplerate = 48000;
  info.channels = 2;
  info.format = ContainerFor(path) | SubtypeFor(format);
  if (!sf_format_check(&info))
    throw ToolError("cannot write '" + path + "': " + ContainerName(info.format) + " cannot hold " +
                    SubtypeName(info.format) + " samples");
}

// ---- Reader ----

AudioFileReader::AudioFileReader(const std::string& path) : mPath(path)
{
  if (!mIo.OpenForReading(path)) throw ToolError("cannot read input file '" + path + "': " + std::strerror(errno));
  mFile = sf_open_virtual(BufferedFile::VirtualIo(), SFM_READ, &mInfo, &mIo);
  if (!mFile) throw ToolError("cannot read input file '" + path + "': " + sf_strerror(nullptr));
  if (mInfo.channels < 1 || mInfo.channels > 2)
  {
    const int channels = mInfo.channels;
    sf_close(mFile);
    mFile = nullptr;
    throw ToolError("cannot use input file '" + path + "': it has " + std::to_string(channels) +
                    " channels; mono and stereo files are supported");
  }
}

AudioFileReader::~AudioFileReader()
{
  if (mFile) sf_close(mFile);
}

std::string AudioFileReader::Description() const
{
  return DescribeFormat(mInfo.format);
}

int AudioFileReader::Read(float* interleaved, int frames)
{
  return static_cast<int>(sf_readf_float(mFile, interleaved, frames));
}

int AudioFileReader::Read(double* interleaved, int frames)
{
  return static_cast<int>(sf_readf_double(mFile, interleaved, frames));
}

// ---- Writer ----

AudioFileWriter::AudioFileWriter(const std::string& path, int sampleRate, int channels, SampleFormat format)
    : mPath(path)
{
  mInfo.samplerate = sampleRate;
  mInfo.channels = channels;
  mInfo.format = ContainerFor(path) | SubtypeFor(format);
  if (!sf_format_check(&mInfo)) CheckOutputFormat(path, format);

  mTempPath = DirectoryOf(path) + "/." + BaseNameOf(path) + ".part-" + std::to_string(getpid());
  // Watched before it exists: an interruption right after the file is
  // created must still remove it.
  WatchTempFile(mTempPath);
  if (!mIo.OpenForWriting(mTempPath))
  {
    const std::string why = std::strerror(errno);
    ForgetTempFile();
    throw ToolError("cannot write output file '" + path + "': " + why);
  }
  mFile = sf_open_virtual(BufferedFile::VirtualIo(), SFM_WRITE, &mInfo, &mIo);
  if (!mFile)
  {
    const std::string why = sf_strerror(nullptr);
    mIo.Close();
    unlink(mTempPath.c_str());
    ForgetTempFile();
    throw ToolError("cannot write output file '" + path + "': " + why);
  }
  // Samples beyond full scale are clipped rather than wrapped around.
  sf_command(mFile, SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

AudioFileWriter::~AudioFileWriter()
{
  if (!mCommitted) Discard();
}

std::string AudioFileWriter::Description() const
{
  return DescribeFormat(mInfo.format);
}

void AudioFileWriter::CheckWritten(sf_count_t written, int frames)
{
  if (written != frames)
  {
    // A failed system call says more than libsndfile's short count.
    const std::string why = mIo.Error() != 0 ? std::strerror(mIo.Error()) : sf_strerror(mFile);
    Discard();
    throw ToolError("cannot write output file '" + mPath + "': " + why);
  }
}

void AudioFileWriter::Write(const float* interleaved, int frames)
{
  CheckWritten(sf_writef_float(mFile, interleaved, frames), frames);
}

void AudioFileWriter::Write(const double* interleaved, int frames)
{
  CheckWritten(sf_writef_double(mFile, interleaved, frames), frames);
}

void AudioFileWriter::Commit()
{
  const int closed = sf_close(mFile);
  mFile = nullptr;
  // The header rewrite and the last buffered writes reach the file only now.
  const bool flushed = mIo.Close();
  if (closed != 0 || !flushed)
  {
    const std::string why = !flushed ? std::strerror(mIo.Error()) : sf_error_number(closed);
    Discard();
    throw ToolError("cannot write output file '" + mPath + "': " + why);
  }
  if (std::rename(mTempPath.c_str(), mPath.c_str()) != 0)
  {
    const std::string why = std::strerror(errno);
    Discard();
    throw ToolError("cannot write output file '" + mPath + "': " + why);
  }
  ForgetTempFile();
  mCommitted = true;
}

void AudioFileWriter::Discard()
{
  if (mFile)
  {
    sf_close(mFile);
    mFile = nullptr;
  }
  mIo.Close();
  unlink(mTempPath.c_str());
  ForgetTempFile();
}
