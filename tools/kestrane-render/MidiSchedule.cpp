#include "tools/kestrane-render/MidiSchedule.h"

// smf.h includes glib.h inside extern "C", which C++ headers reached from
// glib.h do not survive: glib.h goes first.
#include <glib.h>
#include <smf.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "tools/kestrane-render/ToolError.h"

namespace
{
bool IsNoteOff(const std::vector<uint8_t>& bytes)
{
  if (bytes.size() < 3) return false;
  const int kind = bytes[0] & 0xF0;
  return kind == 0x80 || (kind == 0x90 && bytes[2] == 0);
}

// libsmf reports problems through GLib's log; the last message explains a
// failed load.
std::string sLastSmfMessage;

void CaptureSmfMessage(const gchar*, GLogLevelFlags, const gchar* message, gpointer)
{
  sLastSmfMessage = message ? message : "";
}

struct SmfFile
{
  explicit SmfFile(const std::string& path)
  {
    if (access(path.c_str(), R_OK) != 0)
      throw ToolError("cannot read MIDI file '" + path + "': " + std::strerror(errno));
    sLastSmfMessage.clear();
    const GLogFunc previous = g_log_set_default_handler(CaptureSmfMessage, nullptr);
    smf = smf_load(path.c_str());
    g_log_set_default_handler(previous, nullptr);
    if (!smf)
    {
      std::string why = sLastSmfMessage.empty() ? "not a Standard MIDI File" : sLastSmfMessage;
      std::replace(why.begin(), why.end(), '\n', ' ');
      throw ToolError("cannot read MIDI file '" + path + "': " + why);
    }
  }
  ~SmfFile() { smf_delete(smf); }
  SmfFile(const SmfFile&) = delete;
  SmfFile& operator=(const SmfFile&) = delete;

  smf_t* smf = nullptr;
};

bool ParseNumber(const std::string& text, double* value)
{
  if (text.empty()) return false;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(v)) return false;
  *value = v;
  return true;
}

// "60", "C4" (middle C), "F#3", "Bb2", "c-1".
bool ParsePitch(const std::string& text, int* pitch)
{
  double number = 0;
  if (ParseNumber(text, &number))
  {
    if (number != std::floor(number) || number < 0 || number > 127) return false;
    *pitch = static_cast<int>(number);
    return true;
  }
  if (text.size() < 2) return false;
  static const int kSemitones[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  if (letter < 'A' || letter > 'G') return false;
  int semitone = kSemitones[letter - 'A'];
  std::size_t pos = 1;
  if (text[pos] == '#')
  {
    ++semitone;
    ++pos;
  }
  else if (text[pos] == 'b')
  {
    --semitone;
    ++pos;
  }
  double octave = 0;
  if (!ParseNumber(text.substr(pos), &octave) || octave != std::floor(octave)) return false;
  const double midi = (octave + 1) * 12 + semitone;
  if (midi < 0 || midi > 127) return false;
  *pitch = static_cast<int>(midi);
  return true;
}

int64_t FrameAt(double beats, double samplesPerBeat)
{
  return static_cast<int64_t>(std::llround(beats * samplesPerBeat));
}
} // namespace

// ---- Schedule ----

void MidiSchedule::Add(int64_t frame, std::vector<uint8_t> bytes)
{
  mEvents.push_back({std::max<int64_t>(frame, 0), std::move(bytes)});
}

int64_t MidiSchedule::LastFrame() const
{
  int64_t last = -1;
  for (const Event& event : mEvents) last = std::max(last, event.frame);
  return last;
}

void MidiSchedule::Prepare()
{
  // At one frame a note ends before the next one starts, so a repeated note
  // is heard again.
  std::stable_sort(mEvents.begin(), mEvents.end(), [](const Event& a, const Event& b) {
    if (a.frame != b.frame) return a.frame < b.frame;
    return IsNoteOff(a.bytes) && !IsNoteOff(b.bytes);
  });
  mMidi.assign(mEvents.size(), VstMidiEvent{});
  mSysEx.assign(mEvents.size(), VstMidiSysexEvent{});
  mListStorage.assign(VstEventsBytes(mEvents.size() + 2) / sizeof(VstIntPtr) + 1, 0);
  mNext = 0;
}

