#include "editor/IGraphics.h"

IGraphics::IGraphics(IPlugBase* plug, int width, int height, int fps)
    : mPlug(plug), mEditorWidth(width), mEditorHeight(height), mFrameRate(fps > 0 ? fps : 24)
{
}

IGraphics::~IGraphics() = default;

void IGraphics::ShowParamValue(int, double, bool) {}

void IGraphics::PrepareDrawing() {}

void IGraphics::SetControlHidden(int, bool) {}

void IGraphics::ShowControlValue(int, double) {}

void IGraphics::SetControlsFromUserInput(int, double) {}
