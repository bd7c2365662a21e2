#pragma once

#include <cstdint>

#include "wrappers/vst/Vst2Interface.h"

// Kestrane's own effVendorSpecific calls, for our tools that host the
// plug-in (kestrane-render). Hosts never make them: the index is a
// four-character code of ours, and each call also checks its value.
//
// 'KsSn' (editor snapshot): index kKestraneSnapshotIndex, value
// sizeof(KestraneEditorSnapshot), ptr a KestraneEditorSnapshot the plug-in
// fills. The plug-in paints its whole editor off screen (every visible
// control, in list order, as a redraw does) and lends the picture; it reads
// and writes no file. Answers kVstVendorHandled, or 0 when it has no editor,
// when the editor's window is open (its own thread paints then), or when
// ptr or value are wrong.
constexpr VstInt32 kKestraneSnapshotIndex = VstFourCC('K', 's', 'S', 'n');

struct KestraneEditorSnapshot
{
  int32_t width;           // pixels
  int32_t height;
  int32_t rowSpan;         // pixels from the start of one row to the next
  int32_t reserved;
  // Rows top first; 32-bit pixels packed as raster/LICE_Pixel.h says (on
  // Linux and Windows 0xAARRGGBB). The alpha byte is drawing bookkeeping,
  // not transparency: the editor is opaque. Valid until the next call to
  // the plug-in.
  const uint32_t* pixels;
};
