// A child program with scripted behaviour for the encoder runner's tests.
// Each argument is one step, run in order:
//   out=TEXT   write TEXT to standard output in one write
//   err=TEXT   write TEXT to standard error in one write
//   bytes=N    write N bytes in one write: 1023 'A's, then 1023 'B's, ...
//   zero       write "ab", a zero byte and "cd\n" in one write
//   sleep=MS   sleep MS milliseconds
//   stdin      wait up to 300 ms on standard input and print what it gave:
//              "stdin:quiet", "stdin:eof" or "stdin:data"
//   fds        print the open descriptors, e.g. "fds:0,1,2"
//   session    print "session:leader" when the child leads its own session
//              and "tty:none" when it has no controlling terminal
//   exit=N     end at once with exit status N
//   signal=N   end at once by signal N
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Write(int fd, const std::string& text) {
  const char* data = text.data();
  size_t left = text.size();
  while (left > 0) {
    ssize_t written = write(fd, data, left);
    if (written <= 0) std::exit(3);
    data += written;
    left -= static_cast<size_t>(written);
  }
}

std::string OpenDescriptors() {
  DIR* dir = opendir("/proc/self/fd");
  if (!dir) return "?";
  std::vector<int> fds;
  while (dirent* entry = readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    int fd = std::atoi(entry->d_name);
    if (fd != dirfd(dir)) fds.push_back(fd);
  }
  closedir(dir);
  std::string text;
  for (int fd : fds) text += (text.empty() ? "" : ",") + std::to_string(fd);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string step = argv[i];
    if (step.rfind("out=", 0) == 0) {
      Write(1, step.substr(4));
    } else if (step.rfind("err=", 0) == 0) {
      Write(2, step.substr(4));
    } else if (step.rfind("bytes=", 0) == 0) {
      size_t count = std::strtoul(step.c_str() + 6, nullptr, 10);
      std::string text(count, ' ');
      for (size_t k = 0; k < count; ++k) text[k] = static_cast<char>('A' + (k / 1023) % 26);
      Write(1, text);
    } else if (step == "zero") {
      Write(1, std::string("ab\0cd\n", 6));
    } else if (step.rfind("sleep=", 0) == 0) {
      usleep(static_cast<useconds_t>(std::atoi(step.c_str() + 6)) * 1000);
    } else if (step == "stdin") {
      pollfd watch{0, POLLIN, 0};
      if (poll(&watch, 1, 300) == 0) {
        Write(1, "stdin:quiet\n");
      } else {
        char c;
        Write(1, read(0, &c, 1) > 0 ? "stdin:data\n" : "stdin:eof\n");
      }
    } else if (step == "fds") {
      Write(1, "fds:" + OpenDescriptors() + "\n");
    } else if (step == "session") {
      if (getsid(0) == getpid()) Write(1, "session:leader\n");
      int tty = open("/dev/tty", O_RDONLY | O_CLOEXEC);
      if (tty < 0) Write(1, "tty:none\n");
    } else if (step.rfind("exit=", 0) == 0) {
      return std::atoi(step.c_str() + 5);
    } else if (step.rfind("signal=", 0) == 0) {
      signal(std::atoi(step.c_str() + 7), SIG_DFL);
      raise(std::atoi(step.c_str() + 7));
    } else {
      Write(2, "unknown step: " + step + "\n");
      return 2;
    }
  }
  return 0;
}
