#pragma once

#include <string>
#include <vector>

namespace sonvarro::test {

// The messages of the log "log.txt" in folder (the text after "|" of each
// line), in order; none when there is no log.
std::vector<std::string> LogMessages(const std::string& folder);

// Only the messages that begin with prefix.
std::vector<std::string> LogMessagesStartingWith(const std::string& folder, const std::string& prefix);

}  // namespace sonvarro::test
