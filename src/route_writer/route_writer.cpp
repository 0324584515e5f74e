#include "route_writer/route_writer.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <random>
#include <system_error>

#include "frame/section_walker.h"
#include "frame/startup_error.h"
#include "frame/text.h"
#include "route/route_file.h"

namespace velmoria {

namespace {

// The reader's table, in the order it tests the headers on every line.
constexpr std::array<std::string_view, 33> kHeaders = {
    "[LineName]",        "[StartPos]",   "[FrameRate]",  "[Staf]",          "[StartTime]",
    "[Speed_YY]",        "[Speed_Y]",    "[Speed_YG]",   "[Speed_G]",       "[DataName]",
    "[Pre_Time]",        "[OneMan]",     "[SoundData]",  "[Announce]",      "[KankoSound1]",
    "[KankoSound2]",     "[Sound]",      "[Doppler]",    "[Tunnel]",        "[Station]",
    "[StopSound]",       "[Signal]",     "[Slope]",      "[Sign]",          "[SignalKanko]",
    "[StationKanko]",    "[SpeedLimit]", "[SpeedCheck]", "[SignImageList]", "[OtherImageList]",
    "[SignalImageList]", "[SpeedUnit]",  "[Time]"};

size_t headerPosition(std::string_view header) {
  return static_cast<size_t>(std::find(kHeaders.begin(), kHeaders.end(), header) -
                             kHeaders.begin());
}

[[noreturn]] void reject(const std::string& what, const std::string& reason) {
  throw RouteWriteError(what + ": " + reason);
}

std::string indexed(const char* table, size_t i, const char* field = nullptr) {
  std::string s = std::string(table) + "[" + std::to_string(i) + "]";
  if (field) s += std::string(".") + field;
  return s;
}

// UTF-8 lines to CP932, each checked to decode back to itself: CP932 holds some characters
// only as a neighbour (U+301C WAVE DASH is written as 0x8160, which reads as U+FF5E).
class Cp932Encoder {
 public:
  Cp932Encoder() : m_cd(iconv_open("CP932", "UTF-8")) {
    if (m_cd == reinterpret_cast<iconv_t>(-1))
      throw RouteWriteError("iconv: UTF-8 to CP932 is not available");
  }
  ~Cp932Encoder() { iconv_close(m_cd); }
  Cp932Encoder(const Cp932Encoder&) = delete;
  Cp932Encoder& operator=(const Cp932Encoder&) = delete;

  std::string encode(const std::string& utf8, const std::string& what) {
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return (c & 0x80) == 0; }))
      return utf8;  // ASCII is the same in CP932
    std::string out(utf8.size() * 2 + 8, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* o = out.data();
    size_t outLeft = out.size();
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(m_cd, &in, &inLeft, &o, &outLeft) == static_cast<size_t>(-1) ||
        iconv(m_cd, nullptr, nullptr, &o, &outLeft) == static_cast<size_t>(-1))
      reject(what, "\"" + utf8 + "\" has a character that Shift-JIS (CP932) cannot hold");
    out.resize(out.size() - outLeft);
    if (decodeCp932(out) != utf8)
      reject(what, "\"" + utf8 + "\" would read back as \"" + decodeCp932(out) + "\"");
    return out;
  }

 private:
  iconv_t m_cd;
};

std::string fixedText(Fixed f) {
  const int64_t raw = f.raw;
  // The magnitude without overflow at INT64_MIN.
  const uint64_t mag = raw < 0 ? uint64_t(0) - static_cast<uint64_t>(raw) : uint64_t(raw);
  std::string frac = std::to_string(mag % Fixed::kScale);
  frac.insert(0, 4 - frac.size(), '0');
  while (frac.size() > 1 && frac.back() == '0') frac.pop_back();
  return (raw < 0 ? "-" : "") + std::to_string(mag / Fixed::kScale) + "." + frac;
}

class RouteText {
 public:
  // One line of the file. `what` names the value for an error.
  void line(const std::string& utf8, const std::string& what) {
    if (utf8.find_first_of("\r\n") != std::string::npos)
      reject(what, "a text cannot hold a line break");
    m_bytes += m_encoder.encode(utf8, what);
    m_bytes += "\r\n";
  }
  void header(std::string_view h) { line(std::string(h), std::string(h)); }
  void end() { m_bytes += "#\r\n"; }

