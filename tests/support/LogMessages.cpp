#include "LogMessages.h"

#include <fstream>

namespace sonvarro::test {

std::vector<std::string> LogMessages(const std::string& folder) {
  std::vector<std::string> messages;
  std::ifstream log(folder + "log.txt", std::ios::binary);
  std::string line;
  while (std::getline(log, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto bar = line.find('|');
    messages.push_back(bar == std::string::npos ? line : line.substr(bar + 1));
  }
  return messages;
}

std::vector<std::string> LogMessagesStartingWith(const std::string& folder, const std::string& prefix) {
  std::vector<std::string> selected;
  for (const std::string& message : LogMessages(folder))
    if (message.compare(0, prefix.size(), prefix) == 0) selected.push_back(message);
  return selected;
}

}  // namespace sonvarro::test
