#include "platform/mac/WebAddress.h"

#include <cctype>

bool IsWebAddress(const char* text)
{
  if (!text || !std::isalpha(static_cast<unsigned char>(text[0]))) return false;
  for (const char* p = text + 1; *p; ++p)
  {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (c == ':') return true;
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
  }
  return false;
}
