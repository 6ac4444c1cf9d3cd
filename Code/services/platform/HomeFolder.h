#pragma once

// The user's home folder. This is the one place that decides it, for the
// default output folder and the per-user data folder alike.

#include <string>

namespace sonvarro::platform {

// The home folder by the rule users expect: $HOME when it holds an absolute
// path (so that a user who points it elsewhere is followed), else the home
// the account database records for the user running the program; empty when
// neither has one. As recorded: no separator is added or removed.
std::string HomeFolder();

// The rule itself, for the given value of $HOME (empty when unset) and the
// account's recorded home.
std::string ChooseHomeFolder(const std::string& homeVariable, const std::string& accountHome);

// The value of an environment variable; empty when it is unset.
std::string EnvironmentValue(const char* name);

}  // namespace sonvarro::platform
