#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "wrappers/vst/Vst2Interface.h"

// MIDI events placed at sample positions, handed to the plug-in block by
// block as a host's sequencer does: one VstEvents list before each block,
// with each event's offset into that block.
class MidiSchedule
{
public:
  struct Event
  {
    int64_t frame;
    std::vector<uint8_t> bytes; // one MIDI message, or a whole system-exclusive dump
  };

  void Add(int64_t frame, std::vector<uint8_t> bytes);
  int Count() const { return static_cast<int>(mEvents.size()); }
  // The frame of the last event, or -1 without events.
  int64_t LastFrame() const;

  // Orders the events and sizes the lists; call once, after the last Add.
  void Prepare();
  // The events of the block [start, start + frames), in order. Valid until
  // the next call. Blocks must be asked for in order.
  VstEvents* EventsForBlock(int64_t start, int frames);

private:
  std::vector<Event> mEvents;
  std::size_t mNext = 0;
  std::vector<VstMidiEvent> mMidi;
  std::vector<VstMidiSysexEvent> mSysEx;
  std::vector<VstIntPtr> mListStorage; // a VstEvents with room for every event
};

// Note positions in a file are musical (quarter notes); they are placed at
// the render's tempo, so notes and a tempo-synced plug-in stay together.

// The file's first tempo in beats per minute, or 0 when it sets none.
// Throws ToolError when the file cannot be read.
double MidiFileTempo(const std::string& path);
// Adds every channel and system-exclusive message of a Standard MIDI File.
void AddMidiFile(const std::string& path, double samplesPerBeat, double sampleRate, MidiSchedule* schedule);
// Adds a note given as "PITCH:START:LENGTH[:VELOCITY]": PITCH a MIDI number
// or a name such as C4 (middle C, 60), F#3 or Bb2; START and LENGTH in beats;
// VELOCITY 1..127 (default 100). Throws ToolError for anything else.
void AddNoteFromText(const std::string& text, double samplesPerBeat, MidiSchedule* schedule);
// A short arpeggio on every beat from the start to endFrame.
void AddDefaultPhrase(int64_t endFrame, double samplesPerBeat, MidiSchedule* schedule);
