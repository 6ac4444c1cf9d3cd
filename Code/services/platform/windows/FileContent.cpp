#include "services/platform/FileContent.h"

#include <windows.h>

#include <cerrno>
#include <cstddef>
#include <vector>

#include "services/platform/Paths.h"
#include "services/platform/windows/SystemText.h"

namespace sonvarro::platform {
namespace {

using windows::OwnedHandle;
using windows::Utf16;
using windows::Utf8;

constexpr const char* kReadAttempt = "read the file";
constexpr const char* kWriteAttempt = "write the file";
// How long a save waits before it looks again whether another has let go.
constexpr DWORD kTakeTurnMs = 10;
// How often a save looks again before it gives up on a target held open.
constexpr int kRenameAttempts = 200;

// ERROR_SUCCESS or the error of the failure.
DWORD WriteAll(HANDLE file, const std::string& content) {
  size_t written = 0;
  while (written < content.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(content.size() - written, 1u << 30));
    DWORD count = 0;
    if (!WriteFile(file, content.data() + written, chunk, &count, nullptr)) return GetLastError();
    written += count;
  }
  return ERROR_SUCCESS;
}

// The temporary file of a target, beside it. One name per target: a save
// cut short leaves at most this one behind, and the next save takes it over.
std::string TemporaryFor(const std::string& target) {
  return FolderPart(target) + "." + std::string(FileNamePart(target)) + ".tmp";
}

// Opens the target's temporary file, empty, for this save alone: it is
// opened sharing nothing, so a save of the same file in another instance of
// the program waits until this one has renamed it into place. The system
// closes the handle of a killed process, so a temporary that a save cut
// short left behind is simply reused.
OwnedHandle OpenTemporary(const std::string& temporary) {
  const std::wstring name = Utf16(temporary);
  for (;;) {
    OwnedHandle file(
        CreateFileW(name.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Valid()) {
      if (SetEndOfFile(file.Get())) return file;
      return OwnedHandle();
    }
    if (GetLastError() != ERROR_SHARING_VIOLATION) return file;
    Sleep(kTakeTurnMs);
  }
}

// The file a link at path points to; path itself for anything else.
std::string LinkTarget(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Utf16(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return path;
  OwnedHandle file(CreateFileW(Utf16(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return path;
  std::wstring resolved(32768, L'\0');
  const DWORD length = GetFinalPathNameByHandleW(file.Get(), resolved.data(), 32768, FILE_NAME_NORMALIZED);
  if (length == 0 || length >= 32768) return path;
  resolved.resize(length);
  // The system answers with its long-path prefix: "\\?\C:\..." or "\\?\UNC\server\...".
  if (resolved.rfind(L"\\\\?\\UNC\\", 0) == 0) return Utf8(L"\\\\" + resolved.substr(8));
  if (resolved.rfind(L"\\\\?\\", 0) == 0) return Utf8(resolved.substr(4));
  return Utf8(resolved);
}

// Moves the open file to target, replacing what is there, while this save
// still holds it, so that a save waiting for the temporary finds the name
// free or a new file at it.
DWORD RenameOpenFile(HANDLE file, const std::string& target) {
  const std::wstring name = Utf16(target);
  std::vector<std::byte> buffer(offsetof(FILE_RENAME_INFO, FileName) + (name.size() + 1) * sizeof(wchar_t));
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  rename->ReplaceIfExists = TRUE;
  rename->RootDirectory = nullptr;
  rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
  std::copy(name.begin(), name.end(), rename->FileName);
  rename->FileName[name.size()] = L'\0';
  // A reader that has the target open (this program's, or a virus scanner)
  // holds the name until it lets go: the save waits its turn for a while.
  for (int attempt = 0;; ++attempt) {
    if (SetFileInformationByHandle(file, FileRenameInfo, rename, static_cast<DWORD>(buffer.size())))
      return ERROR_SUCCESS;
    const DWORD error = GetLastError();
    if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || attempt == kRenameAttempts) return error;
    Sleep(kTakeTurnMs);
  }
}

void RemoveOpenFile(HANDLE file) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = TRUE;
  SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

}  // namespace

Result<std::string> ReadWholeFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Utf16(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return Status::Failed(kReadAttempt, path, EISDIR);
  OwnedHandle file(CreateFileW(Utf16(path).c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return windows::FailedWithLastError(kReadAttempt, path);
  std::string content;
  char buffer[8192];
  for (;;) {
    DWORD count = 0;
    if (!ReadFile(file.Get(), buffer, sizeof buffer, &count, nullptr))
      return windows::FailedWithLastError(kReadAttempt, path);
    if (count == 0) break;
    content.append(buffer, count);
  }
  return content;
}

Status ReplaceFileContent(const std::string& path, const std::string& content) {
  const std::string target = LinkTarget(path);
  const DWORD attributes = GetFileAttributesW(Utf16(target).c_str());
  const bool replacesFile = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  if (replacesFile && (attributes & FILE_ATTRIBUTE_READONLY)) return Status::Failed(kWriteAttempt, path, EACCES);
  // No file takes a folder's place.
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return Status::Failed(kWriteAttempt, path, EISDIR);

  OwnedHandle file = OpenTemporary(TemporaryFor(target));
  if (!file.Valid()) return windows::FailedWithLastError(kWriteAttempt, path);
  DWORD error = WriteAll(file.Get(), content);
  // On the disk before the name moves: a crash leaves the old file or the new one whole.
  if (error == ERROR_SUCCESS && !FlushFileBuffers(file.Get())) error = GetLastError();
  if (error == ERROR_SUCCESS) error = RenameOpenFile(file.Get(), target);
  if (error != ERROR_SUCCESS) RemoveOpenFile(file.Get());
  if (error == ERROR_SUCCESS) return {};
  return Status::Failed(kWriteAttempt, path, windows::ErrnoOf(error));
}

Status AppendToFile(const std::string& path, const std::string& text) {
  OwnedHandle file(CreateFileW(Utf16(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return windows::FailedWithLastError(kWriteAttempt, path);
  if (const DWORD error = WriteAll(file.Get(), text); error != ERROR_SUCCESS)
    return Status::Failed(kWriteAttempt, path, windows::ErrnoOf(error));
  return {};
}

}  // namespace sonvarro::platform
