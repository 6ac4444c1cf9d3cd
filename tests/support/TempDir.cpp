#include "TempDir.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <stdexcept>
#include <system_error>

namespace sonvarro::test {

#ifdef _WIN32
// Windows has no mkdtemp: a name nobody holds yet, made at once.
TempDir::TempDir() {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    path_ = std::filesystem::temp_directory_path() / ("sonvarro-test-" + std::to_string(random()));
    std::error_code ec;
    if (std::filesystem::create_directory(path_, ec)) return;
  }
  throw std::runtime_error("cannot create a temporary folder");
}
#else
TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "sonvarro-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  path_ = pattern;
}
#endif

TempDir::~TempDir() {
  std::error_code ec;
  // Tests may leave read-only folders behind; make them writable first.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  }
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::WriteFile(const std::string& relative, const std::string& content) const {
  auto full = path_ / std::filesystem::u8path(relative);
  std::filesystem::create_directories(full.parent_path());
  std::ofstream out(full, std::ios::binary);
  out << content;
  if (!out) throw std::runtime_error("cannot write " + full.u8string());
  return full.u8string();
}

}  // namespace sonvarro::test
