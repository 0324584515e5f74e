#include "desktop/runtime_dir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace velmoria {

PrivateDir preparePrivateDir(const std::string& path, uid_t owner) {
  if (mkdir(path.c_str(), 0700) == 0) {
    // Made here: the umask may have taken bits away, never added any.
    if (chmod(path.c_str(), 0700) != 0) return {false, std::strerror(errno)};
  } else if (errno != EEXIST) {
    return {false, std::strerror(errno)};
  }
  // lstat: a symbolic link planted under that name must not lead us elsewhere. In /tmp (sticky)
  // nobody else can rename or remove a folder that is ours once we have seen it.
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) return {false, std::strerror(errno)};
  if (S_ISLNK(st.st_mode)) return {false, "a symbolic link"};
  if (!S_ISDIR(st.st_mode)) return {false, "not a directory"};
  if (st.st_uid != owner) return {false, "owned by another user"};
  if ((st.st_mode & 07777) != 0700) {
    char mode[32];
    std::snprintf(mode, sizeof mode, "mode %04o, not 0700", st.st_mode & 07777);
    return {false, mode};
  }
  return {true, {}};
}

void ensureRuntimeDir(const std::string& path) {
  if (std::getenv("XDG_RUNTIME_DIR")) return;
  const PrivateDir dir = preparePrivateDir(path, getuid());
  if (dir.usable) {
    setenv("XDG_RUNTIME_DIR", path.c_str(), 1);
    return;
  }
  std::fprintf(stderr, "velmoria: not using %s as the runtime folder: %s\n", path.c_str(),
               dir.problem.c_str());
}

std::string defaultRuntimeDir() {
  return "/tmp/velmoria-runtime-" + std::to_string(getuid());
}

}  // namespace velmoria
