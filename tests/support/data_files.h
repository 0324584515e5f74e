#pragma once
// Test helpers for the data-file readers: a temporary data folder that writes files the way
// users do (Shift-JIS, CR LF), tiny BMPs, and a matcher for start-up errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "frame/data_folder.h"
#include "frame/startup_error.h"

namespace velmoria::test {

// UTF-8 text to CP932 bytes (iconv); throws when a character has no CP932 form.
std::string toCp932(std::string_view utf8);

// A fresh folder under the system's temp folder, removed with everything in it at the end.
class TempDataFolder {
 public:
  TempDataFolder();
  ~TempDataFolder();
  TempDataFolder(const TempDataFolder&) = delete;
  TempDataFolder& operator=(const TempDataFolder&) = delete;

  const std::filesystem::path& root() const { return m_root; }
  DataFolder folder() const { return DataFolder(m_root); }

  // Writes `utf8` as CP932, each '\n' becoming CR LF. `name` may hold '/' for sub-folders.
  void write(const std::string& name, std::string_view utf8);
  // Writes bytes unchanged.
  void writeBytes(const std::string& name, std::string_view bytes);
  // A width x height 24-bit BMP (enough for the header-reading image loader).
  void writeBmp(const std::string& name, int width, int height);
  // A WAV of ms milliseconds of silence (8-bit mono, 8000 Hz).
  void writeWav(const std::string& name, int ms);

 private:
  std::filesystem::path m_root;
};

// The folder of the committed fixtures (tests/data).
DataFolder fixtureFolder();

}  // namespace velmoria::test

// Runs `statement` and expects a StartupError whose message is exactly `message` (UTF-8).
#define EXPECT_STARTUP_ERROR(statement, message)                              \
  do {                                                                        \
    try {                                                                     \
      statement;                                                              \
      ADD_FAILURE() << "expected the start-up error \"" << (message) << "\""; \
    } catch (const ::velmoria::StartupError& error_) {                        \
      EXPECT_EQ(std::string(error_.what()), std::string(message));            \
    }                                                                         \
  } while (false)
