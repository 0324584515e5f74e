#include "frame/span_index.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace velmoria {

namespace {

// Far inside the int64 range, so that widening a span or taking a width never overflows.
constexpr int64_t kFar = INT64_C(1) << 60;

int64_t clampFar(long double x) {
  if (x <= -static_cast<long double>(kFar)) return -kFar;
  if (x >= static_cast<long double>(kFar)) return kFar;
  return static_cast<int64_t>(x);
}

const std::vector<uint32_t>& none() {
  static const std::vector<uint32_t> empty;
  return empty;
}

}  // namespace

SpanIndex::SpanIndex(const std::vector<Span>& spans, int64_t maxBuckets) {
  // The inner buckets cover the finite ends of all spans; the outer two catch the rest.
  bool any = false;
  int64_t low = 0, high = 0;
  for (const Span& s : spans) {
    if (s.lo > s.hi) continue;
    for (int64_t end : {s.lo, s.hi}) {
      if (end == kBelowAll || end == kAboveAll) continue;
      low = any ? std::min(low, end) : end;
      high = any ? std::max(high, end) : end;
      any = true;
    }
  }
  if (any) {
    low = std::clamp(low, -kFar, kFar);
    high = std::clamp(high, -kFar, kFar);
    const int64_t range = high - low + 1;
    const int64_t buckets = std::max<int64_t>(1, maxBuckets);
    m_origin = low;
    m_width = (range + buckets - 1) / buckets;
    m_inner = (range + m_width - 1) / m_width;
  }
  m_buckets.resize(static_cast<size_t>(m_inner + 2));
  for (size_t i = 0; i < spans.size(); ++i) {
    const Span& s = spans[i];
    if (s.lo > s.hi) continue;
    const auto bucketOf = [&](int64_t x) -> int64_t {
      if (x < m_origin) return 0;
      if (x >= m_origin + m_inner * m_width) return m_inner + 1;
      return 1 + (x - m_origin) / m_width;
    };
    const int64_t first = bucketOf(std::max(s.lo, -kFar - 1));
    const int64_t last = bucketOf(std::min(s.hi, kFar + 1));
    for (int64_t b = first; b <= last; ++b)
      m_buckets[static_cast<size_t>(b)].push_back(static_cast<uint32_t>(i));
  }
}

const std::vector<uint32_t>& SpanIndex::at(int64_t x) const {
  if (m_buckets.empty()) return none();
  if (x < m_origin) return m_buckets.front();
  const int64_t offset = x - m_origin;  // x >= m_origin > -2^60: no overflow
  if (offset >= m_inner * m_width) return m_buckets.back();
  return m_buckets[static_cast<size_t>(1 + offset / m_width)];
}

const std::vector<uint32_t>& SpanIndex::at(long double x) const {
  if (std::isnan(x)) return none();
  if (x <= -static_cast<long double>(kFar)) return at(kBelowAll);
  if (x >= static_cast<long double>(kFar)) return at(kAboveAll);
  return at(static_cast<int64_t>(std::floor(x)));
}

SpanIndex::Span spanAround(long double lo, long double hi) {
  if (std::isnan(lo) || std::isnan(hi) || lo > hi) return {};
  return {clampFar(std::floor(lo)) - 1, clampFar(std::ceil(hi)) + 1};
}

void mergeCandidates(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b,
                     std::vector<uint32_t>& out) {
  out.clear();
  std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
}

}  // namespace velmoria
