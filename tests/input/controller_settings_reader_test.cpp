#include "input/controller_settings_reader.h"

#include <gtest/gtest.h>

#include "support/data_files.h"
#include "support/map_key_value_store.h"

namespace velmoria {
namespace {

ControllerCodeTable readCodes(const std::string& text) {
  test::TempDataFolder dir;
  dir.write("mascon.dat", text);
  return readControllerCodes(dir.folder(), "mascon.dat");
}

std::string numberedLines(int n) {
  std::string text;
  for (int i = 1; i <= n; ++i) text += "C" + std::to_string(i) + "\n";
  return text;
}

TEST(ControllerCodesTest, the_fixture_holds_26_codes_in_file_order) {
  const auto codes = readControllerCodes(test::fixtureFolder(), kControllerCodesFileName);
  ASSERT_EQ(codes.size(), 26u);
  EXPECT_EQ(codes[0], "VMP01");
  EXPECT_EQ(codes[6], "VMN00");
  EXPECT_EQ(codes[15], "VMBEB");
  EXPECT_EQ(codes[25], "VMX04");
}

struct CodesCase {
  const char* what;
  std::string text;
  size_t count;
};

class ControllerCodes : public ::testing::TestWithParam<CodesCase> {};

TEST_P(ControllerCodes, keeps_lines_up_to_the_first_hash_line_and_at_most_26) {
  EXPECT_EQ(readCodes(GetParam().text).size(), GetParam().count) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Files, ControllerCodes,
    ::testing::Values(CodesCase{"a first line beginning with '#'", "#\nC1\n", 0},
                      CodesCase{"22 codes, '#', more text", numberedLines(22) + "# end\nX\nY\n",
                                22},
                      CodesCase{"exactly 26", numberedLines(26), 26},
                      CodesCase{"more than 26 lines are cut", numberedLines(40), 26},
                      CodesCase{"an empty file", "", 0},
                      CodesCase{"'#' not first on its line ends nothing", "C1\n #\nC3\n", 3}));

TEST(ControllerCodesTest, lines_are_kept_whole) {
  const auto codes = readCodes("TSA50 \n\nTSB40\n");
  EXPECT_EQ(codes, (ControllerCodeTable{"TSA50 ", "", "TSB40"}));
}

TEST(ControllerCodesTest, a_missing_table_names_the_file) {
  test::TempDataFolder dir;
  EXPECT_STARTUP_ERROR(readControllerCodes(dir.folder(), "mascon.dat"),
                       "mascon.datが見つかりません");
}

// --- Button map ---

TEST(ButtonMapTest, reads_all_sixteen_values_in_order) {
  test::MapKeyValueStore store;
  for (size_t i = 0; i < ButtonMap::kNames.size(); ++i)
    store.values[ButtonMap::kNames[i]] = std::to_string(100 + i);
  ButtonMap map;
  readButtonMap(&store, map);
  EXPECT_EQ(map.values[0], 100);   // P0
  EXPECT_EQ(map.values[6], 106);   // B0
  EXPECT_EQ(map.values[15], 115);  // EB
}

TEST(ButtonMapTest, stops_at_the_first_missing_value) {
  // P0..P3 only: P4 onwards, every B value and EB stay as they were.
  test::MapKeyValueStore store;
  store.values = {{"P0", "1"}, {"P1", "2"}, {"P2", "3"}, {"P3", "4"}, {"B0", "9"}};
  ButtonMap map;
  readButtonMap(&store, map);
  EXPECT_EQ(map.values[3], 4);
  EXPECT_EQ(map.values[4], 0);
  EXPECT_EQ(map.values[6], 0);
  EXPECT_EQ(map.values[15], 0);
}

TEST(ButtonMapTest, stops_at_the_first_value_that_is_not_an_integer) {
  test::MapKeyValueStore store;
  store.values = {{"P0", "7"}, {"P1", "seven"}, {"P2", "3"}};
  ButtonMap map;
  map.values.fill(-5);
  readButtonMap(&store, map);
  EXPECT_EQ(map.values[0], 7);
  EXPECT_EQ(map.values[1], -5);
  EXPECT_EQ(map.values[2], -5);
}

TEST(ButtonMapTest, without_a_store_nothing_changes) {
  ButtonMap map;
  map.values.fill(3);
  readButtonMap(nullptr, map);
  EXPECT_EQ(map.values[15], 3);
}

}  // namespace
}  // namespace velmoria
