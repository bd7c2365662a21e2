#pragma once

#include <functional>

#include "controls/IButton.h"

// A button that also raises a flag of the effect on every press, left or
// right, just before the value is reported: the effect then knows the
// change that follows came from this click (the LFO sync button uses it to
// carry the rate over between its two rate parameters).
class IButtonClick : public IButton
{
public:
  // Raises the effect's flag. Called on the UI thread; the effect takes its
  // own mutex, so a host thread never sees a half-made change.
  using ClickFlag = std::function<void()>;

  IButtonClick(IPlugBase* plug, int paramIdx, int x, int y, const IBitmap& image, ClickFlag clickFlag);

  void MouseDown(int x, int y, MouseMods* mod) override;

private:
  ClickFlag mClickFlag;
};
