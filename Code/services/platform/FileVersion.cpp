#include "services/platform/FileVersion.h"

#include <elf.h>

#include <cstring>
#include <fstream>
#include <vector>

namespace sonvarro::platform {
namespace {

// A version is a short text; anything longer is not one of ours.
constexpr uint64_t kMaxVersionBytes = 256;
constexpr uint16_t kMaxSections = 4096;
constexpr uint64_t kMaxNameTableBytes = 1 << 20;

bool ReadAt(std::ifstream& file, uint64_t offset, void* into, uint64_t size, uint64_t fileSize) {
  if (offset > fileSize || size > fileSize - offset) return false;
  file.seekg(static_cast<std::streamoff>(offset));
  file.read(static_cast<char*>(into), static_cast<std::streamsize>(size));
  return static_cast<uint64_t>(file.gcount()) == size;
}

}  // namespace

std::string FileVersionOf(const std::string& path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) return {};
  const auto end = file.tellg();
  if (end <= 0) return {};
  const auto fileSize = static_cast<uint64_t>(end);

  Elf64_Ehdr header{};
  if (!ReadAt(file, 0, &header, sizeof header, fileSize)) return {};
  if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64) return {};
  if (header.e_shentsize != sizeof(Elf64_Shdr) || header.e_shnum == 0 || header.e_shnum > kMaxSections ||
      header.e_shstrndx >= header.e_shnum) {
    return {};
  }
  std::vector<Elf64_Shdr> sections(header.e_shnum);
  if (!ReadAt(file, header.e_shoff, sections.data(), sections.size() * sizeof(Elf64_Shdr), fileSize)) return {};

  const Elf64_Shdr& nameTable = sections[header.e_shstrndx];
  if (nameTable.sh_size == 0 || nameTable.sh_size > kMaxNameTableBytes) return {};
  std::vector<char> names(nameTable.sh_size);
  if (!ReadAt(file, nameTable.sh_offset, names.data(), names.size(), fileSize)) return {};
  names.back() = '\0';

  for (const Elf64_Shdr& section : sections) {
    if (section.sh_name >= names.size() || std::strcmp(&names[section.sh_name], SONVARRO_FILE_VERSION_SECTION) != 0) {
      continue;
    }
    if (section.sh_type == SHT_NOBITS || section.sh_size == 0 || section.sh_size > kMaxVersionBytes) return {};
    std::vector<char> text(section.sh_size);
    if (!ReadAt(file, section.sh_offset, text.data(), text.size(), fileSize)) return {};
    return std::string(text.data(), strnlen(text.data(), text.size()));
  }
  return {};
}

}  // namespace sonvarro::platform
