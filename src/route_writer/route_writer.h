#pragma once
// Writes a Route back to a route file that the core's reader (route/route_file.h) reads as
// exactly that Route: Shift-JIS (CP932) with CR LF, every section in the order of the reader's
// table. Used by velmoria-import and meant for a route editor; standard C++ and iconv only.
// Pure functions of their arguments; any thread.
//
// What is written is what the file holds: the settings, the sound lists, the tables and the
// picture names. The distances the run's set-up adds, Route::fileName and the station jump
// entries are not file contents and are neither written nor compared.
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "route/route.h"

namespace velmoria {

// A route with no exact file form, or a file that cannot be written. what() names the field
// ("StationTable[3].name") and the reason, in English.
class RouteWriteError : public std::runtime_error {
 public:
  explicit RouteWriteError(const std::string& message) : std::runtime_error(message) {}
};

// The bytes of the route file. Throws RouteWriteError for a value the reader would read back
// differently: a line break in a text, a character CP932 does not hold (or holds only as
// another one, such as U+301C WAVE DASH, which comes back as U+FF5E), a comma in a text field,
// an entry beginning with '#', a value line beginning with a header the reader tests after it,
// an empty picture name, a table beyond its capacity, a [Pre_Time] that is no whole number of
// seconds, [KankoSound2] entries without the section, a board picture without its sound line.
std::string routeFileBytes(const Route& route);

// Writes routeFileBytes(route) to `file` through a temporary file beside it, reads that back
// with the core's reader and replaces `file` only when the Route read equals `route`; an
// existing file is left as it was on any failure. Throws RouteWriteError.
void writeRouteFile(const std::filesystem::path& file, const Route& route);

// The first file field in which a and b differ, named as in RouteWriteError
// ("SpeedUnitTable[12].endSpeed"), or nullopt when their file contents are equal.
std::optional<std::string> routeDifference(const Route& a, const Route& b);

}  // namespace velmoria
