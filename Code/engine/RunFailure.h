#pragma once

// How one source's encoder run is judged and reported, the same for the
// window's job and the command line.

#include <optional>
#include <string>

#include "engine/AdvanceSystem.h"

namespace sonvarro {

// The log line of a failed row begins so, followed by the source path.
inline constexpr const char* kConvertErrorLog = "Convert error. ->";
// What users are told after a job with failed files: this line, the files,
// then where the reasons are.
inline constexpr const char* kFailedFilesMessage = "These files could not be converted:";
inline constexpr const char* kFailedFilesReasons = "The reasons are in log.txt.";

// Nothing when the run converted source into output; otherwise the log line
// that says how it ended: "Convert error. ->", the source, then why (not
// started, its exit status and ending signal, no output written, its last
// line). An encoder that ends well but leaves nothing, or only the reserved
// empty name, has not converted the file.
std::optional<std::string> ConvertErrorOf(const std::string& source, const EncoderOutcome& outcome,
                                          const std::string& output);

// The log line of a row not started because the job's output folder went
// away after the job began (a stick pulled out). Such a folder is not made
// again: that would write to whatever is now at its path.
std::string OutputFolderGoneError(const std::string& source, const std::string& folder);

}  // namespace sonvarro
