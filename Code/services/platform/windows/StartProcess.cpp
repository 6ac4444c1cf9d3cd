#include "services/platform/windows/StartProcess.h"

#include <cerrno>
#include <mutex>

#include "services/platform/windows/SystemText.h"

namespace sonvarro::platform::windows {
namespace {

constexpr const char* kAttempt = "start the program";

// The runtime reads the program's name up to its closing quote, with no
// escapes (a file name holds no quote).
std::wstring QuotedProgram(const std::string& program) { return L"\"" + Utf16(program) + L"\""; }

// Backslashes are literal unless a quote follows them: then each pair
// stands for one backslash, and an odd one escapes the quote.
std::wstring QuotedArgument(const std::string& argument) {
  const std::wstring wide = Utf16(argument);
  if (!wide.empty() && wide.find_first_of(L" \t\n\v\"") == std::wstring::npos) return wide;
  std::wstring quoted = L"\"";
  for (size_t at = 0;; ++at) {
    size_t backslashes = 0;
    while (at < wide.size() && wide[at] == L'\\') {
      ++backslashes;
      ++at;
    }
    if (at == wide.size()) {
      quoted.append(backslashes * 2, L'\\');
      break;
    }
    if (wide[at] == L'"') {
      quoted.append(backslashes * 2 + 1, L'\\');
    } else {
      quoted.append(backslashes, L'\\');
    }
    quoted.push_back(wide[at]);
  }
  quoted.push_back(L'"');
  return quoted;
}

// An inheritable copy of handle, for one child; null stays null.
HANDLE InheritableCopy(HANDLE handle) {
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return nullptr;
  HANDLE copy = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, TRUE, DUPLICATE_SAME_ACCESS))
    return nullptr;
  return copy;
}

// The attribute list that names the only handles a child inherits.
class InheritedHandles {
 public:
  explicit InheritedHandles(std::vector<HANDLE> handles) : handles_(std::move(handles)) {
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    storage_.resize(size);
    list_ = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
    ready_ = InitializeProcThreadAttributeList(list_, 1, 0, &size) != 0;
    if (ready_ && !handles_.empty())
      ready_ = UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles_.data(),
                                         handles_.size() * sizeof(HANDLE), nullptr, nullptr) != 0;
  }
  ~InheritedHandles() {
    if (list_) DeleteProcThreadAttributeList(list_);
  }
  InheritedHandles(const InheritedHandles&) = delete;
  InheritedHandles& operator=(const InheritedHandles&) = delete;

  bool Ready() const { return ready_; }
  LPPROC_THREAD_ATTRIBUTE_LIST List() const { return list_; }

 private:
  std::vector<HANDLE> handles_;
  std::vector<char> storage_;
  LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
  bool ready_ = false;
};

// Where the system ignores the handle list, a child started by another of
// our threads at the same moment would inherit these handles too and keep
// a pipe open after its own child ended: one start at a time.
std::mutex startLock;

}  // namespace

std::wstring CommandLineOf(const std::vector<std::string>& args) {
  std::wstring line;
  for (size_t i = 0; i < args.size(); ++i) {
    if (i > 0) line.push_back(L' ');
    line += i == 0 ? QuotedProgram(args[i]) : QuotedArgument(args[i]);
  }
  return line;
}

Result<StartedProcess> StartProcess(const ProcessStart& start) {
  if (start.args.empty()) return Status::Failed(kAttempt, {}, EINVAL);
  std::wstring commandLine = CommandLineOf(start.args);
  const std::wstring program = Utf16(start.args[0]);
  const std::wstring folder = Utf16(start.workingFolder);

  std::lock_guard<std::mutex> one(startLock);
  OwnedHandle input(InheritableCopy(start.input));
  OwnedHandle output(InheritableCopy(start.output));
  OwnedHandle error(start.error == start.output ? nullptr : InheritableCopy(start.error));
  std::vector<HANDLE> inherited;
  for (const OwnedHandle* handle : {&input, &output, &error})
    if (handle->Valid()) inherited.push_back(handle->Get());
  InheritedHandles handles(inherited);
  if (!handles.Ready()) return FailedWithLastError(kAttempt, start.args[0]);

  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdInput = input.Get();
  startup.StartupInfo.hStdOutput = output.Get();
  startup.StartupInfo.hStdError = start.error == start.output ? output.Get() : error.Get();
  startup.lpAttributeList = handles.List();
  DWORD flags = CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT | EXTENDED_STARTUPINFO_PRESENT;
  if (start.ownGroup) flags |= CREATE_NEW_PROCESS_GROUP;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(start.searchPath ? nullptr : program.c_str(), commandLine.data(), nullptr, nullptr,
                      inherited.empty() ? FALSE : TRUE, flags, nullptr, folder.empty() ? nullptr : folder.c_str(),
                      &startup.StartupInfo, &started))
    return FailedWithLastError(kAttempt, start.args[0]);
  CloseHandle(started.hThread);
  return StartedProcess{started.hProcess, started.dwProcessId};
}

}  // namespace sonvarro::platform::windows
