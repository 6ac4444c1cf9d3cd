#pragma once

// Where the program keeps what it writes: the configuration folder
// "Config/" and the log "log.txt". This is the one place that decides it;
// the rest of the program asks here for the folder. The program itself,
// evc.exe, the companion libraries and "Help.chm" stay in the application
// folder (ExecutableFolder.h).

#include <string>

namespace sonvarro::platform {

// The configuration folder's name inside the data folder, with its separator.
inline constexpr const char* kConfigFolder = "Config/";
// The per-user folder's name below the user's data home.
inline constexpr const char* kUserDataFolderName = "sonvarro-converter";

// What the choice looks at besides the application folder.
struct UserDataPlaces {
#ifdef _WIN32
  std::string appData;  // the user's roaming application data (%APPDATA%); only an absolute path counts
#else
  std::string xdgDataHome;  // $XDG_DATA_HOME; only an absolute path counts
  std::string home;         // the user's home
#endif
};

// This process's places: XDG_DATA_HOME from the environment and the home
// folder (HomeFolder.h); on Windows the user's roaming application data
// folder as the shell knows it.
UserDataPlaces ProcessUserDataPlaces();

// True when this process may create files in appFolder and, when it has
// one, in its Config/ folder.
bool CanWriteAppFolder(const std::string& appFolder);

// The data folder of the program in appFolder, ending in "/":
// - a writable application folder (the build's, an unpacked archive) keeps
//   everything beside the program: appFolder itself;
// - a read-only one (installed under a system prefix) sends the data to the
//   per-user folder $XDG_DATA_HOME/sonvarro-converter/, else
//   $HOME/.local/share/sonvarro-converter/ (Windows: %APPDATA%\sonvarro-converter\,
//   as a program installed under Program Files cannot write its folder). The first start creates it
//   (folders it creates are private to the user) with the files of the
//   application folder's Config/ copied into its Config/; once that Config/
//   exists it is used as it is, so the user's files are never replaced;
// - when the per-user folder cannot be made ready, appFolder, so that the
//   installed defaults are still read; standard error says why.
std::string DataFolder(const std::string& appFolder, bool appFolderWritable, const UserDataPlaces& places);

// The same for this process: its writability and its places.
std::string DataFolder(const std::string& appFolder);

}  // namespace sonvarro::platform
