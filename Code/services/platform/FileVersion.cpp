#include "services/platform/FileVersion.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace sonvarro::platform {
namespace {

constexpr const char* kAttempt = "read the file version of";

// A version is a short text; anything longer is not one of ours.
constexpr uint64_t kMaxVersionBytes = 256;
constexpr uint16_t kMaxSections = 4096;
constexpr uint64_t kMaxNameTableBytes = 1 << 20;

class OpenFile {
 public:
  explicit OpenFile(const std::string& path) : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
  ~OpenFile() {
    if (fd_ >= 0) close(fd_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int Fd() const { return fd_; }

 private:
  int fd_;
};

bool ReadAt(int fd, uint64_t offset, void* into, uint64_t size, uint64_t fileSize) {
  if (offset > fileSize || size > fileSize - offset) return false;
  auto* bytes = static_cast<char*>(into);
  while (size > 0) {
    const ssize_t got = pread(fd, bytes, size, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    bytes += got;
    offset += static_cast<uint64_t>(got);
    size -= static_cast<uint64_t>(got);
  }
  return true;
}

}  // namespace

Result<std::string> FileVersionOf(const std::string& path) {
  const OpenFile file(path);
  if (file.Fd() < 0) return Status::FailedWithErrno(kAttempt, path);
  struct stat info {};
  if (fstat(file.Fd(), &info) != 0) return Status::FailedWithErrno(kAttempt, path);
  if (S_ISDIR(info.st_mode)) return Status::Failed(kAttempt, path, EISDIR);
  const Status notElf = Status::Failed(kAttempt, path, ENOEXEC);
  if (!S_ISREG(info.st_mode) || info.st_size <= 0) return notElf;
  const auto fileSize = static_cast<uint64_t>(info.st_size);
  const int fd = file.Fd();

  Elf64_Ehdr header{};
  if (!ReadAt(fd, 0, &header, sizeof header, fileSize)) return notElf;
  if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64) return notElf;
  if (header.e_shentsize != sizeof(Elf64_Shdr) || header.e_shnum == 0 || header.e_shnum > kMaxSections ||
      header.e_shstrndx >= header.e_shnum) {
    return notElf;
  }
  std::vector<Elf64_Shdr> sections(header.e_shnum);
  if (!ReadAt(fd, header.e_shoff, sections.data(), sections.size() * sizeof(Elf64_Shdr), fileSize)) return notElf;

  const Elf64_Shdr& nameTable = sections[header.e_shstrndx];
  if (nameTable.sh_size == 0 || nameTable.sh_size > kMaxNameTableBytes) return notElf;
  std::vector<char> names(nameTable.sh_size);
  if (!ReadAt(fd, nameTable.sh_offset, names.data(), names.size(), fileSize)) return notElf;
  names.back() = '\0';

  const Status noVersion = Status::Failed(kAttempt, path, ENODATA);
  for (const Elf64_Shdr& section : sections) {
    if (section.sh_name >= names.size() || std::strcmp(&names[section.sh_name], SONVARRO_FILE_VERSION_SECTION) != 0) {
      continue;
    }
    if (section.sh_type == SHT_NOBITS || section.sh_size == 0 || section.sh_size > kMaxVersionBytes) return noVersion;
    std::vector<char> text(section.sh_size);
    if (!ReadAt(fd, section.sh_offset, text.data(), text.size(), fileSize)) return notElf;
    return std::string(text.data(), strnlen(text.data(), text.size()));
  }
  return noVersion;
}

}  // namespace sonvarro::platform
