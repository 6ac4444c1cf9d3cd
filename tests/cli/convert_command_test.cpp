// sonvarro-convert end to end: the built command and the real evc.exe in an
// application folder of the test's own, on generated sources.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Ffmpeg.h"
#include "LogMessages.h"
#include "TempDir.h"
#include "TestMedia.h"
#include "WaitUntil.h"
#include "services/platform/Processes.h"
#include "services/platform/Spawn.h"

namespace sonvarro::test {
namespace {

namespace fs = std::filesystem;

constexpr double kToneSeconds = 4;
constexpr int kLongSeconds = 600;  // still encoding when the test interrupts it

std::string Built(const char* name) { return std::string(std::getenv("SONVARRO_APP_DIR")) + "/" + name; }

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Sources made once, in a folder whose name has a blank, "$", "#" and a
// non-ASCII letter.
struct Sources {
  TempDir dir;
  std::string folder = dir.Folder() + "src Ü $x #1/";
  std::string tone = folder + "tone.wav";
  std::string odd = folder + "it's \"q\" $HOME #2 Ünï.wav";
  std::string blank = folder + "with blank.flac";
  std::string damaged = folder + "damaged one.ogg";
  testing::AssertionResult made = testing::AssertionSuccess();

  Sources() {
    fs::create_directories(folder);
    std::string error;
    ToneSpec spec;
    spec.seconds = kToneSeconds;
    for (const std::string& path : {tone, odd, blank})
      if (!WriteToneFile(path, spec, &error)) made = testing::AssertionFailure() << error;
    if (!made) return;
    // Probes like any file, but no frame of it can be decoded.
    made = RunFfmpeg(
        {"-f", "lavfi", "-i", "sine=duration=3", "-ac", "2", "-c:a", "flac", "-bsf:a", "noise=amount=1", damaged});
  }
  static Sources& Get() {
    static Sources sources;
    return sources;
  }
};

struct CommandRun {
  int exitCode = -1;
  std::string output;  // standard output and standard error
};

class ConvertCommand : public testing::Test {
 protected:
  void SetUp() override {
    sources = &Sources::Get();
    ASSERT_TRUE(sources->made);
    fs::create_directories(app.Folder() + "Config");
    for (const char* program : {"sonvarro-convert", "evc.exe"})
      fs::copy_file(Built(program), app.Folder() + program, fs::copy_options::overwrite_existing);
    // The window's stored choices: MP3, "Normal Quality", an output folder
    // of its own; and one custom profile, 64 kbit/s mono at 22050 Hz.
    app.WriteFile("Config/UserSettings.ini", "[USRInfo]\r\nSHWDDir=0\r\nSHUTDOWN=0\r\nOutDir=" + Stored() +
                                                 "\r\nOutType=2\r\nProfile=Normal Quality\r\n");
    app.WriteFile("Config/UserProfileInfo.ini", "[Voice]\r\nVoice=1|0|0|3|0|0\r\n");
  }

  std::string Stored() const { return out.Folder() + "stored"; }
  std::string Out() const { return out.Folder() + "out/"; }

  // Runs the command with args and input as its standard input.
  CommandRun Run(std::vector<std::string> args, const std::string& input = "") {
    args.insert(args.begin(), app.Folder() + "sonvarro-convert");
    const std::string inputFile = io.WriteFile("input.txt", input);
    const std::string outputFile = io.Folder() + "output.txt";
    const int in = open(inputFile.c_str(), O_RDONLY | O_CLOEXEC);
    const int output = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    platform::SpawnRequest request;
    request.args = args;
    request.input = in;
    request.output = output;
    const platform::Result<pid_t> started = platform::Spawn(request);
    close(in);
    close(output);
    CommandRun run;
    if (!started) return run;
    pid_ = started.Value();
    if (onStart_) onStart_(pid_);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.output = ReadWhole(outputFile);
    return run;
  }

  std::vector<std::string> ConvertErrors() const { return LogMessagesStartingWith(app.Folder(), "Convert error. ->"); }

