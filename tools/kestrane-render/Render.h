#pragma once

#include <cstdint>

class AudioFileWriter;
class MidiSchedule;
class SignalSource;
class VstPlugin;

struct RenderOptions
{
  int blockSize = 512;
  bool useDouble = false;
  bool showProgress = true;
};

struct RenderStats
{
  int64_t frames = 0;
  double inputPeak = 0.0;
  double inputRms = 0.0;
  double outputPeak = 0.0;
  double outputRms = 0.0;
  double wallSeconds = 0.0;   // the whole render loop
  double pluginSeconds = 0.0; // inside the plug-in's event and process calls
  int eventsIn = 0;
};

// Runs the whole source through a resumed plug-in, block by block, as a
// host's offline bounce does: position, events, then the process call.
// Writes the output when a writer is given.
RenderStats Render(VstPlugin& plugin, SignalSource& source, MidiSchedule& schedule, AudioFileWriter* writer,
                   const RenderOptions& options);
