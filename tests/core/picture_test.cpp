#include "services/Picture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TempDir.h"
#include "services/platform/ChildProcess.h"

namespace sonvarro {
namespace {

// A JPEG picture of one colour, made by the ffmpeg tool.
std::vector<uint8_t> MakeJpeg(const test::TempDir& dir, const std::string& colour, int width, int height) {
  const std::string path = dir.Folder() + "picture.jpg";
  auto started = platform::ChildProcess::Start(
      {SONVARRO_FFMPEG_TOOL, "-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
       "color=c=" + colour + ":s=" + std::to_string(width) + "x" + std::to_string(height), "-frames:v", "1", path},
      "/");
  EXPECT_TRUE(started) << started.GetStatus().Describe();
  if (!started) return {};
  const auto child = std::move(started).Value();
  char buffer[4096];
  for (bool running = true; running;) {
    running = child->Running();
    while (child->Read(buffer, sizeof buffer)) {
    }
    if (running) child->WaitForOutput(10);
  }
  EXPECT_EQ(child->ExitCode(), 0);
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

TEST(DecodeJpeg, GivesThePixelsInRowsOfRedGreenBlue) {
  test::TempDir dir;
  const std::vector<uint8_t> jpeg = MakeJpeg(dir, "0xff8000", 38, 22);
  ASSERT_FALSE(jpeg.empty());
  const Picture picture = DecodeJpeg(jpeg.data(), jpeg.size());
  EXPECT_EQ(picture.width, 38);
  EXPECT_EQ(picture.height, 22);
  ASSERT_EQ(picture.rgb.size(), 38u * 22u * 3u);
  // JPEG is lossy: near the colour, in the order red, green, blue.
  for (size_t pixel : {size_t{0}, picture.rgb.size() / 3 - 1}) {
    EXPECT_NEAR(picture.rgb[pixel * 3], 0xff, 8);
    EXPECT_NEAR(picture.rgb[pixel * 3 + 1], 0x80, 8);
    EXPECT_NEAR(picture.rgb[pixel * 3 + 2], 0x00, 8);
  }
}

TEST(DecodeJpeg, RefusesWhatIsNoWholeJpeg) {
  test::TempDir dir;
  const std::vector<uint8_t> jpeg = MakeJpeg(dir, "0x3366cc", 64, 48);
  ASSERT_GT(jpeg.size(), 200u);
  const std::string text = "GIF89a, not a JPEG";
  const std::vector<uint8_t> cases[] = {
      {},
      std::vector<uint8_t>(text.begin(), text.end()),
      std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + 2),                    // the start marker alone
      std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + jpeg.size() * 3 / 4),  // cut short in the data
  };
  for (const auto& bytes : cases) {
    EXPECT_THROW(DecodeJpeg(bytes.data(), bytes.size()), JpegError) << bytes.size() << " bytes";
  }
  EXPECT_THROW(DecodeJpeg(nullptr, 10), JpegError);
}

}  // namespace
}  // namespace sonvarro