  Sources* sources = nullptr;
  TempDir app, out, io;
  std::function<void(pid_t)> onStart_;
  pid_t pid_ = 0;
};

// The audio of a converted file: codec, rate, channels, length and, for
// codecs of a constant rate, the bit rate from its size.
struct ExpectedAudio {
  const char* type;
  const char* profile;  // empty: the stored one
  const char* extension;
  const char* codec;
  int channels;
  int sampleRate;
  int kbitPerSecond;  // 0: not checked
};

TEST_F(ConvertCommand, EachTypeWithAPresetAndACustomProfileGivesTheirAudio) {
  const ExpectedAudio rows[] = {
      {"amr", "Acceptable Quality", ".amr", "amr_nb", 1, 8000, 0},
      {"aac", "Acceptable Quality", ".aac", "aac", 1, 22050, 0},
      {"mp3", "Acceptable Quality", ".mp3", "mp3", 2, 32000, 80},
      {"ac3", "Acceptable Quality", ".ac3", "ac3", 1, 32000, 80},
      {"m4a", "Acceptable Quality", ".m4a", "aac", 2, 32000, 0},
      {"ogg", "Acceptable Quality", ".ogg", "vorbis", 1, 22050, 0},
      {"wav", "Acceptable Quality", ".wav", "pcm_s16le", 2, 32000, 1024},
      {"mp3", "Voice", ".mp3", "mp3", 1, 22050, 64},
      {"", "", ".mp3", "mp3", 2, 44100, 128},  // a bare command: the window's MP3, "Normal Quality"
  };
  for (const ExpectedAudio& row : rows) {
    SCOPED_TRACE(std::string(row.type) + " " + row.profile);
    fs::remove_all(Stored());
    fs::remove_all(Out());
    std::vector<std::string> args;
    if (*row.type) args.insert(args.end(), {"-t", row.type, "-o", Out()});
    if (*row.profile) args.insert(args.end(), {"-p", row.profile});
    args.push_back(sources->tone);
    const CommandRun run = Run(args);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const std::string output = (*row.type ? Out() : Stored() + "/") + "tone" + row.extension;
    EXPECT_NE(run.output.find("converted to " + output), std::string::npos) << run.output;
    const MediaReport report = DecodeMedia(output);
    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_EQ(report.codecName, row.codec);
    EXPECT_EQ(report.channels, row.channels);
    EXPECT_EQ(report.sampleRate, row.sampleRate);
    EXPECT_NEAR(report.durationSeconds, kToneSeconds, 0.2);
    if (row.kbitPerSecond > 0) {
      EXPECT_NEAR(fs::file_size(output) * 8 / 1000.0 / report.durationSeconds, row.kbitPerSecond,
                  row.kbitPerSecond * 0.05);
    }
  }
}

TEST_F(ConvertCommand, TrimsEveryFileAndPullsARangeBeyondItBack) {
  const struct {
    const char* start;
    const char* end;
    double seconds;
  } rows[] = {{"00:00:01", "00:00:03", 2}, {"00:00:02", "01:00:00", kToneSeconds - 2}};
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.start) + " " + row.end);
    fs::remove_all(Out());
    const CommandRun run = Run({"-t", "wav", "-o", Out(), "--start", row.start, "--end", row.end, sources->tone});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const MediaReport report = DecodeMedia(Out() + "tone.wav");
    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_NEAR(report.durationSeconds, row.seconds, 0.05);
  }
}

TEST_F(ConvertCommand, NamesOfEveryKindAsArgumentsAndThroughStandardInput) {
  const std::string names[] = {sources->odd, sources->blank};
  const std::string outputs[] = {"it's \"q\" $HOME #2 Ünï.mp3", "with blank.mp3"};
  for (const bool throughInput : {false, true}) {
    SCOPED_TRACE(throughInput ? "standard input" : "arguments");
    fs::remove_all(Out());
    // Each name twice: a file is converted once.
    const CommandRun run =
        throughInput ? Run({"-t", "mp3", "-o", Out(), "-"}, names[0] + "\n" + names[1] + "\n" + names[0] + "\n")
                     : Run({"-t", "mp3", "-o", Out(), names[0], names[1], names[0]});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    for (const std::string& output : outputs) {
      const MediaReport report = DecodeMedia(Out() + output);
      EXPECT_TRUE(report.ok) << output << ": " << report.error;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(Out()), fs::directory_iterator()), 2);
  }
}

TEST_F(ConvertCommand, ADamagedFileFailsAloneAndIsNamedInTheSummaryAndTheLog) {
  const CommandRun run = Run({"-t", "mp3", "-o", Out(), sources->tone, sources->damaged, sources->blank});
  EXPECT_EQ(run.exitCode, 1) << run.output;
  EXPECT_TRUE(DecodeMedia(Out() + "tone.mp3").ok);
  EXPECT_TRUE(DecodeMedia(Out() + "with blank.mp3").ok);
  EXPECT_FALSE(fs::exists(Out() + "damaged one.mp3"));
  EXPECT_NE(run.output.find("2 of 3 files converted.\nThese files could not be converted:\n  " + sources->damaged),
            std::string::npos)
      << run.output;
  const std::vector<std::string> errors = ConvertErrors();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("Convert error. ->" + sources->damaged + ", exit status ", 0), 0u) << errors[0];
}

