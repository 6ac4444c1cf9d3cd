#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sonvarro::test {

// Runs the ffmpeg tool to completion on args (after its options for quiet,
// non-interactive overwriting); fails with its output when it fails.
[[nodiscard]] testing::AssertionResult RunFfmpeg(std::vector<std::string> args);

// A test picture with sound of 3 s, 320 x 240 at 25 frames a second: the left
// half is red throughout, the right half blue up to 1.5 s and green from
// there on. Shown at 253 x 152 it is letter-boxed with black bars of about
// 25 pixels on the left and on the right.
[[nodiscard]] testing::AssertionResult WritePatternVideo(const std::string& path);

// Copies a file, replacing every occurrence of from by to (of the same
// length): how tests relabel a stream with a codec no decoder knows. Fails
// when from does not occur in the file.
[[nodiscard]] testing::AssertionResult CopyReplacing(const std::string& source, const std::string& target,
                                                     const std::string& from, const std::string& to);

}  // namespace sonvarro::test
