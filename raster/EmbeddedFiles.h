#pragma once

#include <cstddef>

// Files compiled into the program as data by the build (see
// cmake/KestraneEmbedFiles.cmake): each set is a generated function that
// returns its files, found by file name.
struct EmbeddedFile
{
  const char* fileName;   // name within its folder, e.g. "bg.png"
  const unsigned char* data;
  size_t size;
};

struct EmbeddedFileSet
{
  const EmbeddedFile* files;
  int count;
};

// Null when the set holds no file of that name.
inline const EmbeddedFile* FindEmbeddedFile(const EmbeddedFileSet& set, const char* fileName)
{
  if (!fileName) return nullptr;
  for (int i = 0; i < set.count; ++i)
  {
    const char* a = set.files[i].fileName;
    const char* b = fileName;
    while (*a && *a == *b) ++a, ++b;
    if (*a == *b) return &set.files[i];
  }
  return nullptr;
}
