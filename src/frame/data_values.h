#pragma once
// Conversion of data-file values (one whole line, or one comma field) to numbers.
// Pure functions, any thread. nullopt means "does not convert": the reader then fails with its
// file's message.
//
// Blanks: a number may be preceded by blanks (spaces and tabs), as the original program
// accepted; nothing may follow it, not even a blank. '.' is the decimal point whatever the
// process locale says.
#include <cstdint>
#include <optional>
#include <string_view>

#include "frame/fixed.h"

namespace velmoria {

// A signed decimal integer that fits 32 bits: [blanks] [+|-] digits.
std::optional<int32_t> parseInt32(std::string_view text);

// A decimal real: [blanks] [+|-] digits [. digits] [(e|E) [+|-] digits]; digits may stand on
// one side of the point only (".5", "5."). Values beyond the type's range do not convert.
std::optional<double> parseReal64(std::string_view text);
std::optional<long double> parseReal80(std::string_view text);

// The same syntax as a real, converted exactly in decimal to value x 10 000: digits beyond the
// fourth decimal place are rounded to the nearest, ties to even. Values whose scaled form does
// not fit 64 bits do not convert.
std::optional<Fixed> parseFixed(std::string_view text);

}  // namespace velmoria
