#include "route_writer/route_writer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <random>

#include "route/route_file.h"
#include "support/data_files.h"

namespace velmoria {
namespace {

// Pictures are named, not looked at: the round trip is about the file's text.
class AnyPicture : public ImageLoader {
 public:
  std::optional<ImageInfo> load(const std::filesystem::path&) override {
    return ImageInfo{0, 50, 50};
  }
};

Route readBytes(const std::string& bytes) {
  test::TempDataFolder dir;
  dir.writeBytes("r.dat", bytes);
  AnyPicture pictures;
  ImageLists lists;
  ReaderContext context;
  return readRouteFile(dir.folder(), "r.dat", context, pictures, lists);
}

Route readFixture(const std::string& name) {
  AnyPicture pictures;
  ImageLists lists;
  ReaderContext context;
  return readRouteFile(test::fixtureFolder(), name, context, pictures, lists);
}

void expectRoundTrip(const Route& route) {
  const std::string bytes = routeFileBytes(route);
  if (std::getenv("DUMP_ROUTE")) std::ofstream(std::getenv("DUMP_ROUTE"), std::ios::binary) << bytes;
  const Route back = readBytes(bytes);
  const auto diff = routeDifference(route, back);
  EXPECT_FALSE(diff) << *diff;
}

// --- The committed fixture ---

TEST(RouteWriter, the_fixture_route_reads_back_as_it_was_read) {
  expectRoundTrip(readFixture("line_test.dat"));
}

TEST(RouteWriter, writes_shift_jis_with_crlf_and_the_sections_in_the_readers_order) {
  const std::string bytes = routeFileBytes(readFixture("line_test.dat"));
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') {
      ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at " << i;
    }
  }
  // The line name in CP932: 北 is 0x966B, the wave dash arrives as U+FF5E and leaves as 0x8160.
  EXPECT_NE(bytes.find("\x96\x6B\x96\xEC\x81\x60"), std::string::npos);
  size_t last = 0;
  for (const char* h : {"[LineName]", "[OneMan]", "[SoundData]", "[KankoSound1]", "[Sound]",
                        "[Station]", "[Signal]", "[Slope]", "[SpeedLimit]", "[SignImageList]",
                        "[OtherImageList]", "[SignalImageList]", "[SpeedUnit]", "[Time]"}) {
    const size_t at = bytes.find(std::string(h) + "\r\n");
    ASSERT_NE(at, std::string::npos) << h;
    EXPECT_GT(at + 1, last) << h << " out of order";
    last = at + 1;
  }
}

// --- Generated routes ---

class RouteMaker {
 public:
  explicit RouteMaker(unsigned seed) : m_rng(seed) {}

