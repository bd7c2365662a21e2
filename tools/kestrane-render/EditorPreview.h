#pragma once

#include <string>

class MidiSchedule;
class VstPlugin;

struct PreviewOptions
{
  double sampleRate = 48000.0;
  int blockSize = 512;
  // How long the loop of audio and MIDI lasts before it starts again.
  double loopSeconds = 8.0;
  // Close by itself after this long; 0 keeps the window until it is closed.
  double seconds = 0.0;
  // Where to write a picture of the window just before it closes (.png).
  std::string screenshot;
};

// Opens the plug-in's editor in a window of its own and plays host: calls
// effEditIdle about every 10 ms, and runs the generated chord with the MIDI
// schedule through the resumed plug-in in real time (the audio is dropped),
// looping, so the editor's modulation displays move. Returns when the
// window is closed, the time is up or the process is interrupted.
// ToolError when there is no display or the plug-in opens no editor.
void RunEditorPreview(VstPlugin& plugin, MidiSchedule& schedule, const PreviewOptions& options);
