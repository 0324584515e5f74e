#include "report/json_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/json_check.h"

namespace velmoria::report {
namespace {

struct NumberCase {
  double value;
  int decimals;
  const char* text;
};
class JsonNumber : public testing::TestWithParam<NumberCase> {};
TEST_P(JsonNumber, is_written_with_its_decimals) {
  EXPECT_EQ(formatNumber(GetParam().value, GetParam().decimals), GetParam().text);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, JsonNumber,
    testing::Values(NumberCase{12.5, 2, "12.50"}, NumberCase{-3.25, 1, "-3.2"},
                    NumberCase{-0.04, 1, "0.0"}, NumberCase{-0.0, 0, "0"},
                    NumberCase{1234567.0, 0, "1234567"}, NumberCase{0.05, 1, "0.1"},
                    NumberCase{std::nan(""), 1, "null"},
                    NumberCase{std::numeric_limits<double>::infinity(), 1, "null"}));

TEST(JsonString, escapes_quotes_backslashes_and_control_characters_only) {
  EXPECT_EQ(quoted("a\"b\\c"), R"("a\"b\\c")");
  EXPECT_EQ(quoted("line\nnext\ttab\r\x01"), R"("line\nnext\ttab\r\u0001")");
  // UTF-8 passes through as it is.
  EXPECT_EQ(quoted("南台～"), "\"南台～\"");
}

TEST(JsonWriter, writes_nested_objects_and_rows_indented) {
  JsonWriter w;
  w.beginObject();
  w.key("score");
  w.value(97.25, 1);
  w.key("terminus");
  w.value(true);
  w.key("stations");
  w.beginArray();
  w.beginObject();
  w.key("name");
  w.value("南台");
  w.key("index");
  w.value(1);
  w.endObject();
  w.endArray();
  w.key("empty");
  w.beginArray();
  w.endArray();
  w.key("rows");
  w.beginArray();
  w.numberRow({1, 2.5}, 1);
  w.endArray();
  w.key("none");
  w.null();
  w.endObject();
  EXPECT_EQ(w.text(), R"({
  "score": 97.2,
  "terminus": true,
  "stations": [
    {
      "name": "南台",
      "index": 1
    }
  ],
  "empty": [],
  "rows": [
    [1.0, 2.5]
  ],
  "none": null
}
)");
  test::JsonCheck check(w.text());
  EXPECT_TRUE(check.ok()) << check.error;
}

}  // namespace
}  // namespace velmoria::report
