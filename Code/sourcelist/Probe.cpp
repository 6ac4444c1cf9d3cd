#include "sourcelist/Probe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace sonvarro {

int32_t ProbeDuration(const std::string& path, MediaGraph& graph) {
  try {
    graph.Clear();
    graph.SetActive(true);
    graph.Render(path);  // a partial render still tells a duration
    int64_t durationMs = graph.DurationMs();
    graph.SetActive(false);
    return static_cast<int32_t>(durationMs / 1000);
  } catch (...) {
    // Do not keep the file open until the next probe.
    try {
      graph.SetActive(false);
    } catch (...) {
    }
    return 0;
  }
}

int64_t ReadFileSize(const std::string& path) {
  // Without blocking: a pipe under a media file's name must not hold us up.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) throw std::system_error(errno, std::generic_category(), "cannot read " + path);
  struct stat info {};
  int result = fstat(fd, &info);
  int error = errno;
  close(fd);
  if (result != 0) throw std::system_error(error, std::generic_category(), "cannot read " + path);
  if (S_ISDIR(info.st_mode)) throw std::system_error(EISDIR, std::generic_category(), "cannot read " + path);
  return static_cast<int64_t>(info.st_size);
}

}  // namespace sonvarro
