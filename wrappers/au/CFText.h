#pragma once

#include <cstddef>

#include "wrappers/au/CoreFoundationInterface.h"

// UTF-8 text to and from Core Foundation strings, with bounded copies on
// the way in: nothing a host hands over is read past the buffer given.

// A new string the caller owns; an empty one for a null text. Null only when
// Core Foundation cannot make one (text that is not UTF-8).
inline CFStringRef MakeCFString(const char* text)
{
  return CFStringCreateWithCString(kCFAllocatorDefault, text ? text : "", kCFStringEncodingUTF8);
}

// The string's text into buffer (size bytes, terminated). False, with an
// empty buffer, for a null string, an object that is not a string, or text
// that does not fit.
inline bool CFStringToUTF8(CFTypeRef string, char* buffer, std::size_t size)
{
  if (!buffer || size == 0) return false;
  buffer[0] = '\0';
  if (!string || CFGetTypeID(string) != CFStringGetTypeID()) return false;
  if (CFStringGetCString(static_cast<CFStringRef>(string), buffer, static_cast<CFIndex>(size), kCFStringEncodingUTF8))
    return true;
  buffer[0] = '\0';
  return false;
}
