#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

#include "TempDir.h"

namespace sonvarro::test {

// A small file system of its own (a tmpfs of the given size), so that writes
// to it run out of room as on a full disk. Mounting needs no privilege: a
// child process mounts it in a user and mount namespace of its own and holds
// it while the object lives; everyone else (this process, the programs it
// starts) reaches it through that child's root, /proc/<child>/root/..., as
// the same user. Where the system forbids such namespaces it is not made,
// and Why() says so.
class SmallDisk {
 public:
  explicit SmallDisk(std::size_t bytes);
  // Ends the child; the file system goes with its namespace.
  ~SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool Made() const { return why_.empty(); }
  // Why it could not be made; empty once made.
  const std::string& Why() const { return why_; }
  // The file system's top folder, ending in "/".
  const std::string& Folder() const { return folder_; }
  // Bytes a file may still take there.
  std::size_t FreeBytes() const;

 private:
  TempDir mountPoint_;
  pid_t holder_ = -1;
  int release_ = -1;  // closing it ends the holder
  std::string folder_;
  std::string why_;
};

}  // namespace sonvarro::test