  // A text alone on its line, consumed by the section at `position`: the reader tests every
  // header after that one against it in the same pass.
  void valueLine(const std::string& text, size_t position, const std::string& what) {
    for (size_t h = position + 1; h < kHeaders.size(); ++h)
      if (text.compare(0, kHeaders[h].size(), kHeaders[h]) == 0)
        reject(what, "a value line cannot begin with " + std::string(kHeaders[h]));
    line(text, what);
  }
  // The first line of a list entry: '#' would end the list, `comment` would skip the line.
  void entryLine(const std::string& text, const std::string& what, char comment = '\0') {
    if (!text.empty() && text.front() == '#') reject(what, "an entry cannot begin with '#'");
    if (comment && !text.empty() && text.front() == comment)
      reject(what, std::string("an entry of this list cannot begin with '") + comment + "'");
    line(text, what);
  }
  // Comma fields; texts among them are checked by field().
  void csv(std::initializer_list<std::string> fields, const std::string& what) {
    std::string s;
    bool first = true;
    for (const auto& f : fields) {
      if (!first) s += ',';
      s += f;
      first = false;
    }
    entryLine(s, what);
  }

  const std::string& bytes() const { return m_bytes; }

 private:
  std::string m_bytes;
  Cp932Encoder m_encoder;
};

std::string n(int32_t v) {
  return std::to_string(v);
}

// A text field of a comma line: the reader splits at every comma.
std::string field(const std::string& text, const std::string& what) {
  if (text.find(',') != std::string::npos) reject(what, "a comma cannot stand in a field");
  return text;
}

template <typename T>
void capacity(const std::vector<T>& table, size_t cap, const char* what) {
  if (table.size() > cap)
    reject(what, std::to_string(table.size()) + " entries, more than the " + std::to_string(cap) +
                     " the table holds");
}

void writeSettings(RouteText& t, const Route& r) {
  const auto intValue = [&](std::string_view h, int32_t v) {
    t.header(h);
    t.line(n(v), std::string(h));
  };
  t.header("[LineName]");
  t.valueLine(r.LineName, headerPosition("[LineName]"), "LineName");
  intValue("[StartPos]", r.StartPos);
  intValue("[FrameRate]", r.FrameRate);
  t.header("[Staf]");
  t.line(r.StafCard, "StafCard");  // tested only after the second line is read
  t.valueLine(r.StafStill, headerPosition("[Staf]"), "StafStill");
  intValue("[StartTime]", r.StartTime);
  intValue("[Speed_YY]", r.Speed_YY);
  intValue("[Speed_Y]", r.Speed_Y);
  intValue("[Speed_YG]", r.Speed_YG);
  intValue("[Speed_G]", r.Speed_G);
  t.header("[DataName]");
  t.valueLine(r.DataName, headerPosition("[DataName]"), "DataName");
  if (r.Pre_Time % 30 != 0)
    reject("Pre_Time", "held in frames, it must be a whole number of seconds x 30");
  intValue("[Pre_Time]", r.Pre_Time / 30);
  intValue("[OneMan]", r.OneMan);
}

void writeSounds(RouteText& t, const Route& r) {
  capacity(r.SoundDataList, kRouteTableCapacity, "SoundDataList");
  t.header("[SoundData]");
  for (size_t i = 0; i < r.SoundDataList.size(); ++i)
    t.entryLine(r.SoundDataList[i], indexed("SoundDataList", i));
  t.end();

  capacity(r.AnnounceTable, kRouteTableCapacity, "AnnounceTable");
  t.header("[Announce]");
  for (size_t i = 0; i < r.AnnounceTable.size(); ++i) {
    const auto& a = r.AnnounceTable[i];
    t.csv({n(a.sound), n(a.frame)}, indexed("AnnounceTable", i));
  }
  t.end();

  // Absent, the section leaves all 18 empty: written only when one is not.
  if (std::any_of(r.KankoSound1.begin(), r.KankoSound1.end(),
                  [](const std::string& s) { return !s.empty(); })) {
    t.header("[KankoSound1]");
    for (size_t i = 0; i + 1 < r.KankoSound1.size(); ++i)
      t.line(r.KankoSound1[i], indexed("KankoSound1", i));
    t.valueLine(r.KankoSound1.back(), headerPosition("[KankoSound1]"),
                indexed("KankoSound1", r.KankoSound1.size() - 1));
  }
  if (!r.hasKankoSound2 && !r.KankoSound2.empty())
    reject("KankoSound2", "entries without the section (hasKankoSound2 is false)");
  if (r.hasKankoSound2) {
    capacity(r.KankoSound2, kKankoStoreCapacity - kKankoSound1Count, "KankoSound2");
    t.header("[KankoSound2]");
    for (size_t i = 0; i < r.KankoSound2.size(); ++i)
      t.entryLine(r.KankoSound2[i], indexed("KankoSound2", i));
    t.end();
  }

  capacity(r.SoundCueTable, kRouteTableCapacity, "SoundCueTable");
  t.header("[Sound]");
  for (size_t i = 0; i < r.SoundCueTable.size(); ++i) {
    const auto& s = r.SoundCueTable[i];
    t.csv({n(s.sound), n(s.startFrame), n(s.endFrame), n(s.referenceSpeed), n(s.type),
           n(s.followSpeed), n(s.volumeFollows)},
          indexed("SoundCueTable", i));
  }
  t.end();

  capacity(r.DopplerTable, kRouteTableCapacity, "DopplerTable");
  t.header("[Doppler]");
  for (size_t i = 0; i < r.DopplerTable.size(); ++i) {
    const auto& d = r.DopplerTable[i];
    t.csv({n(d.sound), n(d.frame), n(d.radius), n(d.unused)}, indexed("DopplerTable", i));
  }
  t.end();
}

