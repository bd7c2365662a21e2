#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <sndfile.h>

// A file read and written through one large buffer, handed to libsndfile as
// its virtual I/O: libsndfile converts in pieces of a few kilobytes and would
// otherwise make one system call per piece; here the kernel sees megabyte
// reads and writes. Seeks (libsndfile rewrites the header on close) flush the
// pending writes first.
//
// A failed write is remembered: the failing call reports a short count, and
// Close() and Error() report it afterwards, since with buffering a failure
// may surface only at a later flush. [one thread at a time]
class BufferedFile
{
public:
  static constexpr std::size_t kBufferBytes = std::size_t{1} << 20;

  BufferedFile() = default;
  ~BufferedFile();
  BufferedFile(const BufferedFile&) = delete;
  BufferedFile& operator=(const BufferedFile&) = delete;

  // False, with errno set, when the file cannot be opened.
  bool OpenForReading(const std::string& path);
  // Creates or truncates the file.
  bool OpenForWriting(const std::string& path);
  // Flushes and closes; false when any write failed (Error() says why).
  bool Close();
  // The errno of the first failed write or flush, or 0.
  int Error() const { return mError; }

  // The callbacks libsndfile calls; the user data is this object.
  static SF_VIRTUAL_IO* VirtualIo();

  sf_count_t Length();
  sf_count_t Seek(sf_count_t offset, int whence);
  sf_count_t Read(void* destination, sf_count_t bytes);
  sf_count_t Write(const void* source, sf_count_t bytes);
  sf_count_t Tell() const { return mPosition; }

private:
  enum class Mode
  {
    kIdle,
    kReading,
    kWriting
  };
  bool Flush();
  bool WriteAt(const uint8_t* data, std::size_t bytes, sf_count_t offset);

  int mFd = -1;
  std::vector<uint8_t> mBuffer;
  Mode mMode = Mode::kIdle;
  sf_count_t mPosition = 0;    // where the next read or write goes
  sf_count_t mBufferStart = 0; // file offset of mBuffer[0]
  std::size_t mBufferBytes = 0; // valid (reading) or pending (writing) bytes
  int mError = 0;
};
