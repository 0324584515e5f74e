#pragma once
// The per-tick trace of a run: a CSV file (RFC 4180 quoting, LF line ends, UTF-8) with a header
// row and one row after every 100 ms tick. velmoria-drive writes it, and the desktop program's
// --trace option writes the same file. Called on the thread that runs the tick, after the tick;
// the writer only reads the run. Fixed-point values are printed from their stored integer with
// four decimals, extended reals rounded to three decimals, flags as 0 or 1.
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "frame/fixed.h"

namespace velmoria {

class Run;

// The columns, in order; the first 41 are fixed, more may be added at the end.
const std::string& traceHeader();

// "-12.3456" from the stored integer -123456, without floating point.
std::string formatFixed(Fixed value);
// Three decimals, rounded to nearest; never "-0.000".
std::string formatExtended(long double value);
// The field as it stands, or quoted (quotes doubled) when it holds a comma, quote, CR or LF.
std::string csvField(std::string_view text);

class TraceWriter {
 public:
  // The stream must outlive the writer.
  explicit TraceWriter(std::ostream& out) : m_out(out) {}
  void writeHeader();
  // One row for the state after the tick that ended at virtual (or wall) time tMs.
  void writeRow(const Run& run, int64_t tMs);

 private:
  std::ostream& m_out;
  std::string m_line;  // reused: a row allocates nothing once warm
};

}  // namespace velmoria