void writeTables(RouteText& t, const Route& r) {
  capacity(r.TunnelTable, kRouteTableCapacity, "TunnelTable");
  t.header("[Tunnel]");
  for (size_t i = 0; i < r.TunnelTable.size(); ++i) {
    t.entryLine(n(r.TunnelTable[i].startFrame), indexed("TunnelTable", i, "startFrame"));
    t.line(n(r.TunnelTable[i].endFrame), indexed("TunnelTable", i, "endFrame"));
  }
  t.end();

  capacity(r.StationTable, kRouteTableCapacity, "StationTable");
  t.header("[Station]");
  for (size_t i = 0; i < r.StationTable.size(); ++i) {
    const auto& s = r.StationTable[i];
    t.csv({field(s.name, indexed("StationTable", i, "name")), n(s.type), n(s.zoneStart),
           n(s.stopFrame), n(s.arrivalSound), n(s.departureSound), n(s.departureTime),
           n(s.closeTime)},
          indexed("StationTable", i, "name"));
  }
  t.end();

  capacity(r.StopSoundTable, kRouteTableCapacity, "StopSoundTable");
  t.header("[StopSound]");
  for (size_t i = 0; i < r.StopSoundTable.size(); ++i)
    t.entryLine(n(r.StopSoundTable[i]), indexed("StopSoundTable", i));
  t.end();

  capacity(r.SignalTable, kRouteTableCapacity, "SignalTable");
  t.header("[Signal]");
  for (size_t i = 0; i < r.SignalTable.size(); ++i) {
    const auto& s = r.SignalTable[i];
    t.csv({n(s.mode), field(s.label, indexed("SignalTable", i, "label")), n(s.number), n(s.kind),
           n(s.viewFrame), n(s.signalFrame), n(s.warningFrame), n(s.checkFrame), n(s.fixedLevel),
           n(s.fixedUntil)},
          indexed("SignalTable", i));
  }
  t.end();

  capacity(r.SlopeTable, kRouteTableCapacity, "SlopeTable");
  t.header("[Slope]");
  for (size_t i = 0; i < r.SlopeTable.size(); ++i) {
    const auto& s = r.SlopeTable[i];
    t.csv({fixedText(s.gradient), n(s.startFrame), n(s.endFrame)}, indexed("SlopeTable", i));
  }
  t.end();

  capacity(r.SignTable, kRouteTableCapacity, "SignTable");
  t.header("[Sign]");
  for (size_t i = 0; i < r.SignTable.size(); ++i) {
    const auto& s = r.SignTable[i];
    t.csv({n(s.picture), n(s.startFrame), n(s.endFrame)}, indexed("SignTable", i));
  }
  t.end();

  capacity(r.SignalKankoTable, kRouteTableCapacity, "SignalKankoTable");
  t.header("[SignalKanko]");
  for (size_t i = 0; i < r.SignalKankoTable.size(); ++i) {
    const auto& s = r.SignalKankoTable[i];
    t.csv({n(s.signal), n(s.kind), n(s.clip)}, indexed("SignalKankoTable", i));
  }
  t.end();

  capacity(r.StationKankoTable, kRouteTableCapacity, "StationKankoTable");
  t.header("[StationKanko]");
  for (size_t i = 0; i < r.StationKankoTable.size(); ++i) {
    const auto& s = r.StationKankoTable[i];
    t.csv({n(s.a), n(s.b), n(s.c)}, indexed("StationKankoTable", i));
  }
  t.end();

  capacity(r.SpeedLimitTable, kRouteTableCapacity, "SpeedLimitTable");
  t.header("[SpeedLimit]");
  for (size_t i = 0; i < r.SpeedLimitTable.size(); ++i) {
    const auto& s = r.SpeedLimitTable[i];
    t.csv({n(s.limit), n(s.picture), n(s.unused), n(s.startFrame), n(s.endFrame)},
          indexed("SpeedLimitTable", i));
  }
  t.end();

  capacity(r.SpeedCheckTable, kRouteTableCapacity, "SpeedCheckTable");
  t.header("[SpeedCheck]");
  for (size_t i = 0; i < r.SpeedCheckTable.size(); ++i) {
    const auto& s = r.SpeedCheckTable[i];
    t.csv({n(s.speed), n(s.frame)}, indexed("SpeedCheckTable", i));
  }
  t.end();
}

