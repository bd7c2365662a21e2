// kestrane-render: a command-line VST 2 host that renders audio through the
// Kestrane plug-in (or any VST 2 plug-in library given with --plugin).
#include <limits.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "tools/kestrane-render/AudioFile.h"
#include "tools/kestrane-render/EditorPicture.h"
#include "tools/kestrane-render/EditorPreview.h"
#include "tools/kestrane-render/MidiSchedule.h"
#include "tools/kestrane-render/ParamAssign.h"
#include "tools/kestrane-render/PresetFiles.h"
#include "tools/kestrane-render/Render.h"
#include "tools/kestrane-render/SignalSource.h"
#include "tools/kestrane-render/ToolError.h"
#include "tools/kestrane-render/VstPlugin.h"

namespace
{
const char* kDefaultOutput = "kestrane-out.wav";
const char* kDemoPreset = "Oscillating Filter";
constexpr double kDefaultSeconds = 4.0;
constexpr double kBenchSeconds = 60.0;
constexpr double kBenchSampleRate = 48000.0;

struct Options
{
  std::string input;
  std::string output;
  std::string plugin;
  std::string preset;
  std::vector<std::string> params;
  double tempo = 0.0;
  std::string timeSig = "4/4";
  std::string midiFile;
  std::vector<std::string> notes;
  int blockSize = 512;
  double sampleRate = 0.0;
  double seconds = 0.0;
  bool useDouble = false;
  int bits = 24;
  bool list = false;
  std::string loadFxp, saveFxp, loadFxb, saveFxb;
  std::string snapshot;
  bool noRender = false;
  bool gui = false;
  std::string screenshot;
  bool bench = false;
  bool quiet = false;
};

using Clock = std::chrono::steady_clock;

std::string Dbfs(double level)
{
  char text[32];
  if (level <= 0.0)
    std::snprintf(text, sizeof text, "-inf dBFS");
  else
    std::snprintf(text, sizeof text, "%.1f dBFS", 20.0 * std::log10(level));
  return text;
}

std::string VersionText(int decimal)
{
  char text[32];
  std::snprintf(text, sizeof text, "%d.%d.%d", decimal / 10000, decimal / 100 % 100, decimal % 100);
  return text;
}

// kestrane.so beside this program, or where an installation puts it.
std::string DefaultPluginPath()
{
  char self[PATH_MAX] = {};
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  std::string dir = ".";
  if (n > 0)
  {
    const std::string exe(self, static_cast<std::size_t>(n));
    dir = exe.substr(0, exe.find_last_of('/'));
  }
  const std::string candidates[] = {dir + "/kestrane.so", dir + "/../lib/lxvst/kestrane.so"};
  for (const std::string& candidate : candidates)
    if (access(candidate.c_str(), F_OK) == 0) return candidate;
  throw ToolError("no kestrane.so beside kestrane-render (looked in " + dir + " and " + dir +
                  "/../lib/lxvst); name the plug-in with --plugin PATH");
}

void ParseTimeSig(const std::string& text, HostTransport* transport)
{
  int numerator = 0;
  int denominator = 0;
  char rest = 0;
  const bool parsed = std::sscanf(text.c_str(), "%d/%d%c", &numerator, &denominator, &rest) == 2;
  const bool powerOfTwo = denominator > 0 && (denominator & (denominator - 1)) == 0;
  if (!parsed || numerator < 1 || numerator > 64 || !powerOfTwo || denominator > 64)
    throw ToolError("bad --time-sig '" + text + "': expected N/D such as 4/4, 3/4 or 7/8");
  transport->timeSigNumerator = numerator;
  transport->timeSigDenominator = denominator;
}

void PrintList(const VstPlugin& plugin)
{
  std::printf("%s %s by %s: %d parameters, %d presets\n", plugin.EffectName().c_str(),
              VersionText(plugin.VendorVersion()).c_str(), plugin.VendorName().c_str(), plugin.NumParams(),
              plugin.NumPrograms());
  std::printf("\nParameters (index, name, values, current value):\n");
  for (const ParamInfo& param : DescribeParams(plugin))
  {
    std::string values;
    if (!param.texts.empty())
    {
      for (const std::string& text : param.texts) values += (values.empty() ? "" : " | ") + text;
    }
    else if (param.hasRange)
    {
      values = param.minText + " .. " + param.maxText + (param.label.empty() ? "" : " " + param.label);
    }
    std::string now = plugin.ParamDisplay(param.index);
    if (param.texts.empty() && !param.label.empty()) now += " " + param.label;
    std::printf("  %3d  %-22s %s  (now %s)\n", param.index, param.name.c_str(), values.c_str(), now.c_str());
  }
  std::printf("\nPresets:\n");
  const int current = plugin.CurrentProgram();
  for (int i = 0; i < plugin.NumPrograms(); ++i)
    std::printf("  %3d  %s%s\n", i, plugin.ProgramNameIndexed(i).c_str(), i == current ? "  (current)" : "");
}

int Run(const Options& options, Clock::time_point processStart)
{
  const bool generated = options.input.empty();
  if (!generated && options.bench) throw ToolError("--bench renders the generated signal; give no input file");
  if (options.gui && (!generated || options.bench || options.noRender))
    throw ToolError("--gui plays the generated signal into the editor; give no input file, --bench or --no-render");
  if (!options.screenshot.empty() && !options.gui) throw ToolError("--screenshot pictures the --gui window");
  if (!options.screenshot.empty()) CheckEditorPicturePath(options.screenshot);
  if (!generated && options.sampleRate > 0.0)
    std::fprintf(stderr, "kestrane-render: warning: --sample-rate applies to the generated signal; "
                         "the input file keeps its own rate\n");

  HostTransport transport;
  ParseTimeSig(options.timeSig, &transport);

  // Everything the user named is checked before the plug-in is loaded.
  std::unique_ptr<SignalSource> fileSource;
  if (!generated) fileSource = std::make_unique<FileSource>(options.input);
  const SampleFormat format = options.bits == 16   ? SampleFormat::kPcm16
                              : options.bits == 32 ? SampleFormat::kFloat32
                                                   : SampleFormat::kPcm24;
  const bool writeOutput =
      !options.noRender && !options.list && !options.gui && (!options.bench || !options.output.empty());
  const std::string outputPath = options.output.empty() ? kDefaultOutput : options.output;
  if (writeOutput) CheckOutputFormat(outputPath, format);
  if (!options.snapshot.empty()) CheckEditorPicturePath(options.snapshot);
  double fileTempo = 0.0;
  if (!options.midiFile.empty()) fileTempo = MidiFileTempo(options.midiFile);

  VstPlugin plugin(options.plugin.empty() ? DefaultPluginPath() : options.plugin);
  if (options.list)
  {
    PrintList(plugin);
    return 0;
  }

  const double sampleRate = !generated             ? fileSource->SampleRate()
                            : options.sampleRate > 0 ? options.sampleRate
                            : options.bench        ? kBenchSampleRate
                                                   : 48000.0;
  transport.tempo = options.tempo > 0 ? options.tempo : fileTempo > 0 ? fileTempo : 120.0;
  plugin.SetTransport(transport);
  plugin.Open(sampleRate, options.blockSize);
  // As hosts do after loading: select the current program, which also gives
  // a plug-in's initial program the values it starts with.
  plugin.SetProgram(plugin.CurrentProgram());

  // Presets and parameters, from the broadest to the most specific.
  if (!options.loadFxb.empty()) LoadFxb(plugin, options.loadFxb);
  if (!options.preset.empty())
  {
    const int index = FindPreset(plugin, options.preset);
    if (!plugin.SetProgram(index)) throw ToolError("the plug-in did not select preset '" + options.preset + "'");
  }
  else if (options.loadFxb.empty() && options.loadFxp.empty())
  {
    // The demonstration preset, when the plug-in has it.
    for (int i = 0; i < plugin.NumPrograms(); ++i)
      if (plugin.ProgramNameIndexed(i) == kDemoPreset) plugin.SetProgram(i);
  }
  if (!options.loadFxp.empty()) LoadFxp(plugin, options.loadFxp);
  const std::vector<ParamInfo> params = options.params.empty() ? std::vector<ParamInfo>{} : DescribeParams(plugin);
  for (const std::string& assignment : options.params)
  {
    const std::string warning = ApplyParamAssignment(plugin, params, assignment);
    if (!warning.empty()) std::fprintf(stderr, "kestrane-render: warning: %s\n", warning.c_str());
  }
  if (!options.saveFxp.empty()) SaveFxp(plugin, options.saveFxp);
  if (!options.saveFxb.empty()) SaveFxb(plugin, options.saveFxb);
  if (options.noRender)
  {
    if (!options.snapshot.empty()) SaveEditorPicture(plugin, options.snapshot);
    return 0;
  }

  // MIDI: from a file, from the command line, or the demonstration phrase.
  const double samplesPerBeat = sampleRate * 60.0 / transport.tempo;
  MidiSchedule schedule;
  if (!options.midiFile.empty()) AddMidiFile(options.midiFile, samplesPerBeat, sampleRate, &schedule);
  for (const std::string& note : options.notes) AddNoteFromText(note, samplesPerBeat, &schedule);

  if (options.gui)
  {
    PreviewOptions preview;
    preview.sampleRate = sampleRate;
    preview.blockSize = options.blockSize;
    preview.seconds = options.seconds;
    preview.screenshot = options.screenshot;
    // The loop holds the whole phrase: the default one, or the notes given.
    if (schedule.Count() == 0) AddDefaultPhrase(std::llround(preview.loopSeconds * sampleRate), samplesPerBeat, &schedule);
    preview.loopSeconds = std::max(preview.loopSeconds, static_cast<double>(schedule.LastFrame()) / sampleRate + 0.5);
    plugin.Resume();
    RunEditorPreview(plugin, schedule, preview);
    plugin.Suspend();
    return 0;
  }

  std::unique_ptr<SignalSource> source = std::move(fileSource);
  if (generated)
  {
    double seconds = options.seconds > 0    ? options.seconds
                     : options.bench        ? kBenchSeconds
                                            : kDefaultSeconds;
    // Without an explicit length the signal lasts until the last event.
    if (options.seconds <= 0 && schedule.LastFrame() >= 0)
      seconds = std::max(seconds, static_cast<double>(schedule.LastFrame()) / sampleRate + 0.5);
    const int64_t frames = static_cast<int64_t>(std::llround(seconds * sampleRate));
    if (schedule.Count() == 0) AddDefaultPhrase(frames, samplesPerBeat, &schedule);
    source = std::make_unique<TestSignal>(sampleRate, frames);
  }
  schedule.Prepare();

  std::unique_ptr<AudioFileWriter> writer;
  const int outputChannels = std::min(std::max(plugin.Effect()->numOutputs, 1), 2);
  if (writeOutput)
    writer = std::make_unique<AudioFileWriter>(outputPath, static_cast<int>(std::lround(sampleRate)), outputChannels,
                                               format);

  RenderOptions renderOptions;
  renderOptions.blockSize = options.blockSize;
  renderOptions.useDouble = options.useDouble;
  if (options.useDouble && !plugin.CanDoubleReplacing())
    throw ToolError("the plug-in has no double-precision processing (--double)");
  plugin.Resume();
  const RenderStats stats = Render(plugin, *source, schedule, writer.get(), renderOptions);
  // The editor as the render left it: its markers where the audio put them.
  if (!options.snapshot.empty()) SaveEditorPicture(plugin, options.snapshot);
  plugin.Suspend();
  if (writer) writer->Commit();

  const double audioSeconds = static_cast<double>(stats.frames) / sampleRate;
  if (!options.quiet)
  {
    std::printf("plug-in  %s %s by %s (%s)\n", plugin.EffectName().c_str(),
                VersionText(plugin.VendorVersion()).c_str(), plugin.VendorName().c_str(), plugin.Path().c_str());
    std::printf("preset   %d \"%s\"\n", plugin.CurrentProgram(), plugin.ProgramName().c_str());
    std::printf("input    %s, %.0f Hz, %lld frames (%.2f s)\n", source->Description().c_str(), sampleRate,
                static_cast<long long>(stats.frames), audioSeconds);
    std::printf("tempo    %.5g BPM, %d/%d\n", transport.tempo, transport.timeSigNumerator,
                transport.timeSigDenominator);
    if (writer) std::printf("output   %s (%s)\n", outputPath.c_str(), writer->Description().c_str());
    if (!options.snapshot.empty()) std::printf("editor   %s\n", options.snapshot.c_str());
    std::printf("levels   input peak %s, RMS %s; output peak %s, RMS %s\n", Dbfs(stats.inputPeak).c_str(),
                Dbfs(stats.inputRms).c_str(), Dbfs(stats.outputPeak).c_str(), Dbfs(stats.outputRms).c_str());
    std::printf("MIDI     %d events in, %d out\n", stats.eventsIn, plugin.MidiEventsOut());
    std::printf("time     %.3f s at %s precision, block %d: %.0fx real time\n", stats.wallSeconds,
                options.useDouble ? "double" : "single", options.blockSize,
                stats.wallSeconds > 0 ? audioSeconds / stats.wallSeconds : 0.0);
  }
  if (options.bench)
  {
    const double whole = std::chrono::duration<double>(Clock::now() - processStart).count();
    std::printf("bench    render %.3f s: %.0fx real time; in the plug-in %.3f s (%.0f%%), host %.3f s\n",
                stats.wallSeconds, audioSeconds / stats.wallSeconds, stats.pluginSeconds,
                100.0 * stats.pluginSeconds / stats.wallSeconds, stats.wallSeconds - stats.pluginSeconds);
    std::printf("bench    whole process %.3f s: %.0fx real time\n", whole, audioSeconds / whole);
  }
  if (stats.outputPeak > 1.0 && writer && format != SampleFormat::kFloat32)
    std::fprintf(stderr, "kestrane-render: warning: the output peaks at %s and was clipped in the file\n",
                 Dbfs(stats.outputPeak).c_str());
  return 0;
}
} // namespace