TEST_F(ConvertCommand, CtrlCStopsTheEncoderRemovesItsOutputAndExitsWith130) {
  const std::string longOne = io.Folder() + "long one.flac";
  ASSERT_TRUE(RunFfmpeg({"-f", "lavfi", "-i", "sine=duration=" + std::to_string(kLongSeconds), "-ac", "2", longOne}));
  pid_t encoder = 0;
  onStart_ = [&](pid_t command) {
    // Interrupted once its encoder runs and has written some of the output.
    const bool started = WaitUntil([&] {
      platform::ForEachProcess([&](const platform::ProcessEntry& entry) {
        if (entry.parentId == command && entry.exeFile == "evc.exe") encoder = entry.id;
      });
      return encoder != 0 && fs::exists(Out() + "long one.wav") && fs::file_size(Out() + "long one.wav") > 0;
    });
    EXPECT_TRUE(started);
    kill(command, SIGINT);
  };
  const CommandRun run = Run({"-t", "wav", "-o", Out(), longOne, sources->tone});
  EXPECT_EQ(run.exitCode, 130) << run.output;
  EXPECT_NE(run.output.find("Interrupted: 0 of 2 files converted"), std::string::npos) << run.output;
  EXPECT_TRUE(fs::is_empty(Out())) << "the partial output or a later file is left";
  ASSERT_NE(encoder, 0);
  EXPECT_EQ(kill(encoder, 0), -1) << "the encoder still runs";
}

TEST_F(ConvertCommand, AnOutputFolderGoneMidBatchFailsTheRestAndIsNotMadeAgain) {
  const std::string longOne = io.Folder() + "long one.flac";
  ASSERT_TRUE(RunFfmpeg({"-f", "lavfi", "-i", "sine=duration=" + std::to_string(kLongSeconds), "-ac", "2", longOne}));
  onStart_ = [&](pid_t) {
    // The stick is pulled while the first file is being written.
    EXPECT_TRUE(
        WaitUntil([&] { return fs::exists(Out() + "long one.wav") && fs::file_size(Out() + "long one.wav") > 0; }));
    fs::remove_all(Out());
  };
  const CommandRun run = Run({"-t", "wav", "-o", Out(), longOne, sources->tone});
  EXPECT_EQ(run.exitCode, 1) << run.output;
  EXPECT_FALSE(fs::exists(Out())) << "the folder was made again";
  const std::vector<std::string> errors = ConvertErrors();
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[1], "Convert error. ->" + sources->tone + ", the output folder is gone: " + Out());
}

TEST_F(ConvertCommand, UsageErrorsNameTheOptionAndExitWith2) {
  const struct {
    std::vector<std::string> args;
    const char* says;
  } rows[] = {
      {{}, "no file to convert"},
      {{"--bogus", "a.wav"}, "--bogus: no such option"},
      {{"-t", "flac", "a.wav"}, "-t: 'flac' is not an output type (amr, aac, mp3, ac3, m4a, ogg, wav)"},
      {{"--type=mp4", "a.wav"}, "--type: 'mp4' is not an output type"},
      {{"a.wav", "-o"}, "-o: a value is missing"},
      {{"-p", "Nope", "a.wav"}, "--profile: no profile named 'Nope'"},
      {{"--start", "1:02", "a.wav"}, "--start: '1:02' is not a time hh:mm:ss"},
      {{"--start", "00:00:05", "--end", "00:00:02", "a.wav"}, "--end: 00:00:02 is not after --start 00:00:05"},
      {{"--volume", "33", "a.wav"}, "--volume: '33' is not a volume (0 to 500 in steps of 25)"},
  };
  for (const auto& row : rows) {
    const CommandRun run = Run(row.args);
    EXPECT_EQ(run.exitCode, 2) << row.says;
    EXPECT_NE(run.output.find(std::string("sonvarro-convert: ") + row.says), std::string::npos) << run.output;
  }
  EXPECT_FALSE(fs::exists(app.Folder() + "log.txt")) << "nothing was converted";
}

TEST_F(ConvertCommand, HelpVersionAndTheProfileList) {
  const CommandRun help = Run({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.output.rfind("Usage: sonvarro-convert [options] FILE...\n", 0), 0u) << help.output;
  const CommandRun version = Run({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.output, "sonvarro-convert (Sonvarro Converter) " SONVARRO_VERSION_TEXT "\n");
  const CommandRun profiles = Run({"--list-profiles", "mp3"});
  EXPECT_EQ(profiles.exitCode, 0);
  EXPECT_EQ(profiles.output,
            "mp3\tLow Quality\tpreset\t-ab 48 -ac 1 -ar 22050\n"
            "mp3\tAcceptable Quality\tpreset\t-ab 80 -ac 2 -ar 32000\n"
            "mp3\tNormal Quality\tpreset\t-ab 128 -ac 2 -ar 44100\n"
            "mp3\tExcellent Quality\tpreset\t-ab 192 -ac 2 -ar 44100\n"
            "mp3\tSuperb Quality\tpreset\t-ab 224 -ac 2 -ar 48000\n"
            "mp3\tVoice\tcustom\t-ab 64 -ac 1 -ar 22050\n");
}

}  // namespace
}  // namespace sonvarro::test
