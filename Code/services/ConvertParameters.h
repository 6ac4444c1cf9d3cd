#pragma once

#include <string>

namespace sonvarro {

// The pieces of the encoder command line of the item built last. Every
// option fragment that is not empty begins with one blank, so the fragments
// are simply joined; they hold option tokens only, never a path.
struct TConvertParameterStruct {
  std::string EncoderPath;  // application folder + "evc.exe"
  std::string SourceFile;   // the row's path, unchanged
  std::string CodecOption;
  std::string VideoBitrateOption;
  std::string VideoSizeOption;
  std::string FrameRateOption;
  std::string AspectOption;
  std::string ExtraOption;  // never set: always empty
  std::string AudioBitrateOption;
  std::string VolumeOption;
  std::string ChannelsOption;
  std::string SampleRateOption;
  std::string FormatOption;
  std::string TrimOption;    // " -ss start -t length", or empty
  std::string OutputFolder;  // ends in "/"
  std::string OutputBaseName;
  std::string OutputExtension;  // with its dot
};

}  // namespace sonvarro
