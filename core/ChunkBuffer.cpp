#include "core/ChunkBuffer.h"

#include <climits>
#include <cstring>

int ChunkBuffer::WriteBytes(const void* data, int size)
{
  int n = Length();
  if (size <= 0 || !data) return n;
  if (static_cast<int64_t>(n) + size > INT_MAX) return n;
  unsigned char* bytes = mBytes.Resize(n + size);
  if (!bytes) return n;
  std::memcpy(bytes + n, data, static_cast<size_t>(size));
  return Length();
}

int ChunkBuffer::WriteText(const char* text)
{
  int32_t length = text ? static_cast<int32_t>(std::strlen(text)) : 0;
  WriteInt(length);
  return WriteBytes(text, length);
}

int ChunkBuffer::ReadBytes(void* out, int size, int pos) const
{
  if (!Available(pos, size)) return -1;
  std::memcpy(out, Bytes() + pos, static_cast<size_t>(size));
  return pos + size;
}

int ChunkBuffer::ReadBool(bool* v, int pos) const
{
  unsigned char byte = 0;
  int next = ReadBytes(&byte, 1, pos);
  if (next >= 0) *v = byte != 0;
  return next;
}

int ChunkBuffer::ReadText(WDL_String* text, int pos) const
{
  int32_t length = 0;
  pos = ReadInt(&length, pos);
  if (pos < 0 || length < 0) return -1;
  const int64_t end = static_cast<int64_t>(pos) + length;
  if (end > INT_MAX) return -1;
  if (length > 0 && end <= Length() && text)
    text->Set(reinterpret_cast<const char*>(Bytes() + pos), length);
  return static_cast<int>(end);
}

bool ChunkBuffer::Resize(int size)
{
  if (size < 0) return false;
  if (size == 0)
  {
    Clear();
    return true;
  }
  return mBytes.Resize(size) != nullptr;
}
