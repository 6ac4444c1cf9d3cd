// The duration probe on the Windows build's FFmpeg, which has the demuxers
// of every container the source list takes but decoders for sound only: a
// film still tells its duration by its sound, and its picture counts as a
// stream nothing can play.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TempDir.h"
#include "player/ProbeGraph.h"
#include "sourcelist/Probe.h"

namespace sonvarro {
namespace {

std::string Media(const std::string& name) { return std::string(SONVARRO_PROBE_MEDIA) + "/" + name; }

TEST(WindowsProbe, EveryContainerTellsItsDurationBySound) {
  const struct {
    const char* name;
    // The picture streams. Without a parser for MPEG video the program
    // stream's picture is not told apart at all: no stream to count.
    int undecodable;
  } cases[] = {
      {"tone.wav", 0}, {"tone.mp3", 0}, {"tone.flac", 0}, {"tone.opus", 0}, {"tone.aiff", 0},
      {"tone.m4a", 0}, {"tone.mka", 0}, {"tone.oga", 0},  {"tone.wv", 0},   {"tone.caf", 0},
      {"tone.ac3", 0}, {"tone.wma", 0}, {"clip.mp4", 1},  {"clip.mkv", 1},  {"clip.avi", 1},
      {"clip.mpg", 0}, {"clip.ts", 1},  {"clip.flv", 1},  {"clip.wmv", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ProbeGraph graph;
    EXPECT_EQ(ProbeDuration(Media(c.name), graph), 2);
    EXPECT_FALSE(graph.Active());
    graph.SetActive(true);
    EXPECT_EQ(graph.Render(Media(c.name)), c.undecodable);
    EXPECT_NEAR(graph.DurationMs(), 2500, 150);  // ASF adds its preroll
  }
}

TEST(WindowsProbe, NamesBeyondAsciiAndWhatIsNoMediaGiveWhatTheyGiveOnLinux) {
  test::TempDir dir;
  const std::filesystem::path odd = std::filesystem::u8path(dir.Folder() + "a b 'c' $d ü Ω 音.wav");
  std::filesystem::copy_file(std::filesystem::u8path(Media("tone.wav")), odd);
  const std::string notes = dir.WriteFile("notes.mp3", "just some text, not sound\n");
  ProbeGraph graph;
  EXPECT_EQ(ProbeDuration(odd.u8string(), graph), 2);
  EXPECT_EQ(ProbeDuration(notes, graph), 0);
  EXPECT_EQ(ProbeDuration(dir.Folder() + "missing.wav", graph), 0);
  EXPECT_EQ(ProbeDuration(dir.Folder(), graph), 0);
  EXPECT_FALSE(graph.Active());
}

}  // namespace
}  // namespace sonvarro