int main(int argc, char** argv)
{
  const Clock::time_point processStart = Clock::now();
  Options options;
  CLI::App app{"Renders audio through the Kestrane VST 2 plug-in the way a host does. Without an input file it "
               "renders a generated test signal with a short MIDI phrase through the preset \"Oscillating "
               "Filter\" into kestrane-out.wav.",
               "kestrane-render"};
  app.add_option("input", options.input, "Audio file to process (WAV, AIFF, FLAC, ...), mono or stereo");
  app.add_option("-o,--output", options.output, "Output file: .wav, .aiff or .flac (default kestrane-out.wav)");
  app.add_option("--plugin", options.plugin, "VST 2 plug-in library (default: kestrane.so beside this program)");
  app.add_option("-p,--preset", options.preset, "Preset by name or index (default \"Oscillating Filter\")");
  app.add_option("--param", options.params,
                 "NAME=VALUE, repeatable; NAME may be NAME#INDEX or an index, VALUE a number in the "
                 "parameter's units or one of its display texts");
  app.add_option("--tempo", options.tempo, "Tempo in BPM reported to the plug-in (default: the MIDI file's, or 120)")
      ->check(CLI::Range(1.0, 999.0));
  app.add_option("--time-sig", options.timeSig, "Time signature reported to the plug-in, N/D (default 4/4)");
  app.add_option("--midi", options.midiFile, "Standard MIDI File to play into the plug-in");
  app.add_option("--note", options.notes,
                 "A note PITCH:START:LENGTH[:VELOCITY], repeatable; PITCH 0..127 or a name like C4 (60), "
                 "START and LENGTH in beats");
  app.add_option("--block", options.blockSize, "Block size in frames (default 512)")->check(CLI::Range(1, 65536));
  app.add_option("--sample-rate", options.sampleRate, "Sample rate of the generated signal (default 48000)")
      ->check(CLI::Range(8000.0, 384000.0));
  app.add_option("--seconds", options.seconds, "Length of the generated signal (default 4, or to the last note)")
      ->check(CLI::Range(0.001, 86400.0));
  app.add_option("--bits", options.bits, "Output samples: 16, 24 (default) or 32 (float)")
      ->check(CLI::IsMember({16, 24, 32}));
  app.add_flag("--double", options.useDouble, "Process in double precision (processDoubleReplacing)");
  app.add_flag("-l,--list", options.list, "List the plug-in's parameters and presets, then stop");
  app.add_option("--load-fxp", options.loadFxp, "Load a program (.fxp) into the current preset");
  app.add_option("--save-fxp", options.saveFxp, "Save the current preset as a program (.fxp)");
  app.add_option("--load-fxb", options.loadFxb, "Load a bank of presets (.fxb)");
  app.add_option("--save-fxb", options.saveFxb, "Save all presets as a bank (.fxb)");
  app.add_flag("--no-render", options.noRender, "Set up (and save presets) without rendering");
  app.add_option("--snapshot", options.snapshot,
                 "Write a picture of the plug-in's editor as the render leaves it (preset, parameters, "
                 "modulation markers) to FILE.png");
  app.add_flag("--gui", options.gui,
               "Open the plug-in's editor in a window (X11) while the generated chord and MIDI phrase loop "
               "through it; --seconds closes it after that long");
  app.add_option("--screenshot", options.screenshot, "With --gui: write a picture of the window to FILE.png as it closes");
  app.add_flag("--bench", options.bench,
               "Render 60 s of generated 48000 Hz stereo (no file unless -o) and report the speed");
  app.add_flag("-q,--quiet", options.quiet, "Print no summary");

  try
  {
    app.parse(argc, argv);
  }
  catch (const CLI::ParseError& e)
  {
    if (e.get_exit_code() == 0) return app.exit(e);
    std::fprintf(stderr, "kestrane-render: error: %s (see --help)\n", e.what());
    return 2;
  }

  try
  {
    return Run(options, processStart);
  }
  catch (const std::exception& e)
  {
    std::fprintf(stderr, "kestrane-render: error: %s\n", e.what());
    return 1;
  }
}
