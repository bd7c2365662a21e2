#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>

// A growable NUL-terminated string. Get() never returns null.
class WDL_String
{
public:
  WDL_String() = default;
  explicit WDL_String(const char* text) { Set(text); }

  const char* Get() const { return mText.c_str(); }
  int GetLength() const { return static_cast<int>(mText.size()); }

  // Copies at most maxLength bytes of text (all of it when maxLength < 0);
  // a null text empties the string.
  void Set(const char* text, int maxLength = -1)
  {
    mText.clear();
    Append(text, maxLength);
  }

  void Append(const char* text, int maxLength = -1)
  {
    if (!text) return;
    size_t n = 0;
    while (text[n] && (maxLength < 0 || n < static_cast<size_t>(maxLength))) ++n;
    mText.append(text, n);
  }

  // printf-style formatting; the result is cut at maxLength bytes.
  void SetFormatted(int maxLength, const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 3, 4)))
#endif
  {
    if (maxLength < 0) maxLength = 0;
    mText.assign(static_cast<size_t>(maxLength) + 1, '\0');
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(&mText[0], mText.size(), format, args);
    va_end(args);
    if (written < 0) written = 0;
    mText.resize(static_cast<size_t>(written < maxLength ? written : maxLength));
  }

  void Clear() { mText.clear(); }

private:
  std::string mText;
};
