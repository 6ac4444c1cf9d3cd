#include "engine/RunFailure.h"

#include "services/platform/Files.h"

namespace sonvarro {

std::optional<std::string> ConvertErrorOf(const std::string& source, const EncoderOutcome& outcome,
                                          const std::string& output) {
  const bool outputMissing = outcome.Succeeded() && platform::FileSize(output).ValueOr(0) == 0;
  if (outcome.Succeeded() && !outputMissing) return std::nullopt;
  std::string line = kConvertErrorLog + source;
  if (!outcome.started) return line + ", not started: " + outcome.startError;
  line += ", exit status " + std::to_string(outcome.exitStatus);
  if (!outcome.endingSignal.empty()) line += " (" + outcome.endingSignal + ")";
  if (outputMissing) line += ", no output written";
  if (!outcome.lastLine.empty()) line += ": " + outcome.lastLine;
  return line;
}

std::string OutputFolderGoneError(const std::string& source, const std::string& folder) {
  return kConvertErrorLog + source + ", the output folder is gone: " + folder;
}

}  // namespace sonvarro
