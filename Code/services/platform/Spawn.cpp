#include "services/platform/Spawn.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace sonvarro::platform {
namespace {

struct SpawnActions {
  posix_spawn_file_actions_t actions;
  SpawnActions() { posix_spawn_file_actions_init(&actions); }
  ~SpawnActions() { posix_spawn_file_actions_destroy(&actions); }
};

struct SpawnAttributes {
  posix_spawnattr_t attributes;
  SpawnAttributes() { posix_spawnattr_init(&attributes); }
  ~SpawnAttributes() { posix_spawnattr_destroy(&attributes); }
};

}  // namespace

Result<pid_t> Spawn(const SpawnRequest& request) {
  constexpr const char* kAttempt = "start the program";
  if (request.args.empty()) return Status::Failed(kAttempt, {}, EINVAL);

  SpawnActions files;
  posix_spawn_file_actions_t* actions = &files.actions;
  int rc = request.input >= 0 ? posix_spawn_file_actions_adddup2(actions, request.input, STDIN_FILENO)
                              : posix_spawn_file_actions_addopen(actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  if (rc == 0 && request.output >= 0) rc = posix_spawn_file_actions_adddup2(actions, request.output, STDOUT_FILENO);
  if (rc == 0 && request.output >= 0) rc = posix_spawn_file_actions_adddup2(actions, request.output, STDERR_FILENO);
  // Our descriptors are close-on-exec; this also drops any that were
  // inherited without that flag from whoever started this program.
  if (rc == 0) rc = posix_spawn_file_actions_addclosefrom_np(actions, STDERR_FILENO + 1);
  if (rc == 0 && !request.workingFolder.empty())
    rc = posix_spawn_file_actions_addchdir_np(actions, request.workingFolder.c_str());

  SpawnAttributes attributes;
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
  if (request.ownSession) flags |= POSIX_SPAWN_SETSID;
  if (rc == 0) rc = posix_spawnattr_setflags(&attributes.attributes, flags);
  if (rc == 0) rc = posix_spawnattr_setsigmask(&attributes.attributes, &none);
  if (rc == 0) rc = posix_spawnattr_setsigdefault(&attributes.attributes, &all);
  if (rc != 0) return Status::Failed(kAttempt, request.args[0], rc);

  std::vector<char*> argv;
  argv.reserve(request.args.size() + 1);
  for (const std::string& arg : request.args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const char* program = request.args[0].c_str();
  pid_t pid = -1;
  rc = request.searchPath ? posix_spawnp(&pid, program, actions, &attributes.attributes, argv.data(), environ)
                          : posix_spawn(&pid, program, actions, &attributes.attributes, argv.data(), environ);
  if (rc != 0) return Status::Failed(kAttempt, request.args[0], rc);
  return pid;
}

}  // namespace sonvarro::platform
