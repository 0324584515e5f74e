#pragma once
// A start-up data error. what() is the exact message the user sees (UTF-8); the desktop program
// shows it in a message box and ends, velmoria-drive prints it on stderr and exits with 2.
#include <stdexcept>
#include <string>

namespace velmoria {

class StartupError : public std::runtime_error {
 public:
  explicit StartupError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace velmoria
