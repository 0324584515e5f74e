#pragma once
// The folder Qt keeps its per-user runtime files in (XDG_RUNTIME_DIR). Sessions without one
// (a bare X server, a desktop entry run outside a login session) make Qt warn; the program
// then offers Qt a folder of its own under /tmp, but only one that cannot be someone else's:
// a real directory, owned by this user, readable by this user alone. Called once in main()
// before the QApplication exists.
#include <sys/types.h>
#include <string>

namespace velmoria {

struct PrivateDir {
  bool usable = false;
  std::string problem;  // why not, when not usable
};

// Creates `path` (mode 0700) unless it exists, then checks that it is a directory and not a
// symbolic link, owned by `owner`, with mode 0700. An existing folder is never changed.
PrivateDir preparePrivateDir(const std::string& path, uid_t owner);

// When XDG_RUNTIME_DIR is unset, sets it to `path` if preparePrivateDir accepts it; otherwise
// leaves it unset, so that Qt chooses (and checks) a folder itself, and says why on stderr.
void ensureRuntimeDir(const std::string& path);

// /tmp/velmoria-runtime-UID for the current user.
std::string defaultRuntimeDir();

}  // namespace velmoria
