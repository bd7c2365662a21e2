#pragma once

#include "core/ChunkBuffer.h"

// One preset slot: whether it holds a preset, its name and its saved state
// (which may be empty even when the slot is filled).
struct IPreset
{
  static constexpr int kNameSize = 256;

  bool mFilled = false;
  char mPresetName[kNameSize] = {};
  ChunkBuffer mStateData;
};
