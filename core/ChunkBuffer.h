#pragma once

#include <cstdint>

#include "core/wdl/WDL_String.h"
#include "core/wdl/WDL_TypedBuf.h"

// Growable byte buffer that carries saved state. Values are appended at the
// end and read back at a caller-supplied position; a read that does not fit
// returns -1 and leaves its output untouched. Values are stored in native
// (little-endian) byte order.
class ChunkBuffer
{
public:
  ChunkBuffer() : mBytes(4096) {}

  int WriteDouble(double v) { return WriteBytes(&v, sizeof v); }
  int WriteInt(int32_t v) { return WriteBytes(&v, sizeof v); }
  int WriteBool(bool v)
  {
    unsigned char byte = v ? 1 : 0;
    return WriteBytes(&byte, 1);
  }
  // Length as a 32-bit integer, then the bytes without a terminator.
  int WriteText(const char* text);
  int WriteChunk(const ChunkBuffer& other) { return WriteBytes(other.Bytes(), other.Length()); }
  // Appends raw bytes; returns the new length.
  int WriteBytes(const void* data, int size);

  int ReadDouble(double* v, int pos) const { return ReadBytes(v, sizeof *v, pos); }
  int ReadInt(int32_t* v, int pos) const { return ReadBytes(v, sizeof *v, pos); }
  int ReadBool(bool* v, int pos) const;
  // Returns the position after the string, or -1 when the length cannot be
  // read or is negative. The text is set only when all its bytes are there.
  int ReadText(WDL_String* text, int pos) const;
  int ReadBytes(void* out, int size, int pos) const;

  void Clear() { mBytes.Clear(); }
  bool Empty() const { return Length() == 0; }
  int Length() const { return mBytes.GetSize(); }
  // Null when empty.
  const unsigned char* Bytes() const { return mBytes.Get(); }
  unsigned char* Bytes() { return mBytes.Get(); }
  // Sets the length (contents beyond the old length are unspecified); false
  // when the size cannot be held.
  bool Resize(int size);

private:
  bool Available(int pos, int size) const
  {
    return pos >= 0 && static_cast<int64_t>(pos) + size <= Length();
  }

  WDL_TypedBuf<unsigned char> mBytes;
};
