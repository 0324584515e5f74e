#include "route_edit/route_document.h"

#include <gtest/gtest.h>

#include "route_writer/route_writer.h"
#include "support/data_files.h"

namespace velmoria::edit {
namespace {

Route fixtureRoute() {
  return readRouteForEditing(test::fixtureFolder().root(), "line_test.dat");
}

std::vector<int32_t> anchors(const RouteDocument& doc, Table t) {
  std::vector<int32_t> a;
  for (size_t i = 0; i < doc.count(t); ++i) a.push_back(doc.anchorFrame(t, i));
  return a;
}

// The entries the order applies to: all, less the announcement table's pinned entry 0.
bool ordered(const RouteDocument& doc, Table t) {
  auto a = anchors(doc, t);
  if (t == Table::Announce && !a.empty()) a.erase(a.begin());
  return std::is_sorted(a.begin(), a.end());
}

void expectSame(const Route& a, const Route& b) {
  const auto diff = routeDifference(a, b);
  EXPECT_FALSE(diff) << *diff;
}

// A document whose table holds at least three entries, in order (the fixture's sign table is
// not sorted, as route files may have it).
RouteDocument orderedDocument(Table t) {
  RouteDocument doc(fixtureRoute());
  while (doc.count(t) > 0) doc.remove(t, 0);
  for (int32_t f : {1000, 3000, 5000, 7000}) doc.add(t, f);
  return doc;
}

class EveryTable : public ::testing::TestWithParam<Table> {};

TEST_P(EveryTable, add_puts_the_entry_at_the_frame_in_order_and_undo_takes_it_away) {
  const Table t = GetParam();
  RouteDocument doc = orderedDocument(t);
  const Route before = doc.route();
  const size_t n = doc.count(t);

  const Edit e = doc.add(t, 4000);
  ASSERT_TRUE(e.index);
  EXPECT_EQ(doc.count(t), n + 1);
  EXPECT_EQ(doc.anchorFrame(t, *e.index), 4000);
  EXPECT_EQ(*e.index, t == Table::Announce ? 2u : 2u);  // after 1000 and 3000
  EXPECT_TRUE(ordered(doc, t));
  const Route after = doc.route();

  doc.apply(e, false);
  expectSame(doc.route(), before);
  doc.apply(e, true);
  expectSame(doc.route(), after);
}

TEST_P(EveryTable, an_entry_moved_past_others_keeps_the_table_ordered_and_its_span) {
  const Table t = GetParam();
  RouteDocument doc = orderedDocument(t);
  const Route before = doc.route();
  // The announcement table's entry 0 stays where it is: move the first ordered one.
  const size_t from = t == Table::Announce ? 1 : 0;
  const int32_t span = doc.endFrame(t, from) - doc.anchorFrame(t, from);

  const auto e = doc.move(t, from, 6000);
  ASSERT_TRUE(e && e->index);
  EXPECT_EQ(doc.anchorFrame(t, *e->index), 6000);
  EXPECT_EQ(doc.endFrame(t, *e->index) - 6000, span);
  EXPECT_EQ(*e->index, 2u);  // now after 5000, before 7000
  EXPECT_TRUE(ordered(doc, t)) << "table " << tableInfo(t).name;

  // Onto another entry's frame: after it.
  const auto onto = doc.move(t, *e->index, 7000);
  ASSERT_TRUE(onto && onto->index);
  EXPECT_EQ(*onto->index, 3u);
  EXPECT_TRUE(ordered(doc, t));

  doc.apply(*onto, false);
  doc.apply(*e, false);
  expectSame(doc.route(), before);
}

TEST_P(EveryTable, delete_takes_the_entry_and_undo_puts_it_back_in_its_place) {
  const Table t = GetParam();
  RouteDocument doc(fixtureRoute());
  if (doc.count(t) < 2) doc.add(t, 2500);
  if (doc.count(t) < 2) doc.add(t, 3500);
  const Route before = doc.route();
  const size_t n = doc.count(t);
  const int32_t second = doc.anchorFrame(t, 1);
  const auto e = doc.remove(t, 0);
  ASSERT_TRUE(e);
  EXPECT_FALSE(e->index);
  EXPECT_EQ(doc.count(t), n - 1);
  EXPECT_EQ(doc.anchorFrame(t, 0), second);
  doc.apply(*e, false);
  expectSame(doc.route(), before);
  EXPECT_FALSE(doc.remove(t, n));  // past the end: nothing
  expectSame(doc.route(), before);
}

TEST_P(EveryTable, edits_saved_read_back_with_the_core_reader_as_shown) {
  const Table t = GetParam();
  RouteDocument doc(fixtureRoute());
  doc.add(t, 1234);
  doc.move(t, 0, 777);
  doc.remove(t, doc.count(t) - 1);
  test::TempDataFolder dir;
  writeRouteFile(dir.root() / "edited.dat", doc.route());
  expectSame(readRouteForEditing(dir.root(), "edited.dat"), doc.route());
}

INSTANTIATE_TEST_SUITE_P(RouteDocument, EveryTable, ::testing::ValuesIn(kTables),
                         [](const auto& info) { return std::string(tableInfo(info.param).name); });

TEST(RouteDocument, the_overrun_announcement_keeps_its_place_before_earlier_frames) {
  RouteDocument doc(fixtureRoute());
  const auto first = doc.route().AnnounceTable[0];
  const Edit e = doc.add(Table::Announce, 0);  // the frame of entry 0 itself
  ASSERT_TRUE(e.index);
  EXPECT_EQ(*e.index, 1u);
  EXPECT_EQ(doc.route().AnnounceTable[0].sound, first.sound);
  const auto m = doc.move(Table::Announce, 0, 20000);  // entry 0 moves, but stays entry 0
  ASSERT_TRUE(m && m->index);
  EXPECT_EQ(*m->index, 0u);
  EXPECT_EQ(doc.route().AnnounceTable[0].frame, 20000);
}

TEST(RouteDocument, a_station_with_its_name_times_and_stopping_mark_is_saved_as_set) {
  RouteDocument doc(fixtureRoute());
  const Edit added = doc.add(Table::Station, 12000);
  ASSERT_TRUE(added.index);
  const size_t i = *added.index;
  EXPECT_EQ(i, 4u);  // between 東雲 (10140) and 港町 (15840)
  // Two minutes after 東雲's departure, the doors closing 10 s later.
  EXPECT_EQ(doc.route().StationTable[i].departureTime, 1094790 + 3600);
  EXPECT_EQ(doc.route().StationTable[i].closeTime, 1094790 + 3600 + 300);
  EXPECT_EQ(doc.route().StationTable[i].zoneStart, 11800);

  ASSERT_TRUE(doc.setValue(Table::Station, i, 0, std::string("新港")));
  ASSERT_TRUE(doc.setValue(Table::Station, i, 6, *parseTime("10:12:30+5")));
  ASSERT_TRUE(doc.setValue(Table::Station, i, 7, *parseTime("10:12:40")));
  // The stopping mark moved past 港町: the station goes after it.
  const auto mark = doc.setValue(Table::Station, i, 3, int32_t{16000});
  ASSERT_TRUE(mark && mark->index);
  EXPECT_EQ(*mark->index, 5u);
  const StationEntry& s = doc.route().StationTable[5];
  EXPECT_EQ(s.name, "新港");
  EXPECT_EQ(s.departureTime, (10 * 3600 + 12 * 60 + 30) * 30 + 5);
  EXPECT_EQ(s.closeTime, (10 * 3600 + 12 * 60 + 40) * 30);
  EXPECT_EQ(s.stopFrame, 16000);

  test::TempDataFolder dir;
  writeRouteFile(dir.root() / "s.dat", doc.route());
  const Route back = readRouteForEditing(dir.root(), "s.dat");
  expectSame(back, doc.route());
  EXPECT_EQ(back.StationTable[5].name, "新港");
}

TEST(RouteDocument, refuses_values_the_file_cannot_hold_and_changes_nothing) {
  RouteDocument doc(fixtureRoute());
  const Route before = doc.route();
  struct Case {
    Table table;
    size_t field;
    Value value;
    const char* reason;
  };
  const Case cases[] = {
      {Table::Station, 0, std::string("北,野"), "カンマ"},
      {Table::Signal, 1, std::string("a\nb"), "改行"},
      {Table::Station, 0, std::string("#駅"), "'#'"},
      {Table::Station, 3, int32_t{-1}, "負の値"},
      {Table::Station, 6, int32_t{-30}, "負の値"},
      {Table::Slope, 0, int32_t{5}, "数で"},
      {Table::SpeedLimit, 0, std::string("60"), "整数"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(doc.setValue(c.table, 0, c.field, c.value, &error));
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
  }
  EXPECT_FALSE(doc.setValue(Table::Station, 99, 0, std::string("x")));
  expectSame(doc.route(), before);
}

TEST(RouteDocument, a_move_before_frame_zero_stops_at_zero) {
  RouteDocument doc(fixtureRoute());
  const auto e = doc.move(Table::Signal, 1, -50);
  ASSERT_TRUE(e && e->index);
  EXPECT_EQ(*e->index, 0u);  // frame 0, before 北野 出発 at 600
  EXPECT_EQ(doc.anchorFrame(Table::Signal, 0), 0);
  for (int32_t f : {doc.route().SignalTable[0].viewFrame, doc.route().SignalTable[0].warningFrame,
                    doc.route().SignalTable[0].checkFrame})
    EXPECT_GE(f, 0);
}

TEST(RouteDocument, gradients_keep_their_four_decimals_through_the_file) {
  RouteDocument doc(fixtureRoute());
  ASSERT_TRUE(doc.setValue(Table::Slope, 0, 0, Fixed::fromRaw(-123456)));
  test::TempDataFolder dir;
  writeRouteFile(dir.root() / "g.dat", doc.route());
  EXPECT_EQ(readRouteForEditing(dir.root(), "g.dat").SlopeTable[0].gradient.raw, -123456);
}

TEST(RouteDocument, route_files_of_a_folder_are_those_with_a_recording_table) {
  const auto names = routeFilesIn(test::fixtureFolder().root());
  EXPECT_EQ(names, std::vector<std::string>{"line_test.dat"});
}

TEST(TimeText, shows_and_reads_times_of_day_in_thirtieths) {
  const struct {
    int32_t t;
    const char* text;
  } cases[] = {{0, "00:00:00"},
               {1080000, "10:00:00"},
               {1080000 + 29, "10:00:00+29"},
               {(23 * 3600 + 59 * 60 + 59) * 30, "23:59:59"},
               {(25 * 3600) * 30, "25:00:00"},
               {kTerminusTime, "terminus"}};
  for (const auto& c : cases) {
    EXPECT_EQ(timeText(c.t), c.text);
    EXPECT_EQ(parseTime(c.text), c.t) << c.text;
  }
  EXPECT_EQ(parseTime("1081200"), 1081200);
  for (const char* bad : {"", "10:00", "10:60:00", "10:00:60", "10:0:00", "10:00:00+30",
                          "10:00:00+", "ten", "-5", "10:00:00:00", "99999999999"})
    EXPECT_FALSE(parseTime(bad)) << bad;
}

}  // namespace
}  // namespace velmoria::edit
