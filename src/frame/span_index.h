#pragma once
// Which entries of a table can matter at a place on the line. The run loop asks many tables
// every tick "which entries cover this frame (or distance)?"; with several hundred entries per
// table a full scan of each costs more than the rest of the tick. The index answers with a
// short list of candidates in table order, so a loop over them keeps the table's order and
// its own tests, and only skips entries that cannot match.
#include <cstdint>
#include <vector>

namespace velmoria {

class SpanIndex {
 public:
  // Where an entry can matter, both ends included. lo > hi: nowhere.
  struct Span {
    int64_t lo = 0;
    int64_t hi = -1;
  };
  static constexpr int64_t kBelowAll = INT64_MIN;
  static constexpr int64_t kAboveAll = INT64_MAX;

  SpanIndex() = default;
  explicit SpanIndex(const std::vector<Span>& spans, int64_t maxBuckets = 1024);

  // The entries whose span may contain x, ascending. Every entry whose span contains x is
  // there; a few others may be.
  const std::vector<uint32_t>& at(int64_t x) const;
  // The same for a place measured in a fractional unit: its floor. NaN matches nothing.
  const std::vector<uint32_t>& at(long double x) const;

 private:
  // Bucket 0 holds what lies below m_origin, the last bucket what lies at or beyond the end.
  int64_t m_origin = 0;
  int64_t m_width = 1;
  int64_t m_inner = 0;  // buckets between the two outer ones
  std::vector<std::vector<uint32_t>> m_buckets;
};

// The span [floor(lo), ceil(hi)] of a fractional range, widened by one on each side so that
// rounding never loses an entry; the span is kept far from the int64 limits. NaN: nowhere.
SpanIndex::Span spanAround(long double lo, long double hi);

// The union of two ascending candidate lists, ascending, in out.
void mergeCandidates(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b,
                     std::vector<uint32_t>& out);

}  // namespace velmoria
