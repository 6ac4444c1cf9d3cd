#include "engine/CommandLineBuilder.h"

#include <charconv>
#include <filesystem>
#include <system_error>
#include <vector>

#include "engine/CommandFragments.h"
#include "engine/CommandLayout.h"
#include "engine/TextHelpers.h"
#include "services/platform/Paths.h"

namespace sonvarro {
namespace {

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SamePath(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  return true;
}

bool ReadDecimal(const std::string& text, int64_t& value) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') ++first;
  const auto [end, error] = std::from_chars(first, last, value);
  return first != last && error == std::errc() && end == last;
}

// "hh:mm:ss" in seconds; anything else is 0.
int64_t TimeSeconds(const std::string& text) {
  const std::vector<std::string> parts = SplitText(text, ':');
  int64_t hours = 0, minutes = 0, seconds = 0;
  if (parts.size() != 3 || !ReadDecimal(parts[0], hours) || !ReadDecimal(parts[1], minutes) ||
      !ReadDecimal(parts[2], seconds))
    return 0;
  return hours * 3600 + minutes * 60 + seconds;
}

}  // namespace

TCommandLineBuilder::TCommandLineBuilder(CommandLineSources sources, CommandLineServices services)
    : sources_(sources), services_(services) {}

std::string TCommandLineBuilder::GetItemStartTime(const std::string& path) {
  std::string start;
  const ISourceGrid& rows = sources_.sourceList;
  for (int row = 0; row < rows.RowCount(); ++row) {
    if (!SamePath(rows.Cell(row, kColFileName), path)) continue;
    start = rows.Cell(row, kColStartTime);
    if (ApplyCustomProfile) ApplyCustomProfile();
  }
  return start;
}

int32_t TCommandLineBuilder::GetTrimLength(const std::string& path) {
  int64_t length = 0;
  const ISourceGrid& rows = sources_.sourceList;
  for (int row = 0; row < rows.RowCount(); ++row) {
    if (SamePath(rows.Cell(row, kColFileName), path))
      length = TimeSeconds(rows.Cell(row, kColEndTime)) - TimeSeconds(rows.Cell(row, kColStartTime));
  }
  return static_cast<int32_t>(length);
}

std::string TCommandLineBuilder::PrepareOutputFolder() {
  const std::string folder = platform::WithTrailingSeparator(sources_.edtOutputFolder.Text());
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  const bool exists = std::filesystem::is_directory(folder, error);
  services_.appFunc.WriteLog((exists ? "Output directory " : "Output directory error. ->") + folder);
  return folder;
}

EncoderCommand TCommandLineBuilder::BuildCommandLine(const std::string& path) {
  TCustomProc& proc = services_.proc;
  TConvertParameterStruct& p = services_.lib.Params;
  const OptionControls& options = sources_.options;

  proc.CurrentStartTime = GetItemStartTime(path);
  proc.CurrentCutSeconds = std::to_string(GetTrimLength(path));
  p.TrimOption = proc.CurrentStartTime.empty() || proc.CurrentCutSeconds.empty()
                     ? ""
                     : " -ss " + proc.CurrentStartTime + " -t " + proc.CurrentCutSeconds;
  p.SourceFile = path;
  // After GetItemStartTime: a custom profile it applied is seen here.
  p.CodecOption = MakeCodecOption(options);
  p.VideoBitrateOption = MakeVideoBitrateOption(options);
  p.VideoSizeOption = MakeVideoSizeOption(options);
  p.FrameRateOption = MakeFrameRateOption(options);
  p.AspectOption = MakeAspectOption(options);
  p.AudioBitrateOption = MakeAudioBitrateOption(options);
  p.VolumeOption = MakeVolumeOption(options);
  p.ChannelsOption = MakeChannelsOption(options);
  p.SampleRateOption = MakeSampleRateOption(options);
  p.FormatOption = MakeFormatOption(options);
  p.OutputFolder = PrepareOutputFolder();
  p.OutputBaseName = TFileFunc::GetFileBaseName(path);
  p.OutputExtension = MakeExtension(options);
  p.EncoderPath = services_.lib.AppFolder + kEncoderFileName;
  const std::string outputPath =
      services_.fileFunc.GetUniqueFileName(p.OutputFolder + p.OutputBaseName + p.OutputExtension);
  return JoinCommandLine(p, outputPath);
}

}  // namespace sonvarro
