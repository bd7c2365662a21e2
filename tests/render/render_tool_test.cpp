// kestrane-render run as a user runs it: rendering, preset files, and every
// way it refuses to work, with its messages, exit codes and output files.
#include <fcntl.h>
#include <signal.h>
#include <sndfile.h>
// smf.h includes glib.h inside extern "C", which C++ headers reached from
// glib.h do not survive: glib.h goes first.
#include <glib.h>
#include <smf.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "raster/LICE_PNG.h"

namespace fs = std::filesystem;

namespace
{
const std::string kTool = KESTRANE_RENDER_TOOL;
const std::string kPlugin = KESTRANE_RENDER_PLUGIN;
const std::string kFakePlugins = KESTRANE_FAKE_PLUGIN_DIR;
const std::string kLeakSuppressions = KESTRANE_LSAN_SUPPRESSIONS;
const std::string kStandInPlugin = KESTRANE_STANDIN_PLUGIN;

struct Result
{
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string ReadText(const fs::path& path)
{
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> ReadBytes(const fs::path& path)
{
  const std::string text = ReadText(path);
  return std::vector<uint8_t>(text.begin(), text.end());
}

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes)
{
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

int32_t BigEndianInt(const std::vector<uint8_t>& bytes, std::size_t pos)
{
  return static_cast<int32_t>((uint32_t{bytes[pos]} << 24) | (uint32_t{bytes[pos + 1]} << 16) |
                              (uint32_t{bytes[pos + 2]} << 8) | uint32_t{bytes[pos + 3]});
}

float BigEndianFloat(const std::vector<uint8_t>& bytes, std::size_t pos)
{
  const int32_t bits = BigEndianInt(bytes, pos);
  float v = 0;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

struct Audio
{
  int channels = 0;
  int sampleRate = 0;
  std::vector<float> samples; // interleaved
  int64_t Frames() const { return channels ? static_cast<int64_t>(samples.size()) / channels : 0; }
};

Audio ReadAudio(const fs::path& path)
{
  Audio audio;
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) return audio;
  audio.channels = info.channels;
  audio.sampleRate = info.samplerate;
  audio.samples.resize(static_cast<std::size_t>(info.frames * info.channels));
  sf_readf_float(file, audio.samples.data(), info.frames);
  sf_close(file);
  return audio;
}

class RenderTool : public ::testing::Test
{
protected:
  void SetUp() override
  {
    char pattern[] = "/tmp/kestrane-render-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }

  // Runs the tool in the test's directory, with the plug-in under test
  // unless the arguments name one.
  Result Run(std::vector<std::string> args, bool withPlugin = true)
  {
    if (withPlugin)
    {
      args.insert(args.begin(), kPlugin);
      args.insert(args.begin(), "--plugin");
    }
    const fs::path outPath = dir / ".stdout";
    const fs::path errPath = dir / ".stderr";
    const pid_t child = fork();
    if (child == 0)
    {
      if (chdir(dir.c_str()) != 0) _exit(127);
      const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(out, STDOUT_FILENO);
      dup2(err, STDERR_FILENO);
      // Sanitizer builds: a known leak inside libsmf is not ours to report.
      setenv("LSAN_OPTIONS", ("print_suppressions=0:suppressions=" + kLeakSuppressions).c_str(), 1);
      std::vector<char*> argv;
      argv.push_back(const_cast<char*>(kTool.c_str()));
      for (std::string& arg : args) argv.push_back(arg.data());
      argv.push_back(nullptr);
      execv(kTool.c_str(), argv.data());
      _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    Result result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = ReadText(outPath);
    result.err = ReadText(errPath);
    fs::remove(outPath);
    fs::remove(errPath);
    return result;
  }

  // The run failed with one line that says why, and left no files behind.
  void ExpectCleanFailure(const Result& result, const std::string& fragment)
  {
    EXPECT_NE(result.exitCode, 0);
    EXPECT_EQ(result.err.rfind("kestrane-render: error: ", 0), 0u) << result.err;
    EXPECT_NE(result.err.find(fragment), std::string::npos) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_TRUE(result.out.empty()) << result.out;
    EXPECT_EQ(FilesInDir(), before) << "files were left behind";
  }

  std::vector<std::string> FilesInDir() const
  {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  void WriteSine(const fs::path& path, int channels, int sampleRate, int frames)
  {
    SF_INFO info{};
    info.channels = channels;
    info.samplerate = sampleRate;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    std::vector<float> samples(static_cast<std::size_t>(frames * channels));
    for (int s = 0; s < frames; ++s)
      for (int c = 0; c < channels; ++c)
        samples[static_cast<std::size_t>(s * channels + c)] = 0.5f * std::sin(s * 0.05f * (c + 1));
    sf_writef_float(file, samples.data(), frames);
    sf_close(file);
  }

  // The parameter floats of an 'FxCk' program file.
  static std::vector<float> ProgramValues(const std::vector<uint8_t>& fxp)
  {
    std::vector<float> values;
    const int32_t count = BigEndianInt(fxp, 24);
    for (int32_t i = 0; i < count; ++i) values.push_back(BigEndianFloat(fxp, 56 + 4 * static_cast<std::size_t>(i)));
    return values;
  }

  fs::path dir;
  std::vector<std::string> before;
};
} // namespace

TEST_F(RenderTool, BareRunRendersTheDemonstrationIntoAWaveFile)
{
  const Result result = Run({});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(result.err.empty()) << result.err; // no progress bar off a terminal
  const Audio audio = ReadAudio(dir / "kestrane-out.wav");
  EXPECT_EQ(audio.channels, 2);
  EXPECT_EQ(audio.sampleRate, 48000);
  EXPECT_EQ(audio.Frames(), 4 * 48000);
  float peak = 0;
  for (float v : audio.samples) peak = std::max(peak, std::fabs(v));
  EXPECT_GT(peak, 0.01f);
  EXPECT_NE(result.out.find("\"Oscillating Filter\""), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("peak"), std::string::npos);
  EXPECT_NE(result.out.find("RMS"), std::string::npos);
  EXPECT_NE(result.out.find("192000 frames"), std::string::npos);
  EXPECT_NE(result.out.find("x real time"), std::string::npos);
  EXPECT_NE(result.out.find("16 events in, 16 out"), std::string::npos) << result.out;
  EXPECT_EQ(FilesInDir(), std::vector<std::string>{"kestrane-out.wav"});
}

TEST_F(RenderTool, RendersAMonoFileToStereoInEitherPrecision)
{
  WriteSine(dir / "in.wav", 1, 44100, 22050);
  const Result single = Run({"in.wav", "-o", "single.flac", "--preset", "1", "--block", "100"});
  ASSERT_EQ(single.exitCode, 0) << single.err;
  const Result twice = Run({"in.wav", "-o", "double.aiff", "--preset", "1", "--block", "100", "--double", "--bits",
                            "32", "-q"});
  ASSERT_EQ(twice.exitCode, 0) << twice.err;
  EXPECT_TRUE(twice.out.empty());

  const Audio a = ReadAudio(dir / "single.flac");
  const Audio b = ReadAudio(dir / "double.aiff");
  ASSERT_EQ(a.channels, 2);
  EXPECT_EQ(a.sampleRate, 44100);
  EXPECT_EQ(a.Frames(), 22050);
  ASSERT_EQ(b.samples.size(), a.samples.size());
  float worst = 0;
  for (std::size_t i = 0; i < a.samples.size(); ++i) worst = std::max(worst, std::fabs(a.samples[i] - b.samples[i]));
  EXPECT_LT(worst, 1e-5f); // 24-bit quantisation and single-precision rounding
  EXPECT_NE(single.out.find("FLAC, 24-bit PCM"), std::string::npos) << single.out;
}

// Reading, processing and writing run in blocks of their own; the host block
// size may divide them or not, and the last one is short: the file must not
// show where any block ended.
TEST_F(RenderTool, RendersAreIdenticalWhateverTheHostBlock)
{
  WriteSine(dir / "in.wav", 2, 48000, 20011);
  std::vector<Audio> renders;
  for (const char* block : {"512", "1", "100", "3000"})
  {
    const std::string out = std::string("out-") + block + ".wav";
    const Result result = Run({"in.wav", "-o", out, "--preset", "Oscillating Filter", "--bits", "32", "--block",
                               block, "-q"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    renders.push_back(ReadAudio(dir / out));
  }
  ASSERT_EQ(renders[0].Frames(), 20011);
  for (std::size_t i = 1; i < renders.size(); ++i) EXPECT_EQ(renders[i].samples, renders[0].samples) << i;
}

TEST_F(RenderTool, ProgramFileRoundTrip)
{
  ASSERT_EQ(Run({"--preset", "High Frequencies", "--param", "Filter Freq=5015 Hz", "--save-fxp", "a.fxp", "--no-render"}).exitCode, 0);
  const std::vector<uint8_t> a = ReadBytes(dir / "a.fxp");
  ASSERT_GE(a.size(), 56u);
  EXPECT_EQ(std::string(a.begin(), a.begin() + 4), "CcnK");
  EXPECT_EQ(std::string(a.begin() + 8, a.begin() + 12), "FxCk");
  const int32_t numParams = BigEndianInt(a, 24);
  EXPECT_EQ(a.size(), 56u + 4u * static_cast<std::size_t>(numParams));
  EXPECT_EQ(BigEndianInt(a, 4), static_cast<int32_t>(a.size()) - 8);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&a[28])), "High Frequencies");
  EXPECT_NEAR(ProgramValues(a)[1], 0.5f, 1e-6f); // 5015 Hz

  // Loaded and saved again, it is the same file; rendered, the same audio.
  ASSERT_EQ(Run({"--load-fxp", "a.fxp", "--save-fxp", "b.fxp", "-o", "from-file.wav"}).exitCode, 0);
  EXPECT_EQ(ReadBytes(dir / "b.fxp"), a);
  ASSERT_EQ(Run({"--preset", "High Frequencies", "--param", "Filter Freq=5015", "-o", "direct.wav"}).exitCode, 0);
  EXPECT_EQ(ReadAudio(dir / "from-file.wav").samples, ReadAudio(dir / "direct.wav").samples);
}

TEST_F(RenderTool, ChunkProgramFilesAreReadToo)
{
  ASSERT_EQ(Run({"--save-fxp", "plain.fxp", "--no-render"}).exitCode, 0);
  const std::vector<uint8_t> plain = ReadBytes(dir / "plain.fxp");
  const int32_t numParams = BigEndianInt(plain, 24);

  // An 'FPCh' program: the plug-in's own chunk (version, then one double per
  // parameter) with "Filter Freq" at 5015 and everything else at 0.
  std::vector<uint8_t> chunk(4 + 8 * static_cast<std::size_t>(numParams), 0);
  const int32_t version = 10100;
  std::memcpy(chunk.data(), &version, 4);
  const double freq = 5015.0;
  std::memcpy(chunk.data() + 4 + 8, &freq, 8);
  std::vector<uint8_t> fxp(plain.begin(), plain.begin() + 56);
  std::memcpy(&fxp[8], "FPCh", 4);
  const uint32_t size = static_cast<uint32_t>(chunk.size());
  for (int i = 0; i < 4; ++i) fxp.push_back(static_cast<uint8_t>(size >> (24 - 8 * i)));
  fxp.insert(fxp.end(), chunk.begin(), chunk.end());
  WriteBytes(dir / "chunk.fxp", fxp);

  const Result result = Run({"--load-fxp", "chunk.fxp", "--save-fxp", "out.fxp", "--no-render"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NEAR(ProgramValues(ReadBytes(dir / "out.fxp"))[1], 0.5f, 1e-6f);
}

TEST_F(RenderTool, BankFileRoundTrip)
{
  ASSERT_EQ(Run({"--preset", "2", "--param", "Filter Pan=-30", "--save-fxb", "a.fxb", "--no-render"}).exitCode, 0);
  const std::vector<uint8_t> a = ReadBytes(dir / "a.fxb");
  ASSERT_GE(a.size(), 156u);
  EXPECT_EQ(std::string(a.begin() + 8, a.begin() + 12), "FxBk");
  const int32_t programs = BigEndianInt(a, 24);
  EXPECT_EQ(BigEndianInt(a, 28), 2); // the current program
  const std::size_t programSize = 56 + 4 * static_cast<std::size_t>(BigEndianInt(a, 156 + 24));
  EXPECT_EQ(a.size(), 156 + static_cast<std::size_t>(programs) * programSize);

  ASSERT_EQ(Run({"--load-fxb", "a.fxb", "--save-fxb", "b.fxb", "--save-fxp", "current.fxp", "--no-render"}).exitCode, 0);
  EXPECT_EQ(ReadBytes(dir / "b.fxb"), a);
  // The edit made to program 2 travelled with the bank.
  ASSERT_EQ(Run({"--preset", "2", "--param", "Filter Pan=-30", "--save-fxp", "direct.fxp", "--no-render"}).exitCode, 0);
  EXPECT_EQ(ProgramValues(ReadBytes(dir / "current.fxp")), ProgramValues(ReadBytes(dir / "direct.fxp")));
}

TEST_F(RenderTool, SameNamedParametersResolveByValue)
{
  const Result list = Run({"--list"});
  ASSERT_EQ(list.exitCode, 0);
  // The two "LFO1 Rate" lines: a list of divisions, then milliseconds.
  std::vector<int> rates;
  std::istringstream lines(list.out);
  std::string line;
  while (std::getline(lines, line))
    if (line.find(" LFO1 Rate ") != std::string::npos) rates.push_back(std::stoi(line));
  ASSERT_EQ(rates.size(), 2u);
  EXPECT_NE(list.out.find("1/2"), std::string::npos);
  EXPECT_NE(list.out.find("Oscillating Filter"), std::string::npos);

  ASSERT_EQ(Run({"--param", "LFO1 Rate=1/2", "--param", "LFO1 Rate=500", "--save-fxp", "byname.fxp", "--no-render"}).exitCode, 0);
  const std::string division = "LFO1 Rate#" + std::to_string(rates[0]) + "=1/2";
  const std::string millis = std::to_string(rates[1]) + "=500ms";
  ASSERT_EQ(Run({"--param", division, "--param", millis, "--save-fxp", "byindex.fxp", "--no-render"}).exitCode, 0);
  ASSERT_EQ(Run({"--save-fxp", "untouched.fxp", "--no-render"}).exitCode, 0);
  const std::vector<float> byName = ProgramValues(ReadBytes(dir / "byname.fxp"));
  EXPECT_EQ(byName, ProgramValues(ReadBytes(dir / "byindex.fxp")));
  const std::vector<float> untouched = ProgramValues(ReadBytes(dir / "untouched.fxp"));
  EXPECT_NE(byName[static_cast<std::size_t>(rates[0])], untouched[static_cast<std::size_t>(rates[0])]);
  EXPECT_NE(byName[static_cast<std::size_t>(rates[1])], untouched[static_cast<std::size_t>(rates[1])]);

  // A number outside the range is clamped, with a warning.
  const Result clamped = Run({"--param", "Filter Freq=30000", "--no-render"});
  EXPECT_EQ(clamped.exitCode, 0);
  EXPECT_NE(clamped.err.find("warning: parameter 1 'Filter Freq': 30000 is outside 20 .. 20000 Hz"), std::string::npos)
      << clamped.err;
}

TEST_F(RenderTool, MidiFromAFileAndFromTheCommandLine)
{
  smf_t* smf = smf_new();
  smf_track_t* track = smf_track_new();
  smf_add_track(smf, track);
  ASSERT_EQ(smf_set_ppqn(smf, 96), 0);
  unsigned char tempo[] = {0xFF, 0x51, 0x03, 0x0A, 0x2C, 0x2A}; // 90 BPM
  unsigned char on[] = {0x90, 60, 100};
  unsigned char off[] = {0x80, 60, 0};
  smf_track_add_event_pulses(track, smf_event_new_from_pointer(tempo, sizeof tempo), 0);
  smf_track_add_event_pulses(track, smf_event_new_from_pointer(on, sizeof on), 0);
  smf_track_add_event_pulses(track, smf_event_new_from_pointer(off, sizeof off), 96);
  smf_track_add_event_pulses(track, smf_event_new_from_pointer(on, sizeof on), 192);
  smf_track_add_event_pulses(track, smf_event_new_from_pointer(off, sizeof off), 288);
  ASSERT_EQ(smf_save(smf, (dir / "phrase.mid").c_str()), 0);
  smf_delete(smf);

  const Result file = Run({"--midi", "phrase.mid", "--seconds", "3", "-o", "midi.wav"});
  ASSERT_EQ(file.exitCode, 0) << file.err;
  EXPECT_NE(file.out.find("4 events in, 4 out"), std::string::npos) << file.out;
  EXPECT_NE(file.out.find("tempo    90 BPM, 4/4"), std::string::npos) << file.out;

  const Result notes = Run({"--note", "C4:0:1", "--note", "Bb2:1.5:0.5:90", "--tempo", "140", "--time-sig", "7/8",
                            "-o", "notes.wav"});
  ASSERT_EQ(notes.exitCode, 0) << notes.err;
  EXPECT_NE(notes.out.find("4 events in, 4 out"), std::string::npos) << notes.out;
  EXPECT_NE(notes.out.find("tempo    140 BPM, 7/8"), std::string::npos) << notes.out;
  // Without --seconds the generated signal lasts past the last note: at
  // 140 BPM two beats are 0.857 s, so 4 s still.
  EXPECT_EQ(ReadAudio(dir / "notes.wav").Frames(), 4 * 48000);
}

TEST_F(RenderTool, EveryRefusalIsOneLineAndLeavesNoFiles)
{
  WriteSine(dir / "in.wav", 2, 48000, 4800);
  WriteBytes(dir / "text.wav", {'n', 'o', 't', ' ', 'a', 'u', 'd', 'i', 'o'});
  WriteBytes(dir / "text.so", {'n', 'o', 't', ' ', 'E', 'L', 'F'});
  WriteBytes(dir / "text.mid", {'M', 'T', 'h', 'x', 0, 0});
  ASSERT_EQ(Run({"--save-fxp", "good.fxp", "--no-render"}).exitCode, 0);
  std::vector<uint8_t> foreign = ReadBytes(dir / "good.fxp");
  foreign[16] ^= 0x55; // another plug-in's ID
  WriteBytes(dir / "foreign.fxp", foreign);
  WriteBytes(dir / "kestrane-out.wav", {'o', 'l', 'd'}); // an earlier render stays untouched
  before = FilesInDir();

  ExpectCleanFailure(Run({"missing.wav"}), "cannot read input file 'missing.wav': No such file or directory");
  ExpectCleanFailure(Run({"text.wav"}), "cannot read input file 'text.wav'");
  ExpectCleanFailure(Run({"in.wav", "--param", "No Such Thing=1"}), "unknown parameter 'No Such Thing'");
  ExpectCleanFailure(Run({"in.wav", "--param", "999=1"}), "unknown parameter index 999");
  ExpectCleanFailure(Run({"in.wav", "--param", "Filter Freq"}), "expected NAME=VALUE");
  ExpectCleanFailure(Run({"in.wav", "--param", "Filter Freq=fast"}),
                     "bad value 'fast' for parameter 1 'Filter Freq': expected a number from 20 to 20000 Hz");
  ExpectCleanFailure(Run({"in.wav", "--param", "Filter Type=Notch"}), "expected one of Lowpass, Highpass, Bandpass");
  ExpectCleanFailure(Run({"in.wav", "--param", "Filter Type#1=Lowpass"}), "parameter 1 is 'Filter Freq'");
  ExpectCleanFailure(Run({"in.wav", "--preset", "No Such Preset"}), "unknown preset 'No Such Preset'");
  ExpectCleanFailure(Run({"in.wav", "--preset", "400"}), "preset index 400 is out of range");
  ExpectCleanFailure(Run({"in.wav", "--midi", "missing.mid"}), "cannot read MIDI file 'missing.mid'");
  ExpectCleanFailure(Run({"in.wav", "--midi", "text.mid"}), "cannot read MIDI file 'text.mid'");
  ExpectCleanFailure(Run({"--note", "H4:0:1"}), "bad --note 'H4:0:1'");
  ExpectCleanFailure(Run({"--note", "C4:0"}), "bad --note 'C4:0'");
  ExpectCleanFailure(Run({"--time-sig", "4/3"}), "bad --time-sig '4/3'");
  ExpectCleanFailure(Run({"-o", "out.mp3"}), "unknown output format '.mp3'");
  ExpectCleanFailure(Run({"-o", "out.flac", "--bits", "32"}), "FLAC cannot hold 32-bit float samples");
  ExpectCleanFailure(Run({"-o", "no-such-dir/out.wav"}), "cannot write output file 'no-such-dir/out.wav'");
  ExpectCleanFailure(Run({"--load-fxp", "missing.fxp"}), "cannot read preset file 'missing.fxp'");
  ExpectCleanFailure(Run({"--load-fxp", "foreign.fxp"}), "belongs to another plug-in");
  ExpectCleanFailure(Run({"--load-fxb", "good.fxp"}), "not a bank");
  ExpectCleanFailure(Run({"--load-fxp", "text.wav"}), "too short for a VST preset");

  // Files that are not VST 2 plug-ins.
  ExpectCleanFailure(Run({"--plugin", "nothing.so"}, false), "cannot open plug-in 'nothing.so': No such file");
  ExpectCleanFailure(Run({"--plugin", "text.so"}, false), "'text.so' is not a VST 2 plug-in (cannot load it");
  ExpectCleanFailure(Run({"--plugin", kFakePlugins + "/no-entry.so"}, false),
                     "is not a VST 2 plug-in (no VSTPluginMain or main entry point)");
  ExpectCleanFailure(Run({"--plugin", kFakePlugins + "/null-entry.so"}, false),
                     "is not a VST 2 plug-in (its entry point created no instance)");
  ExpectCleanFailure(Run({"--plugin", kFakePlugins + "/bad-magic.so"}, false),
                     "is not a VST 2 plug-in (bad magic number 0x12345678)");

  // Usage errors are one line too, with their own exit code.
  const Result usage = Run({"--no-such-option"});
  EXPECT_EQ(usage.exitCode, 2);
  EXPECT_EQ(std::count(usage.err.begin(), usage.err.end(), '\n'), 1) << usage.err;
  EXPECT_EQ(ReadText(dir / "kestrane-out.wav"), "old");
}

TEST_F(RenderTool, SnapshotPicturesTheEditorAsTheRenderLeftIt)
{
  const Result rendered = Run({"--snapshot", "after.png"});
  ASSERT_EQ(rendered.exitCode, 0) << rendered.err;
  EXPECT_NE(rendered.out.find("editor   after.png"), std::string::npos) << rendered.out;
  const Result setUp = Run({"--snapshot", "before.png", "--no-render"});
  ASSERT_EQ(setUp.exitCode, 0) << setUp.err;

  std::unique_ptr<LICE_IBitmap> after(LICE_LoadPNG((dir / "after.png").c_str()));
  std::unique_ptr<LICE_IBitmap> before(LICE_LoadPNG((dir / "before.png").c_str()));
  ASSERT_NE(after, nullptr);
  ASSERT_NE(before, nullptr);
  ASSERT_EQ(after->getWidth(), 388);
  ASSERT_EQ(after->getHeight(), 470);
  ASSERT_EQ(before->getWidth(), 388);
  ASSERT_EQ(before->getHeight(), 470);
  // The same preset in both; only the modulation markers differ: the audio
  // placed the LFO's range and left its marker on the track ("Oscillating
  // Filter" modulates the mix), where before any audio the range is empty.
  int differing = 0, outsideTracks = 0, opaque = 0;
  for (int y = 0; y < 470; ++y)
    for (int x = 0; x < 388; ++x)
    {
      const LICE_pixel a = after->getBits()[y * after->getRowSpan() + x];
      const LICE_pixel b = before->getBits()[y * before->getRowSpan() + x];
      opaque += LICE_GETA(a) == 255;
      if (a == b) continue;
      ++differing;
      const bool track = y == 270 || y == 271 || y == 333 || y == 334;
      outsideTracks += !track;
    }
  EXPECT_GT(differing, 0);
  EXPECT_EQ(outsideTracks, 0);
  EXPECT_EQ(opaque, 388 * 470);
}

TEST_F(RenderTool, SnapshotRefusalsLeaveNoFiles)
{
  before = FilesInDir();
  ExpectCleanFailure(Run({"--snapshot", "editor.jpg"}), "the editor picture is a .png file");
  ExpectCleanFailure(Run({"--plugin", kStandInPlugin, "--snapshot", "editor.png"}, false),
                     "cannot picture its editor");
  ExpectCleanFailure(Run({"--snapshot", "no-such-dir/editor.png", "--no-render"}),
                     "cannot write 'no-such-dir/editor.png'");
}

TEST_F(RenderTool, InterruptedRenderLeavesNoFile)
{
  before = FilesInDir();
  const fs::path errPath = dir / ".stderr-long";
  const pid_t child = fork();
  if (child == 0)
  {
    if (chdir(dir.c_str()) != 0) _exit(127);
    const int sink = open("/dev/null", O_WRONLY);
    dup2(sink, STDOUT_FILENO);
    dup2(sink, STDERR_FILENO);
    execl(kTool.c_str(), kTool.c_str(), "--plugin", kPlugin.c_str(), "--seconds", "36000", "-o", "long.wav",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  // Wait until the temporary file exists, then interrupt.
  bool started = false;
  for (int i = 0; i < 500 && !started; ++i)
  {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    for (const fs::directory_entry& entry : fs::directory_iterator(dir))
      started = started || entry.path().filename().string().find(".part-") != std::string::npos;
  }
  EXPECT_TRUE(started);
  kill(child, SIGTERM);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
  EXPECT_EQ(FilesInDir(), before);
}
