#pragma once
// Data files as text: Shift-JIS (code page 932) decoded to UTF-8, split into lines.
// Called by the data-file readers on the UI thread during start-up; results are owned by the
// caller. Lines end at CR LF, LF or a lone CR; the end-of-line marker is not part of the line.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmoria {

// CP932 bytes to UTF-8. A byte sequence that is not CP932 becomes U+FFFD (one per offending
// byte) and decoding goes on after it, so any input yields a defined text.
std::string decodeCp932(std::string_view bytes);

// Splits raw bytes into lines as described above. A final line without a line end is kept; a
// file that ends with a line end has no empty line after it.
std::vector<std::string> splitLines(std::string_view bytes);

// The decoded lines of a file, or nullopt when it cannot be opened or read.
std::optional<std::vector<std::string>> readTextLines(const std::filesystem::path& file);

}  // namespace velmoria
