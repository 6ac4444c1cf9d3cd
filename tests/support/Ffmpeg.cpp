#include "Ffmpeg.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "services/platform/ChildProcess.h"

namespace sonvarro::test {

testing::AssertionResult RunFfmpeg(std::vector<std::string> args) {
  args.insert(args.begin(), {SONVARRO_FFMPEG_TOOL, "-nostdin", "-v", "error", "-y"});
  auto started = platform::ChildProcess::Start(args, "/");
  if (!started) return testing::AssertionFailure() << started.GetStatus().Describe();
  const auto child = std::move(started).Value();
  std::string output;
  char buffer[4096];
  for (bool running = true; running;) {
    running = child->Running();
    while (std::size_t count = child->Read(buffer, sizeof buffer)) output.append(buffer, count);
    if (running) child->WaitForOutput(10);
  }
  if (child->ExitCode() != 0)
    return testing::AssertionFailure() << "ffmpeg exited with " << child->ExitCode() << ": " << output;
  return testing::AssertionSuccess();
}

testing::AssertionResult WritePatternVideo(const std::string& path) {
  return RunFfmpeg({"-f", "lavfi", "-i",
                    "color=c=red:s=320x240:r=25:d=3,"
                    "drawbox=x=160:y=0:w=160:h=240:color=blue:t=fill:enable='lt(t,1.5)',"
                    "drawbox=x=160:y=0:w=160:h=240:color=lime:t=fill:enable='gte(t,1.5)'",
                    "-f", "lavfi", "-i", "sine=duration=3", "-c:v", "mpeg4", "-q:v", "2", "-c:a", "aac", "-shortest",
                    path});
}

testing::AssertionResult CopyReplacing(const std::string& source, const std::string& target, const std::string& from,
                                       const std::string& to) {
  if (from.size() != to.size()) return testing::AssertionFailure() << from << " and " << to << " differ in length";
  std::ifstream in(source, std::ios::binary);
  std::string bytes(std::istreambuf_iterator<char>(in), {});
  std::size_t replaced = 0;
  for (std::size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at)) {
    bytes.replace(at, from.size(), to);
    ++replaced;
  }
  if (replaced == 0) return testing::AssertionFailure() << from << " not found in " << source;
  std::ofstream(target, std::ios::binary) << bytes;
  return testing::AssertionSuccess();
}

}  // namespace sonvarro::test
