#pragma once

class IGraphics;
class IPlugBase;

// The editor object of the platform this build runs on: the native window
// or view host of Windows and macOS, the headless host on Linux. Each
// platform library defines it, so the effect builds its editor without
// naming a platform class; the build links exactly one.
//
// fps <= 0 selects 24 frames per second. The caller owns the result (the
// plug-in base, once attached). Null when the platform cannot make one.
IGraphics* MakePlatformEditor(IPlugBase* plug, int width, int height, int fps);