  Route make() {
    Route r;
    r.LineName = text(0, 30);
    r.StartPos = anyInt();
    r.FrameRate = anyInt();
    r.StafCard = text(0, 20);
    r.StafStill = text(0, 20);
    r.StartTime = anyInt();
    r.Speed_YY = anyInt(), r.Speed_Y = anyInt(), r.Speed_YG = anyInt(), r.Speed_G = anyInt();
    r.DataName = text(0, 12);
    r.Pre_Time = 30 * between(-71582788, 71582788);
    r.OneMan = between(0, 1);
    fill(r.SoundDataList, [&] { return entryText(); });
    if (chance()) {
      for (auto& k : r.KankoSound1) k = chance() ? text(0, 15) : "";
    }
    r.hasKankoSound2 = chance();
    if (r.hasKankoSound2) fill(r.KankoSound2, [&] { return entryText(); });
    fill(r.AnnounceTable, [&] { return AnnounceEntry{anyInt(), anyInt()}; });
    fill(r.SoundCueTable, [&] {
      return SoundCueEntry{anyInt(), anyInt(), anyInt(), anyInt(), anyInt(), anyInt(), anyInt()};
    });
    fill(r.DopplerTable, [&] { return DopplerEntry{anyInt(), anyInt(), anyInt(), anyInt(), 0}; });
    fill(r.TunnelTable, [&] { return TunnelEntry{anyInt(), anyInt()}; });
    fill(r.StationTable, [&] {
      StationEntry s;
      s.name = entryText(false);
      s.type = anyInt(), s.zoneStart = anyInt(), s.stopFrame = anyInt();
      s.arrivalSound = anyInt(), s.departureSound = anyInt();
      s.departureTime = anyInt(), s.closeTime = anyInt();
      return s;
    });
    fill(r.StopSoundTable, [&] { return anyInt(); });
    fill(r.SignalTable, [&] {
      return SignalEntry{anyInt(), text(0, 10, false), anyInt(), anyInt(), anyInt(),
                         anyInt(), anyInt(),           anyInt(), anyInt(), anyInt()};
    });
    fill(r.SlopeTable, [&] { return SlopeEntry{anyFixed(), anyInt(), anyInt()}; });
    fill(r.SignTable, [&] { return SignEntry{anyInt(), anyInt(), anyInt()}; });
    fill(r.SignalKankoTable, [&] { return SignalKankoEntry{anyInt(), anyInt(), anyInt()}; });
    fill(r.StationKankoTable, [&] { return StationKankoEntry{anyInt(), anyInt(), anyInt()}; });
    fill(r.SpeedLimitTable,
         [&] { return SpeedLimitEntry{anyInt(), anyInt(), anyInt(), anyInt(), anyInt(), 0}; });
    fill(r.SpeedCheckTable, [&] { return SpeedCheckEntry{anyInt(), anyInt()}; });
    fill(r.SignImageFiles, [&] { return pictureName(); });
    fill(r.OtherImageFiles, [&] { return pictureName(); });
    for (size_t i = 0; i < r.OtherImageFiles.size(); ++i) r.OtherImageTexts.push_back(text(0, 20));
    fill(r.SignalImageFiles, [&] { return pictureName(); });
    fill(r.SpeedUnitTable, [&] {
      return SpeedUnitEntry{anyInt(), anyInt(), anyInt(), anyInt(), 0};
    });
    fill(r.TimeEventTable, [&] { return TimeEventEntry{anyInt(), anyInt(), anyInt(), anyInt()}; });
    return r;
  }

