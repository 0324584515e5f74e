#include "frame/section_walker.h"

#include <gtest/gtest.h>

#include "support/data_files.h"

namespace velmoria {
namespace {

using Lines = std::vector<std::string>;

std::string labelled(const ReaderContext& c) {
  return "bad:" + c.label + ":" + c.currentLine;
}

struct HeaderCase {
  const char* line;
  bool matches;
};

class HeaderMatch : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderMatch, compares_as_many_characters_as_the_header_has) {
  EXPECT_EQ(headerMatches(GetParam().line, "[Brake]"), GetParam().matches)
      << '"' << GetParam().line << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Lines, HeaderMatch,
    ::testing::Values(HeaderCase{"[Brake]", true}, HeaderCase{"[Brake] ; 8 steps", true},
                      HeaderCase{"[Brake]Type", true}, HeaderCase{"[brake]", false},
                      HeaderCase{"[BRAKE]", false}, HeaderCase{" [Brake]", false},
                      HeaderCase{"\t[Brake]", false}, HeaderCase{"[Brake", false},
                      HeaderCase{"", false}, HeaderCase{"[BrakeType]", false}));

// A small table: [A] one int, [B] two texts, [L] a list of ints with capacity 3.
struct Walked {
  int32_t a = 0;
  std::vector<std::string> b;
  std::vector<int32_t> list;
  std::vector<std::string> order;  // sections in the order they were read
};

SectionTable smallTable(Walked& out, std::optional<std::string_view> firstLabel = "first") {
  return {
      {firstLabel,
       {{"[A]",
         [&out](SectionWalker& w) {
           out.order.push_back("A");
           out.a = w.readInt();
         }},
        {"[B]",
         [&out](SectionWalker& w) {
           out.order.push_back("B");
           out.b = {w.readText(), w.readText()};
         }}}},
      {"[L]",
       {{"[L]",
         [&out](SectionWalker& w) {
           out.order.push_back("L");
           out.list.clear();
           w.readList(3, [&] { out.list.push_back(w.toInt(w.line())); });
         }}}},
  };
}

Walked walk(const Lines& lines, ReaderContext& context) {
  Walked out;
  SectionWalker w(lines, context, labelled);
  w.walk(smallTable(out));
  return out;
}

TEST(SectionWalkerTest, sections_are_read_in_any_order_and_other_lines_are_skipped) {
  ReaderContext c;
  const Walked out = walk({"; comment", "[L]", "1", "2", "#", "free text", "[B]", "x", " y ", "",
                           "# between", "[A]", "  42"},
                          c);
  EXPECT_EQ(out.order, (Lines{"L", "B", "A"}));
  EXPECT_EQ(out.a, 42);
  EXPECT_EQ(out.b, (Lines{"x", " y "}));
  EXPECT_EQ(out.list, (std::vector<int32_t>{1, 2}));
}

TEST(SectionWalkerTest, a_header_in_other_case_or_after_a_blank_is_not_a_section) {
  ReaderContext c;
  const Walked out = walk({"[a]", "1", " [A]", "2", "[A] the first value", "3"}, c);
  EXPECT_EQ(out.order, (Lines{"A"}));
  EXPECT_EQ(out.a, 3);
}

TEST(SectionWalkerTest, the_last_consumed_line_meets_the_remaining_tests_of_the_pass) {
  // [B]'s second value line is "[L]": [L] is tested later in the same pass and matches it,
  // while [A], tested before [B], never sees the value line "[A]".
  ReaderContext c;
  const Walked out = walk({"[B]", "[A]", "[L]", "5", "#"}, c);
  EXPECT_EQ(out.order, (Lines{"B", "L"}));
  EXPECT_EQ(out.a, 0);
  EXPECT_EQ(out.list, (std::vector<int32_t>{5}));
}

TEST(SectionWalkerTest, the_closing_hash_line_is_consumed_and_ends_only_the_list) {
  ReaderContext c;
  const Walked out = walk({"[L]", "7", "#[A]", "[A]", "9"}, c);
  EXPECT_EQ(out.list, (std::vector<int32_t>{7}));
  EXPECT_EQ(out.a, 9);
  EXPECT_EQ(c.currentLine, "9");
}

TEST(SectionWalkerTest, a_list_cut_off_by_the_end_of_the_file_keeps_its_entries) {
  ReaderContext c;
  const Walked out = walk({"[A]", "1", "[L]", "4", "5"}, c);
  EXPECT_EQ(out.list, (std::vector<int32_t>{4, 5}));
  EXPECT_EQ(out.a, 1);
}

TEST(SectionWalkerTest, an_empty_list_and_a_full_list_are_accepted) {
  ReaderContext c;
  EXPECT_TRUE(walk({"[L]", "#"}, c).list.empty());
  EXPECT_EQ(walk({"[L]", "1", "2", "3", "#"}, c).list, (std::vector<int32_t>{1, 2, 3}));
}

TEST(SectionWalkerTest, a_list_longer_than_its_table_fails_at_the_extra_line) {
  ReaderContext c;
  EXPECT_STARTUP_ERROR(walk({"[L]", "1", "2", "3", "4", "#"}, c), "bad:[L]:4");
}

TEST(SectionWalkerTest, a_value_past_the_end_of_the_file_is_an_empty_line) {
  ReaderContext c;
  const Walked out = walk({"[B]", "only"}, c);
  EXPECT_EQ(out.b, (Lines{"only", ""}));
  EXPECT_STARTUP_ERROR(walk({"[A]"}, c), "bad:first:");
}

struct FailureCase {
  Lines lines;
  std::string message;
};

class SectionWalkerFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(SectionWalkerFailure, names_the_label_of_the_group_and_the_current_line) {
  ReaderContext c;
  EXPECT_STARTUP_ERROR(walk(GetParam().lines, c), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SectionWalkerFailure,
    ::testing::Values(FailureCase{{"[A]", "x1"}, "bad:first:x1"},
                      FailureCase{{"[L]", "1", "two", "#"}, "bad:[L]:two"},
                      // The label is set as the tests pass each group: a bad [A] read after a
                      // list still names the first group, set again at the start of the pass.
                      FailureCase{{"[L]", "#", "[A]", "1.5"}, "bad:first:1.5"}));

TEST(SectionWalkerTest, a_group_without_a_label_keeps_the_label_it_finds) {
  ReaderContext c;
  c.label = "from before";
  Walked out;
  SectionWalker w(Lines{"[A]", "oops"}, c, labelled);
  SectionTable table = smallTable(out, std::nullopt);
  table.pop_back();  // no [L] group, which would set its own label
  EXPECT_STARTUP_ERROR(w.walk(table), "bad:from before:oops");
}

TEST(SectionWalkerTest, the_context_keeps_the_last_label_and_line_after_the_walk) {
  ReaderContext c;
  walk({"[A]", "3", "last line"}, c);
  EXPECT_EQ(c.label, "[L]");
  EXPECT_EQ(c.currentLine, "last line");
}

TEST(SectionWalkerTest, comment_lines_of_a_list_take_no_entry_and_no_capacity) {
  ReaderContext c;
  std::vector<std::string> got;
  SectionWalker w(Lines{"[S]", ";x", "a", ";y", "b", "#"}, c, labelled);
  w.walk({{"[S]", {{"[S]", [&](SectionWalker& s) {
                      s.readList(
                          2, [&] { got.push_back(s.line()); }, ';');
                    }}}}});
  EXPECT_EQ(got, (Lines{"a", "b"}));
}

TEST(SectionWalkerTest, fields_of_the_current_line_convert_or_fail) {
  ReaderContext c;
  int32_t second = 0;
  Fixed first;
  SectionWalker ok(Lines{"[F]", "-2.5,17"}, c, labelled);
  ok.walk({{"[F]", {{"[F]", [&](SectionWalker& w) {
                       w.next();
                       first = w.fieldFixed(1);
                       second = w.fieldInt(2);
                     }}}}});
  EXPECT_EQ(first.raw, -25000);
  EXPECT_EQ(second, 17);

  SectionWalker missing(Lines{"[F]", "1"}, c, labelled);
  EXPECT_STARTUP_ERROR(missing.walk({{"[F]",
                                      {{"[F]",
                                        [&](SectionWalker& w) {
                                          w.next();
                                          second = w.fieldInt(2);
                                        }}}}}),
                       "bad:[F]:1");
}

}  // namespace
}  // namespace velmoria