VstEvents* MidiSchedule::EventsForBlock(int64_t start, int frames)
{
  VstEvents* list = reinterpret_cast<VstEvents*>(mListStorage.data());
  VstEvent** slots = list->events;
  int count = 0;
  while (mNext < mEvents.size() && mEvents[mNext].frame < start + frames)
  {
    const Event& source = mEvents[mNext];
    const int delta = static_cast<int>(std::max<int64_t>(source.frame - start, 0));
    if (!source.bytes.empty() && source.bytes[0] == 0xF0)
    {
      VstMidiSysexEvent& event = mSysEx[mNext];
      event = VstMidiSysexEvent{};
      event.type = kVstSysExType;
      event.byteSize = sizeof event;
      event.deltaFrames = delta;
      event.dumpBytes = static_cast<VstInt32>(source.bytes.size());
      event.sysexDump = reinterpret_cast<char*>(const_cast<uint8_t*>(source.bytes.data()));
      slots[count++] = reinterpret_cast<VstEvent*>(&event);
    }
    else
    {
      VstMidiEvent& event = mMidi[mNext];
      event = VstMidiEvent{};
      event.type = kVstMidiType;
      event.byteSize = sizeof event;
      event.deltaFrames = delta;
      for (std::size_t i = 0; i < std::min<std::size_t>(source.bytes.size(), 3); ++i)
        event.midiData[i] = static_cast<char>(source.bytes[i]);
      slots[count++] = reinterpret_cast<VstEvent*>(&event);
    }
    ++mNext;
  }
  list->numEvents = count;
  list->reserved = 0;
  return list;
}

// ---- Sources ----

double MidiFileTempo(const std::string& path)
{
  SmfFile file(path);
  const smf_tempo_t* tempo = smf_get_tempo_by_pulses(file.smf, 0);
  if (!tempo || tempo->microseconds_per_quarter_note <= 0) return 0.0;
  return 60.0e6 / tempo->microseconds_per_quarter_note;
}

void AddMidiFile(const std::string& path, double samplesPerBeat, double sampleRate, MidiSchedule* schedule)
{
  SmfFile file(path);
  smf_rewind(file.smf);
  for (smf_event_t* event = smf_get_next_event(file.smf); event; event = smf_get_next_event(file.smf))
  {
    if (smf_event_is_metadata(event) || event->midi_buffer_length <= 0) continue;
    // Files timed in SMPTE frames have no beats: those keep their seconds.
    const int64_t frame = file.smf->ppqn > 0
                              ? FrameAt(static_cast<double>(event->time_pulses) / file.smf->ppqn, samplesPerBeat)
                              : static_cast<int64_t>(std::llround(event->time_seconds * sampleRate));
    const uint8_t* bytes = event->midi_buffer;
    schedule->Add(frame, std::vector<uint8_t>(bytes, bytes + event->midi_buffer_length));
  }
}

void AddNoteFromText(const std::string& text, double samplesPerBeat, MidiSchedule* schedule)
{
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true)
  {
    const std::size_t colon = text.find(':', start);
    fields.push_back(text.substr(start, colon - start));
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  const std::string usage = "bad --note '" + text + "': expected PITCH:START:LENGTH[:VELOCITY]";
  if (fields.size() < 3 || fields.size() > 4) throw ToolError(usage);

  int pitch = 0;
  double begin = 0;
  double length = 0;
  double velocity = 100;
  if (!ParsePitch(fields[0], &pitch))
    throw ToolError(usage + " (PITCH is 0..127 or a name such as C4, F#3 or Bb2)");
  if (!ParseNumber(fields[1], &begin) || begin < 0) throw ToolError(usage + " (START is beats from 0)");
  if (!ParseNumber(fields[2], &length) || length <= 0) throw ToolError(usage + " (LENGTH is beats above 0)");
  if (fields.size() == 4 && (!ParseNumber(fields[3], &velocity) || velocity != std::floor(velocity) ||
                             velocity < 1 || velocity > 127))
    throw ToolError(usage + " (VELOCITY is 1..127)");

  const uint8_t note = static_cast<uint8_t>(pitch);
  schedule->Add(FrameAt(begin, samplesPerBeat), {0x90, note, static_cast<uint8_t>(velocity)});
  schedule->Add(FrameAt(begin + length, samplesPerBeat), {0x80, note, 0});
}

void AddDefaultPhrase(int64_t endFrame, double samplesPerBeat, MidiSchedule* schedule)
{
  // A minor arpeggio, one note per beat, each held for half a beat.
  static const uint8_t kNotes[] = {57, 60, 64, 69, 64, 60};
  for (int beat = 0;; ++beat)
  {
    const int64_t on = FrameAt(beat, samplesPerBeat);
    const int64_t off = FrameAt(beat + 0.5, samplesPerBeat);
    if (off >= endFrame) break;
    const uint8_t note = kNotes[beat % 6];
    schedule->Add(on, {0x90, note, 100});
    schedule->Add(off, {0x80, note, 0});
  }
}
