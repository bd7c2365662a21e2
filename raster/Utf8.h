#pragma once

#include <cstdint>

// Decodes one UTF-8 character from s (n bytes available, n >= 1) and returns
// the number of bytes it used. Malformed or truncated sequences decode as one
// byte to U+FFFD, so every input makes progress.
inline int DecodeUtf8(const unsigned char* s, int n, uint32_t* cp)
{
  const unsigned c = s[0];
  if (c < 0x80)
  {
    *cp = c;
    return 1;
  }
  int len = 0;
  uint32_t v = 0, min = 0;
  if ((c & 0xE0) == 0xC0) len = 2, v = c & 0x1F, min = 0x80;
  else if ((c & 0xF0) == 0xE0) len = 3, v = c & 0x0F, min = 0x800;
  else if ((c & 0xF8) == 0xF0) len = 4, v = c & 0x07, min = 0x10000;
  if (len == 0 || len > n)
  {
    *cp = 0xFFFD;
    return 1;
  }
  for (int i = 1; i < len; ++i)
  {
    if ((s[i] & 0xC0) != 0x80)
    {
      *cp = 0xFFFD;
      return 1;
    }
    v = (v << 6) | (s[i] & 0x3F);
  }
  *cp = (v < min || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) ? 0xFFFD : v;
  return len;
}
