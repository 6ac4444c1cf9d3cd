#pragma once

// The files of a batch, checked on the way in as the window checks added
// files: accepted extensions, regular and readable files, duplicates once,
// the duration probe, then the trim range of the request pulled into each
// file as the window pulls a typed range.

#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "sourcerows/PlainSourceGrid.h"

namespace sonvarro {

// The request's file arguments with kStandardInputArgument replaced by the
// lines of input (an empty line is no name), each made absolute from the
// working folder.
std::vector<std::string> ExpandFileArguments(const std::vector<std::string>& arguments, std::istream& input);

// Why a file was not taken into the batch, for the user.
struct SkippedInput {
  std::string path;
  std::string reason;
};

// Appends a row for every path the window would add, in order, and gives the
// ones it would not (an unknown extension, a file that cannot be read);
// duplicates are added once and not reported. Then every row gets start and
// end where given, checked as typed times are.
std::vector<SkippedInput> AddBatchInputs(PlainSourceGrid& grid, const std::vector<std::string>& paths,
                                         const std::optional<std::string>& start,
                                         const std::optional<std::string>& end);

}  // namespace sonvarro
