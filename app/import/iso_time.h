#pragma once
// Times as GPS files and video containers write them, to seconds since 1970-01-01 UTC.
// Pure functions, any thread.
#include <cstdint>
#include <optional>
#include <string_view>

namespace velmoria::import {

// ISO 8601 / RFC 3339 date and time: "2024-05-18T09:30:00Z", "2024-05-18 09:30:00.25",
// "2024-05-18T09:30:00+09:00", "20240518T093000Z". A time without a zone is taken as UTC.
std::optional<double> parseIsoTime(std::string_view text);

// Days since 1970-01-01 of a proleptic Gregorian date (negative before it).
int64_t daysFromCivil(int year, int month, int day);

}  // namespace velmoria::import
