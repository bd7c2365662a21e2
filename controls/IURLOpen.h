#pragma once

#include "editor/IControl.h"

// An invisible area (the product name and maker on the background) that
// opens the product's web page: the maker's web address, "/" and the
// effect's name.
class IURLOpen : public IControl
{
public:
  static constexpr const char* kMakerWebAddress = "https://www.olvendu.com";
  static constexpr const char* kOpenFailedMessage = "Cannot open url. Check your default browser.";
  static constexpr int kUrlSize = 256;

  IURLOpen(IPlugBase* plug, const IRECT& area);

  void MouseDown(int x, int y, MouseMods* mod) override;
  // The picture is part of the background.
  bool Paint(IGraphics* graphics) override;

  // The product page's address, cut to kUrlSize - 1 characters.
  void ProductPage(char* url, int size) const;
};