 private:
  int32_t between(int32_t lo, int32_t hi) {
    return std::uniform_int_distribution<int32_t>(lo, hi)(m_rng);
  }
  bool chance() { return between(0, 1) == 1; }
  int32_t anyInt() {
    switch (between(0, 5)) {
      case 0:
        return std::numeric_limits<int32_t>::min();
      case 1:
        return std::numeric_limits<int32_t>::max();
      case 2:
        return between(-100, 100);
      default:
        return between(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
    }
  }
  Fixed anyFixed() {
    switch (between(0, 4)) {
      case 0:
        return Fixed::fromRaw(std::numeric_limits<int64_t>::min());
      case 1:
        return Fixed::fromRaw(std::numeric_limits<int64_t>::max());
      case 2:
        return Fixed::fromRaw(between(-300000, 300000));
      default:
        return Fixed::fromRaw(std::uniform_int_distribution<int64_t>(
            std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max())(m_rng));
    }
  }
  // Characters CP932 holds as themselves: ASCII, kana, kanji, full-width forms and NEC's
  // circled digits; ',' only where the text is not a comma field.
  std::string text(int lo, int hi, bool commas = true) {
    static const std::vector<std::string> kPieces = {
        "a",  "Z",  "0",  " ",  "\\", "~",  ";",  "#", "[", "]", "_",  ".",  "-", "北",
        "野", "港", "町", "駅", "ー", "・", "～", "①", "ｱ", "ﾟ", "Ａ", "　", "\t"};
    std::string s;
    const int n = between(lo, hi);
    for (int i = 0; i < n; ++i) {
      const std::string& p = kPieces[static_cast<size_t>(between(0, int(kPieces.size()) - 1))];
      s += p;
    }
    if (commas && between(0, 3) == 0) s += ",x";
    return s;
  }
  // A list entry's first line: anything but a leading '#'.
  std::string entryText(bool commas = true) {
    std::string s = text(0, 12, commas);
    if (!s.empty() && s.front() == '#') s.front() = 'x';
    return s;
  }
  std::string pictureName() {
    std::string s = "image\\" + entryText() + ".bmp";
    return s;
  }
  template <typename T, typename F>
  void fill(std::vector<T>& table, F make) {
    const int n = between(0, 2) == 0 ? 0 : between(1, 12);
    for (int i = 0; i < n; ++i) table.push_back(make());
  }
  std::mt19937 m_rng;
};

class GeneratedRoute : public ::testing::TestWithParam<unsigned> {};

TEST_P(GeneratedRoute, reads_back_exactly) {
  for (unsigned k = 0; k < 25; ++k) {
    SCOPED_TRACE("route " + std::to_string(k));
    expectRoundTrip(RouteMaker(GetParam() * 1000 + k).make());
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, GeneratedRoute, ::testing::Range(1u, 9u));

TEST(RouteWriter, full_tables_read_back_exactly) {
  Route r = RouteMaker(7).make();
  r.StationTable.assign(kRouteTableCapacity, StationEntry{"駅", 0, 1, 2, 3, 4, 5, 6, 0});
  r.SpeedUnitTable.assign(kRouteTableCapacity, SpeedUnitEntry{0, 30, 45, 46, 0});
  r.TimeEventTable.assign(kTimeTableCapacity, TimeEventEntry{1, 2, 3, 4});
  r.hasKankoSound2 = true;
  r.KankoSound2.assign(kKankoStoreCapacity - kKankoSound1Count, "sound\\k.wav");
  r.OtherImageFiles.assign(kOtherImageTextsCapacity, "image\\o.bmp");
  r.OtherImageTexts.assign(kOtherImageTextsCapacity, "");
  expectRoundTrip(r);
}

TEST(RouteWriter, values_beginning_with_an_earlier_header_and_empty_texts_read_back) {
  Route r;
  r.DataName = "[LineName] is read before";  // no later header is tested against it
  r.StafStill = "[Speed_GX]";                // not a header at all
  r.KankoSound1.back() = "[DataName]";       // tested before [KankoSound1]
  r.KankoSound1[3] = "[Time]";               // a middle line is never tested
  r.OtherImageFiles = {"image\\a.bmp"};
  r.OtherImageTexts = {"#not an end"};  // the second line of an entry is not tested for '#'
  r.hasKankoSound2 = true;              // present and empty
  r.SoundDataList = {"", "  "};
  expectRoundTrip(r);
}

TEST(RouteWriter, gradients_keep_all_four_places) {
  Route r;
  for (int64_t raw : {0LL, 5LL, -5LL, 100000LL, -35000LL, 12345678LL, -1LL})
    r.SlopeTable.push_back({Fixed::fromRaw(raw), 1, 2});
  const std::string bytes = routeFileBytes(r);
  EXPECT_NE(bytes.find("\r\n0.0005,1,2\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\n-3.5,1,2\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\n10.0,1,2\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\n-0.0001,1,2\r\n"), std::string::npos);
  expectRoundTrip(r);
}

// --- Routes without an exact file form ---

struct Unwritable {
  const char* name;
  std::function<void(Route&)> spoil;
  const char* field;  // named in the message
};

class UnwritableRoute : public ::testing::TestWithParam<Unwritable> {};

TEST_P(UnwritableRoute, is_refused_with_the_field_named) {
  Route r;
  r.StationTable.push_back(StationEntry{"港町", 0, 1, 2, 3, 4, 5, 6, 0});
  r.SignalTable.push_back(SignalEntry{0, "出発", 1, 2, 3, 4, 5, 6, 7, 8});
  r.OtherImageFiles = {"image\\a.bmp"};
  r.OtherImageTexts = {""};
  GetParam().spoil(r);
  try {
    routeFileBytes(r);
    ADD_FAILURE() << "written";
  } catch (const RouteWriteError& e) {
    EXPECT_NE(std::string(e.what()).find(GetParam().field), std::string::npos) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnwritableRoute,
    ::testing::Values(
        Unwritable{"line_break", [](Route& r) { r.LineName = "a\r\nb"; }, "LineName"},
        Unwritable{"not_cp932", [](Route& r) { r.LineName = "駅\xF0\x9F\x9A\x83"; }, "LineName"},
        Unwritable{"wave_dash_comes_back_as_fullwidth_tilde",
                   [](Route& r) { r.DataName = "a\xE3\x80\x9C"; }, "DataName"},
        Unwritable{"replacement_character", [](Route& r) { r.StafCard = "\xEF\xBF\xBD"; },
                   "StafCard"},
        Unwritable{"comma_in_a_station_name", [](Route& r) { r.StationTable[0].name = "港,町"; },
                   "StationTable[0].name"},
        Unwritable{"comma_in_a_signal_label", [](Route& r) { r.SignalTable[0].label = "a,b"; },
                   "SignalTable[0].label"},
        Unwritable{"station_name_beginning_with_a_hash",
                   [](Route& r) { r.StationTable[0].name = "#1"; }, "StationTable[0]"},
        Unwritable{"sound_name_beginning_with_a_hash",
                   [](Route& r) {
                     r.SoundDataList = {"ok.wav", "#x.wav"};
                   },
                   "SoundDataList[1]"},
        Unwritable{"later_header_at_the_start_of_a_value",
                   [](Route& r) { r.LineName = "[Station] 北野"; }, "LineName"},
        Unwritable{"later_header_after_the_staf_lines",
                   [](Route& r) { r.StafStill = "[StartTime]"; }, "StafStill"},
        Unwritable{"later_header_as_the_last_kanko_line",
                   [](Route& r) { r.KankoSound1.back() = "[KankoSound2]"; }, "KankoSound1[17]"},
        Unwritable{"empty_picture_name", [](Route& r) { r.SignalImageFiles = {""}; },
                   "SignalImageFiles[0]"},
        Unwritable{"picture_without_its_sound_line", [](Route& r) { r.OtherImageTexts.clear(); },
                   "OtherImageFiles"},
        Unwritable{"head_start_of_a_part_second", [](Route& r) { r.Pre_Time = 45; }, "Pre_Time"},
        Unwritable{"kanko2_entries_without_the_section",
                   [](Route& r) { r.KankoSound2 = {"k.wav"}; }, "KankoSound2"},
        Unwritable{"station_table_beyond_its_capacity",
                   [](Route& r) { r.StationTable.resize(kRouteTableCapacity + 1); },
                   "StationTable"},
        Unwritable{"time_table_beyond_its_capacity",
                   [](Route& r) { r.TimeEventTable.resize(kTimeTableCapacity + 1); },
                   "TimeEventTable"},
        Unwritable{"kanko2_beyond_the_clip_store",
                   [](Route& r) {
                     r.hasKankoSound2 = true;
                     r.KankoSound2.assign(kKankoStoreCapacity - kKankoSound1Count + 1, "k");
                   },
                   "KankoSound2"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Comparison ---

TEST(RouteDifference, names_the_first_field_that_differs_and_ignores_what_the_set_up_adds) {
  const Route a = readFixture("line_test.dat");
  Route b = a;
  b.fileName = "other.dat";
  b.stationMenu.clear();
  b.StationTable[1].distance = 12345;
  b.SpeedUnitTable[0].endDistance = 99;
  EXPECT_FALSE(routeDifference(a, b));
  b.SpeedUnitTable[3].endSpeed += 1;
  b.StationTable[2].name = "別";
  ASSERT_TRUE(routeDifference(a, b));
  EXPECT_EQ(routeDifference(a, b)->rfind("StationTable[2].name", 0), 0u) << *routeDifference(a, b);
  b.StationTable[2].name = a.StationTable[2].name;
  EXPECT_EQ(routeDifference(a, b)->rfind("SpeedUnitTable[3].endSpeed", 0), 0u);
  b = a;
  b.SlopeTable.pop_back();
  EXPECT_EQ(routeDifference(a, b)->rfind("SlopeTable.size()", 0), 0u);
  b = a;
  b.KankoSound1[5] = "x";
  EXPECT_EQ(routeDifference(a, b)->rfind("KankoSound1[5]", 0), 0u);
}

// --- Writing the file ---

TEST(RouteWriterFile, replaces_the_file_only_with_a_route_that_reads_back) {
  test::TempDataFolder dir;
  const auto file = dir.root() / "line.dat";
  const Route good = readFixture("line_test.dat");
  writeRouteFile(file, good);
  std::ifstream in(file, std::ios::binary);
  const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(written, routeFileBytes(good));

  Route bad = good;
  bad.StationTable[0].name = "a,b";
  EXPECT_THROW(writeRouteFile(file, bad), RouteWriteError);
  std::ifstream again(file, std::ios::binary);
  const std::string after((std::istreambuf_iterator<char>(again)),
                          std::istreambuf_iterator<char>());
  EXPECT_EQ(after, written);
  // Nothing but the file itself is left in the folder.
  int entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.root())) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

TEST(RouteWriterFile, a_folder_that_does_not_exist_is_an_error_not_a_crash) {
  test::TempDataFolder dir;
  EXPECT_THROW(writeRouteFile(dir.root() / "missing" / "line.dat", Route{}), RouteWriteError);
}

}  // namespace
}  // namespace velmoria
