#pragma once

#include <cstdint>
#include <string>

#include <sndfile.h>

#include "tools/kestrane-render/BufferedFile.h"

// Audio files through libsndfile: any format it reads comes in (WAV, AIFF,
// FLAC, ...); WAV, AIFF and FLAC go out.

enum class SampleFormat
{
  kPcm16,
  kPcm24,
  kFloat32
};

class AudioFileReader
{
public:
  // Throws ToolError when the file is missing or not audio libsndfile reads.
  explicit AudioFileReader(const std::string& path);
  ~AudioFileReader();

  AudioFileReader(const AudioFileReader&) = delete;
  AudioFileReader& operator=(const AudioFileReader&) = delete;

  int SampleRate() const { return mInfo.samplerate; }
  int Channels() const { return mInfo.channels; }
  int64_t Frames() const { return mInfo.frames; }
  // A short description such as "WAV, 24-bit PCM".
  std::string Description() const;

  // Interleaved frames; returns the number read (0 at the end).
  int Read(float* interleaved, int frames);
  int Read(double* interleaved, int frames);

private:
  std::string mPath;
  BufferedFile mIo; // outlives mFile, which reads through it
  SNDFILE* mFile = nullptr;
  SF_INFO mInfo{};
};

// Writes into a temporary file beside the destination and renames it into
// place on Commit, so the destination never holds a half-written file. The
// temporary file goes away when the writer is destroyed uncommitted, and also
// when the process is interrupted (SIGINT, SIGTERM, SIGHUP).
class AudioFileWriter
{
public:
  // The container follows the extension (.wav, .aif/.aiff, .flac). Throws
  // ToolError for an unknown extension, a format the container cannot hold,
  // or a destination that cannot be written.
  AudioFileWriter(const std::string& path, int sampleRate, int channels, SampleFormat format);
  ~AudioFileWriter();

  AudioFileWriter(const AudioFileWriter&) = delete;
  AudioFileWriter& operator=(const AudioFileWriter&) = delete;

  void Write(const float* interleaved, int frames);
  void Write(const double* interleaved, int frames);
  void Commit();

  std::string Description() const;

private:
  void CheckWritten(sf_count_t written, int frames);
  void Discard();

  std::string mPath;
  std::string mTempPath;
  BufferedFile mIo; // outlives mFile, which writes through it
  SNDFILE* mFile = nullptr;
  SF_INFO mInfo{};
  bool mCommitted = false;
};

// Checks, before any work is done, that an output path names a format we
// write; throws ToolError otherwise.
void CheckOutputFormat(const std::string& path, SampleFormat format);