void writePictures(RouteText& t, const Route& r) {
  // The reader's bound on a picture list.
  constexpr size_t kPictureListCapacity = 501;
  const auto pictureList = [&](std::string_view header, const std::vector<std::string>& files,
                               const char* what) {
    capacity(files, kPictureListCapacity, what);
    t.header(header);
    for (size_t i = 0; i < files.size(); ++i) {
      if (files[i].empty()) reject(indexed(what, i), "a picture line cannot be empty");
      t.entryLine(files[i], indexed(what, i));
    }
    t.end();
  };
  pictureList("[SignImageList]", r.SignImageFiles, "SignImageFiles");

  if (r.OtherImageFiles.size() != r.OtherImageTexts.size())
    reject("OtherImageFiles", std::to_string(r.OtherImageFiles.size()) + " pictures but " +
                                  std::to_string(r.OtherImageTexts.size()) +
                                  " sound lines (OtherImageTexts): each picture has one");
  capacity(r.OtherImageFiles, kOtherImageTextsCapacity, "OtherImageFiles");
  t.header("[OtherImageList]");
  for (size_t i = 0; i < r.OtherImageFiles.size(); ++i) {
    if (r.OtherImageFiles[i].empty())
      reject(indexed("OtherImageFiles", i), "a picture line cannot be empty");
    t.entryLine(r.OtherImageFiles[i], indexed("OtherImageFiles", i));
    t.line(r.OtherImageTexts[i], indexed("OtherImageTexts", i));
  }
  t.end();

  pictureList("[SignalImageList]", r.SignalImageFiles, "SignalImageFiles");
}

void writeRecording(RouteText& t, const Route& r) {
  capacity(r.SpeedUnitTable, kRouteTableCapacity, "SpeedUnitTable");
  t.header("[SpeedUnit]");
  for (size_t i = 0; i < r.SpeedUnitTable.size(); ++i) {
    const auto& s = r.SpeedUnitTable[i];
    t.csv({n(s.startFrame), n(s.endFrame), n(s.startSpeed), n(s.endSpeed)},
          indexed("SpeedUnitTable", i));
  }
  t.end();

  capacity(r.TimeEventTable, kTimeTableCapacity, "TimeEventTable");
  t.header("[Time]");
  for (size_t i = 0; i < r.TimeEventTable.size(); ++i) {
    const auto& e = r.TimeEventTable[i];
    t.csv({n(e.kind), n(e.startFrame), n(e.endFrame), n(e.time)}, indexed("TimeEventTable", i));
  }
  t.end();
}

}  // namespace

std::string routeFileBytes(const Route& route) {
  RouteText t;
  writeSettings(t, route);
  writeSounds(t, route);
  writeTables(t, route);
  writePictures(t, route);
  writeRecording(t, route);
  return t.bytes();
}

namespace {

// The read-back names pictures without loading them: only the names are compared.
class AnyPicture : public ImageLoader {
 public:
  std::optional<ImageInfo> load(const std::filesystem::path&) override {
    return ImageInfo{0, 1, 1};
  }
};

}  // namespace

void writeRouteFile(const std::filesystem::path& file, const Route& route) {
  const std::string bytes = routeFileBytes(route);
  const std::filesystem::path dir = file.has_parent_path() ? file.parent_path() : ".";
  std::random_device seed;
  const std::string tempName =
      "." + file.filename().string() + ".writing-" + std::to_string(seed() % 1000000);
  const std::filesystem::path temp = dir / tempName;
  const auto fail = [&](const std::string& reason) {
    std::error_code ec;
    std::filesystem::remove(temp, ec);
    throw RouteWriteError(file.string() + ": " + reason);
  };
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) fail("cannot be written");
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) fail("cannot be written");
  }
  try {
    AnyPicture pictures;
    ImageLists lists;
    ReaderContext context;
    const Route back = readRouteFile(DataFolder(dir), tempName, context, pictures, lists);
    if (const auto diff = routeDifference(route, back))
      fail("would not read back as written (" + *diff + ")");
  } catch (const StartupError& e) {
    fail(std::string("would not read back: ") + e.what());
  }
  std::error_code ec;
  std::filesystem::rename(temp, file, ec);
  if (ec) fail("cannot be replaced: " + ec.message());
}

}  // namespace velmoria
