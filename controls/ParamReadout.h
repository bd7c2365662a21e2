#pragma once

class IPlugBase;

// The text a control shows for its parameter: the parameter's display text
// for its current value (a display-text entry when it has one), optionally
// followed by its unit without a separator ("1000Hz", "50%"). Empty for a
// control without a parameter.
struct ParamReadout
{
  static constexpr int kPartSize = 32;            // display text or unit
  static constexpr int kSize = 2 * kPartSize;      // both together

  // [UI thread] Reads the parameter without the plug-in mutex: a value being
  // changed at the same moment shows either way and is redrawn next tick.
  ParamReadout(IPlugBase* plug, int paramIdx, bool withUnit);

  const char* Value() const { return mValue; }
  const char* Unit() const { return mUnit; }
  // Value and unit together.
  const char* Text() const { return mText; }
  bool Empty() const { return mValue[0] == '\0'; }

private:
  char mValue[kPartSize] = {};
  char mUnit[kPartSize] = {};
  char mText[kSize] = {};
};
