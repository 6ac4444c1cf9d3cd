#include <cmath>
#include <sstream>

#include "EvcFixture.h"

namespace sonvarro::test {
namespace {

// The 35 lines the presets produce (volume at its default), as the program
// writes them between the source and the trim options.
struct PresetLine {
  const char* type;
  const char* preset;
  const char* extension;
  const char* options;
  const char* codec;  // as the decoder names it
  int channels;
  int sampleRate;  // after the nearest-value rule
};

const PresetLine kPresetLines[] = {
    {"AMR", "Low", ".amr", "-acodec amr_nb -s 176x144 -b 40 -ab 48 -vol 200 -ac 1 -ar 8000", "amr_nb", 1, 8000},
    {"AMR", "Acceptable", ".amr", "-acodec amr_nb -s 176x144 -b 80 -ab 80 -vol 200 -ac 1 -ar 8000", "amr_nb", 1, 8000},
    {"AMR", "Normal", ".amr", "-acodec amr_nb -s 176x144 -b 128 -ab 128 -vol 200 -ac 1 -ar 8000", "amr_nb", 1, 8000},
    {"AMR", "Excellent", ".amr", "-acodec amr_nb -s 176x144 -b 256 -ab 192 -vol 200 -ac 1 -ar 8000", "amr_nb", 1, 8000},
    {"AMR", "Superb", ".amr", "-acodec amr_nb -s 176x144 -b 512 -ab 224 -vol 200 -ac 1 -ar 8000", "amr_nb", 1, 8000},
    {"AAC", "Low", ".aac", "-acodec aac -vn -ab 48 -vol 200 -ac 1 -ar 22050", "aac", 1, 22050},
    {"AAC", "Acceptable", ".aac", "-acodec aac -vn -ab 80 -vol 200 -ac 1 -ar 22050", "aac", 1, 22050},
    {"AAC", "Normal", ".aac", "-acodec aac -vn -ab 128 -vol 200 -ac 1 -ar 22050", "aac", 1, 22050},
    {"AAC", "Excellent", ".aac", "-acodec aac -vn -ab 192 -vol 200 -ac 1 -ar 22050", "aac", 1, 22050},
    {"AAC", "Superb", ".aac", "-acodec aac -vn -ab 224 -vol 200 -ac 1 -ar 22050", "aac", 1, 22050},
    {"MP3", "Low", ".mp3", "-acodec mp3 -vn -ab 48 -vol 200 -ac 1 -ar 22050", "mp3", 1, 22050},
    {"MP3", "Acceptable", ".mp3", "-acodec mp3 -vn -ab 80 -vol 200 -ac 2 -ar 32000", "mp3", 2, 32000},
    {"MP3", "Normal", ".mp3", "-acodec mp3 -vn -ab 128 -vol 200 -ac 2 -ar 44100", "mp3", 2, 44100},
    {"MP3", "Excellent", ".mp3", "-acodec mp3 -vn -ab 192 -vol 200 -ac 2 -ar 44100", "mp3", 2, 44100},
    {"MP3", "Superb", ".mp3", "-acodec mp3 -vn -ab 224 -vol 200 -ac 2 -ar 48000", "mp3", 2, 48000},
    {"AC3", "Low", ".ac3", "-acodec ac3 -vn -ab 48 -vol 200 -ac 1 -ar 22050", "ac3", 1, 32000},
    {"AC3", "Acceptable", ".ac3", "-acodec ac3 -vn -ab 80 -vol 200 -ac 1 -ar 22050", "ac3", 1, 32000},
    {"AC3", "Normal", ".ac3", "-acodec ac3 -vn -ab 128 -vol 200 -ac 1 -ar 22050", "ac3", 1, 32000},
    {"AC3", "Excellent", ".ac3", "-acodec ac3 -vn -ab 192 -vol 200 -ac 1 -ar 22050", "ac3", 1, 32000},
    {"AC3", "Superb", ".ac3", "-acodec ac3 -vn -ab 224 -vol 200 -ac 1 -ar 22050", "ac3", 1, 32000},
    {"M4A", "Low", ".m4a", "-acodec aac -vn -ab 48 -vol 200 -ac 1 -ar 22050", "aac", 1, 22050},
    {"M4A", "Acceptable", ".m4a", "-acodec aac -vn -ab 80 -vol 200 -ac 2 -ar 32000", "aac", 2, 32000},
    {"M4A", "Normal", ".m4a", "-acodec aac -vn -ab 128 -vol 200 -ac 2 -ar 44100", "aac", 2, 44100},
    {"M4A", "Excellent", ".m4a", "-acodec aac -vn -ab 192 -vol 200 -ac 2 -ar 44100", "aac", 2, 44100},
    {"M4A", "Superb", ".m4a", "-acodec aac -vn -ab 224 -vol 200 -ac 2 -ar 48000", "aac", 2, 48000},
    {"OGG", "Low", ".ogg", "-acodec vorbis -vn -ab 48 -vol 200 -ac 1 -ar 22050", "vorbis", 1, 22050},
    {"OGG", "Acceptable", ".ogg", "-acodec vorbis -vn -ab 80 -vol 200 -ac 1 -ar 22050", "vorbis", 1, 22050},
    {"OGG", "Normal", ".ogg", "-acodec vorbis -vn -ab 128 -vol 200 -ac 1 -ar 22050", "vorbis", 1, 22050},
    {"OGG", "Excellent", ".ogg", "-acodec vorbis -vn -ab 192 -vol 200 -ac 1 -ar 22050", "vorbis", 1, 22050},
    {"OGG", "Superb", ".ogg", "-acodec vorbis -vn -ab 224 -vol 200 -ac 1 -ar 22050", "vorbis", 1, 22050},
    {"WAV", "Low", ".wav", "-acodec pcm_s16le -vn -ab 48 -vol 200 -ac 1 -ar 22050", "pcm_s16le", 1, 22050},
    {"WAV", "Acceptable", ".wav", "-acodec pcm_s16le -vn -ab 80 -vol 200 -ac 2 -ar 32000", "pcm_s16le", 2, 32000},
    {"WAV", "Normal", ".wav", "-acodec pcm_s16le -vn -ab 128 -vol 200 -ac 2 -ar 44100", "pcm_s16le", 2, 44100},
    {"WAV", "Excellent", ".wav", "-acodec pcm_s16le -vn -ab 192 -vol 200 -ac 2 -ar 44100", "pcm_s16le", 2, 44100},
    {"WAV", "Superb", ".wav", "-acodec pcm_s16le -vn -ab 224 -vol 200 -ac 2 -ar 48000", "pcm_s16le", 2, 48000},
};

// How far a decoded length may be from the one asked: one frame of the codec.
// Raw ADTS and AC-3 streams cannot say how much of their first frame is
// encoder delay, so a decoder plays that delay too.
int ToleranceSamples(const std::string& extension, int sampleRate) {
  if (extension == ".amr") return 160;
  if (extension == ".aac") return 1024 + 1024;
  if (extension == ".m4a") return 1024;
  if (extension == ".mp3") return sampleRate < 32000 ? 576 : 1152;
  if (extension == ".ac3") return 1536 + 256;
  if (extension == ".ogg") return 2048;
  return 1;
}

std::vector<std::string> Split(const std::string& options) {
  std::vector<std::string> words;
  std::istringstream in(options);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

using EvcPresets = EvcSources;

TEST_F(EvcPresets, EveryPresetLineGivesTheAskedAudio) {
  constexpr double kAsked = 2.0;
  for (const PresetLine& line : kPresetLines) {
    SCOPED_TRACE(std::string(line.type) + " " + line.preset);
    const std::string output = out_.Folder() + line.type + " " + line.preset + line.extension;
    std::vector<std::string> args = {"-y", "-i", line.channels == 1 ? MonoSource() : StereoSource()};
    for (const auto& word : Split(line.options)) args.push_back(word);
    args.insert(args.end(), {"-ss", "00:00:00", "-t", "2", output});
    const EvcRun run = RunEvc(args);
    ASSERT_TRUE(run.exited);
    ASSERT_EQ(run.exitCode, 0) << run.err;

    const MediaReport report = DecodeMedia(output);
    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_EQ(report.codecName, line.codec);
    EXPECT_EQ(report.channels, line.channels);
    EXPECT_EQ(report.sampleRate, line.sampleRate);
    EXPECT_NEAR(report.samples, kAsked * line.sampleRate, ToleranceSamples(line.extension, line.sampleRate));
    EXPECT_FALSE(report.hasVideo);
    // -vol 200 doubles the level; lossy codecs are allowed 1.5 dB, AMR's
    // speech model (8 kHz, a pure tone) 3 dB.
    const double sourceRms = EvcSources::kAmplitude / std::sqrt(2.0);
    const double gainDb = 20 * std::log10(report.rms / sourceRms);
    EXPECT_NEAR(gainDb, 6.02, std::string(line.extension) == ".amr" ? 3.0 : 1.5);
  }
}

}  // namespace
}  // namespace sonvarro::test
