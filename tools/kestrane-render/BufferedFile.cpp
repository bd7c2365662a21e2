#include "tools/kestrane-render/BufferedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace
{
BufferedFile* Self(void* user) { return static_cast<BufferedFile*>(user); }

sf_count_t VioLength(void* user) { return Self(user)->Length(); }
sf_count_t VioSeek(sf_count_t offset, int whence, void* user) { return Self(user)->Seek(offset, whence); }
sf_count_t VioRead(void* destination, sf_count_t bytes, void* user) { return Self(user)->Read(destination, bytes); }
sf_count_t VioWrite(const void* source, sf_count_t bytes, void* user) { return Self(user)->Write(source, bytes); }
sf_count_t VioTell(void* user) { return Self(user)->Tell(); }
} // namespace

BufferedFile::~BufferedFile()
{
  if (mFd >= 0) Close();
}

SF_VIRTUAL_IO* BufferedFile::VirtualIo()
{
  static SF_VIRTUAL_IO io = {VioLength, VioSeek, VioRead, VioWrite, VioTell};
  return &io;
}

bool BufferedFile::OpenForReading(const std::string& path)
{
  mFd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (mFd < 0) return false;
  mBuffer.resize(kBufferBytes);
  return true;
}

bool BufferedFile::OpenForWriting(const std::string& path)
{
  mFd = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (mFd < 0) return false;
  mBuffer.resize(kBufferBytes);
  return true;
}

bool BufferedFile::Close()
{
  if (mFd < 0) return mError == 0;
  Flush();
  if (close(mFd) != 0 && mError == 0) mError = errno;
  mFd = -1;
  return mError == 0;
}

bool BufferedFile::WriteAt(const uint8_t* data, std::size_t bytes, sf_count_t offset)
{
  while (bytes > 0)
  {
    const ssize_t done = pwrite(mFd, data, bytes, offset);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0)
    {
      if (mError == 0) mError = done < 0 ? errno : EIO;
      return false;
    }
    data += done;
    bytes -= static_cast<std::size_t>(done);
    offset += done;
  }
  return true;
}

bool BufferedFile::Flush()
{
  bool written = true;
  if (mMode == Mode::kWriting) written = WriteAt(mBuffer.data(), mBufferBytes, mBufferStart);
  mMode = Mode::kIdle;
  mBufferBytes = 0;
  return written;
}

sf_count_t BufferedFile::Length()
{
  struct stat info{};
  if (fstat(mFd, &info) != 0) return -1;
  sf_count_t length = info.st_size;
  if (mMode == Mode::kWriting)
    length = std::max(length, mBufferStart + static_cast<sf_count_t>(mBufferBytes));
  return length;
}

sf_count_t BufferedFile::Seek(sf_count_t offset, int whence)
{
  sf_count_t target = offset;
  if (whence == SEEK_CUR) target = mPosition + offset;
  if (whence == SEEK_END) target = Length() + offset;
  if (target < 0) return -1;
  // Pending writes belong to the old position; buffered reads stay usable.
  if (mMode == Mode::kWriting && target != mPosition) Flush();
  mPosition = target;
  return mPosition;
}

sf_count_t BufferedFile::Read(void* destination, sf_count_t bytes)
{
  if (mMode == Mode::kWriting) Flush();
  uint8_t* out = static_cast<uint8_t*>(destination);
  sf_count_t done = 0;
  while (done < bytes)
  {
    const sf_count_t end = mBufferStart + static_cast<sf_count_t>(mBufferBytes);
    if (mMode == Mode::kReading && mPosition >= mBufferStart && mPosition < end)
    {
      const sf_count_t n = std::min(bytes - done, end - mPosition);
      std::memcpy(out + done, mBuffer.data() + (mPosition - mBufferStart), static_cast<std::size_t>(n));
      done += n;
      mPosition += n;
      continue;
    }
    const ssize_t got = pread(mFd, mBuffer.data(), mBuffer.size(), mPosition);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    mMode = Mode::kReading;
    mBufferStart = mPosition;
    mBufferBytes = static_cast<std::size_t>(got);
  }
  return done;
}

sf_count_t BufferedFile::Write(const void* source, sf_count_t bytes)
{
  if (mError != 0) return 0;
  const uint8_t* in = static_cast<const uint8_t*>(source);
  const std::size_t count = static_cast<std::size_t>(bytes);
  if (mMode != Mode::kWriting || mBufferBytes + count > mBuffer.size())
  {
    if (!Flush()) return 0;
    mMode = Mode::kWriting;
    mBufferStart = mPosition;
  }
  if (count >= mBuffer.size())
  {
    // Larger than the buffer: straight to the file.
    if (!WriteAt(in, count, mPosition)) return 0;
    mBufferStart = mPosition + bytes;
  }
  else
  {
    std::memcpy(mBuffer.data() + mBufferBytes, in, count);
    mBufferBytes += count;
  }
  mPosition += bytes;
  return bytes;
}
