#include "controls/IURLOpen.h"

#include <cstdio>

#include "core/IPlugBase.h"
#include "editor/IGraphics.h"

IURLOpen::IURLOpen(IPlugBase* plug, const IRECT& area) : IControl(plug, area) {}

void IURLOpen::ProductPage(char* url, int size) const
{
  if (!url || size <= 0) return;
  std::snprintf(url, static_cast<size_t>(size), "%s/%s", kMakerWebAddress, mPlug ? mPlug->EffectName() : "");
}

void IURLOpen::MouseDown(int, int, MouseMods*)
{
  IGraphics* editor = Editor();
  if (!editor) return;
  char url[kUrlSize];
  ProductPage(url, kUrlSize);
  editor->OpenWebPage(url, nullptr, nullptr, kOpenFailedMessage);
}

bool IURLOpen::Paint(IGraphics*)
{
  return true;
}
