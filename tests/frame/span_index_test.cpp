#include "frame/span_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace velmoria {
namespace {

using Span = SpanIndex::Span;

bool contains(const Span& s, int64_t x) {
  return s.lo <= x && x <= s.hi;
}

// Every entry whose span holds x must be a candidate, and the candidates must be ascending and
// distinct: the run loop relies on both to keep each table's order.
void expectCovers(const SpanIndex& index, const std::vector<Span>& spans, int64_t x) {
  const std::vector<uint32_t>& got = index.at(x);
  ASSERT_TRUE(std::is_sorted(got.begin(), got.end())) << "at " << x;
  ASSERT_EQ(std::adjacent_find(got.begin(), got.end()), got.end()) << "at " << x;
  for (size_t i = 0; i < spans.size(); ++i) {
    if (!contains(spans[i], x)) continue;
    ASSERT_TRUE(std::binary_search(got.begin(), got.end(), static_cast<uint32_t>(i)))
        << "entry " << i << " missing at " << x;
  }
}

TEST(SpanIndex, finds_every_entry_of_random_tables_at_every_place) {
  std::mt19937 rng(7);
  for (int round = 0; round < 20; ++round) {
    std::uniform_int_distribution<int64_t> place(-500, 20000);
    std::uniform_int_distribution<int64_t> length(-50, 3000);  // some spans are empty
    std::vector<Span> spans;
    const int entries = 1 + round * 13;
    for (int i = 0; i < entries; ++i) {
      const int64_t lo = place(rng);
      spans.push_back({lo, lo + length(rng)});
    }
    const SpanIndex index(spans, 1 + round * 7);  // from one bucket upwards
    for (int64_t x = -700; x <= 23500; x += 37) expectCovers(index, spans, x);
    for (const Span& s : spans)
      for (int64_t x : {s.lo - 1, s.lo, s.hi, s.hi + 1}) expectCovers(index, spans, x);
  }
}

TEST(SpanIndex, narrows_the_search_on_a_long_line) {
  std::vector<Span> spans;
  for (int64_t i = 0; i < 500; ++i) spans.push_back({i * 4000, i * 4000 + 1000});
  const SpanIndex index(spans);
  size_t most = 0;
  for (int64_t x = 0; x < 2'000'000; x += 500) most = std::max(most, index.at(x).size());
  EXPECT_LE(most, 3u);
}

TEST(SpanIndex, open_ended_spans_reach_beyond_every_other_entry) {
  const std::vector<Span> spans = {
      {100, 200}, {300, SpanIndex::kAboveAll}, {SpanIndex::kBelowAll, 50}, {10, 5}};
  const SpanIndex index(spans);
  for (int64_t x : {std::numeric_limits<int64_t>::min(), int64_t{-1'000'000'000}, int64_t{0},
                    int64_t{50}, int64_t{150}, int64_t{299}, int64_t{300},
                    int64_t{1'000'000'000'000}, std::numeric_limits<int64_t>::max()})
    expectCovers(index, spans, x);
  const auto& far = index.at(std::numeric_limits<int64_t>::max());
  EXPECT_EQ(std::count(far.begin(), far.end(), 3u), 0) << "an empty span matches nowhere";
}

TEST(SpanIndex, tables_without_entries_or_places_match_nothing) {
  EXPECT_TRUE(SpanIndex().at(int64_t{5}).empty());
  EXPECT_TRUE(SpanIndex(std::vector<Span>{}).at(int64_t{5}).empty());
  EXPECT_TRUE(SpanIndex(std::vector<Span>{{4, 3}, {}}).at(int64_t{3}).empty());
}

TEST(SpanIndex, fractional_places_use_their_floor_and_nan_matches_nothing) {
  const std::vector<Span> spans = {spanAround(1000.25L, 1999.75L)};
  const SpanIndex index(spans);
  for (long double x : {1000.25L, 1000.5L, 1999.75L, 1500.0L})
    EXPECT_EQ(index.at(x).size(), 1u) << static_cast<double>(x);
  EXPECT_TRUE(index.at(std::numeric_limits<long double>::quiet_NaN()).empty());
  // Places beyond the int64 range stay defined.
  EXPECT_NO_THROW(index.at(std::numeric_limits<long double>::infinity()));
  EXPECT_NO_THROW(index.at(-1e30L));
}

TEST(SpanIndex, spans_around_fractional_ranges_keep_their_ends) {
  const Span s = spanAround(-0.5L, 2.5L);
  EXPECT_LE(s.lo, -1);
  EXPECT_GE(s.hi, 3);
  const Span huge = spanAround(-1e300L, 1e300L);
  EXPECT_LT(huge.lo, 0);
  EXPECT_GT(huge.hi, 0);
  const Span nan = spanAround(std::nanl(""), 1);
  EXPECT_GT(nan.lo, nan.hi);
  const Span reversed = spanAround(5, 4);
  EXPECT_GT(reversed.lo, reversed.hi);
}

TEST(SpanIndex, merged_candidates_are_ascending_and_distinct) {
  std::vector<uint32_t> out = {99};
  mergeCandidates({1, 4, 9}, {0, 4, 10}, out);
  EXPECT_EQ(out, (std::vector<uint32_t>{0, 1, 4, 9, 10}));
  mergeCandidates({}, {}, out);
  EXPECT_TRUE(out.empty());
}

}  // namespace
}  // namespace velmoria
