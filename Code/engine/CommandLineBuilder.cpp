#include "engine/CommandLineBuilder.h"

#include <optional>

#include "engine/LineLayouts.h"
#include "engine/OptionFragments.h"
#include "services/TextFormats.h"
#include "services/platform/Folders.h"
#include "services/platform/Paths.h"
#include "sourcerows/SourceRows.h"

namespace sonvarro {

CommandLineBuilder::CommandLineBuilder(CommandLineSources sources, CommandLineServices services)
    : sources_(sources), services_(services) {}

std::string CommandLineBuilder::GetItemStartTime(const std::string& path) {
  std::string start;
  const ISourceGrid& rows = sources_.sourceList;
  for (int row = 0; row < rows.RowCount(); ++row) {
    if (rows.Cell(row, kColFileName) != path) continue;
    start = rows.Cell(row, kColStartTime);
    services_.customProfile.ApplyMainWindowProfile();
  }
  return start;
}

bool CommandLineBuilder::HasReadableTrimRange(const std::string& path) const {
  const int row = LastRowWithPath(sources_.sourceList, path);
  return row >= 0 && ReadTimeText(sources_.sourceList.Cell(row, kColStartTime)) &&
         ReadTimeText(sources_.sourceList.Cell(row, kColEndTime));
}

int32_t CommandLineBuilder::GetTrimLength(const std::string& path) {
  return sonvarro::GetTrimLength(sources_.sourceList, path);
}

std::string CommandLineBuilder::PrepareOutputFolder() {
  const std::string folder = platform::WithTrailingSeparator(sources_.edtOutputFolder.Text());
  // A folder that cannot be made is told by the check that follows.
  platform::CreateFolders(folder);
  const bool exists = platform::IsFolder(folder);
  services_.appFunc.WriteLog((exists ? "Output directory " : "Output directory error. ->") + folder);
  return folder;
}

EncoderCommand CommandLineBuilder::BuildCommandLine(const std::string& path) {
  TCustomProc& proc = services_.proc;
  TConvertParameterStruct& p = services_.lib.Params;
  const OptionControls& options = sources_.options;

  proc.CurrentStartTime = GetItemStartTime(path);
  proc.CurrentCutSeconds = std::to_string(GetTrimLength(path));
  // A range that is not two times as the grid writes them never reaches the
  // encoder: the whole file is converted, as for a row without a start.
  if (!HasReadableTrimRange(path)) proc.CurrentStartTime.clear();
  std::optional<TrimArguments> trim;
  if (!proc.CurrentStartTime.empty() && !proc.CurrentCutSeconds.empty())
    trim = TrimArguments{proc.CurrentStartTime, proc.CurrentCutSeconds};
  p.TrimOption = TrimOptionText(trim);
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
      services_.fileFunc.ReserveUniqueFileName(p.OutputFolder + p.OutputBaseName + p.OutputExtension);
  return JoinCommandLine(p, trim, outputPath);
}

}  // namespace sonvarro
