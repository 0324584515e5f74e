#include "media/openal/quiet_probe.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>

namespace velmoria {

namespace {

// ALSA's snd_lib_error_handler_t and snd_lib_error_set_handler. libasound is loaded at run
// time as OpenAL Soft loads it (the same library, so the same handler): Velmoria does not
// link it, and a machine without it has nothing to silence.
using AlsaErrorHandler = void (*)(const char* file, int line, const char* function, int err,
                                  const char* fmt, ...);
using AlsaSetErrorHandler = int (*)(AlsaErrorHandler);

void silentAlsaError(const char*, int, const char*, int, const char*, ...) {}

AlsaSetErrorHandler setAlsaErrorHandler(void* alsa) {
  return alsa ? reinterpret_cast<AlsaSetErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler"))
              : nullptr;
}

}  // namespace

QuietProbe::QuietProbe() {
  if (std::getenv("ALSOFT_LOGLEVEL")) {
    m_finished = true;
    return;
  }
  m_alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
  if (auto set = setAlsaErrorHandler(m_alsa)) set(silentAlsaError);
  std::fflush(stderr);
  m_held = std::tmpfile();
  if (!m_held) return;
  m_savedStderr = dup(STDERR_FILENO);
  if (m_savedStderr < 0 || dup2(fileno(m_held), STDERR_FILENO) < 0) {
    if (m_savedStderr >= 0) close(m_savedStderr);
    m_savedStderr = -1;
    std::fclose(m_held);
    m_held = nullptr;
  }
}

QuietProbe::~QuietProbe() {
  finish(false);
}

void QuietProbe::finish(bool keep) {
  if (m_finished) return;
  m_finished = true;
  // A null handler gives ALSA back its own, which prints: later errors are seen again.
  if (auto set = setAlsaErrorHandler(m_alsa)) set(nullptr);
  if (m_alsa) dlclose(m_alsa);
  m_alsa = nullptr;
  if (!m_held) return;
  std::fflush(stderr);
  dup2(m_savedStderr, STDERR_FILENO);
  close(m_savedStderr);
  m_savedStderr = -1;
  if (keep) {
    std::rewind(m_held);
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, m_held)) > 0)
      std::fwrite(buffer, 1, n, stderr);
  }
  std::fclose(m_held);
  m_held = nullptr;
}

}  // namespace velmoria
