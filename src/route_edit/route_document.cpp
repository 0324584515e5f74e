#include "route_edit/route_document.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "frame/data_folder.h"
#include "frame/section_walker.h"
#include "route/route_file.h"
#include "route_edit/edit_texts.h"
#include "route_edit/route_tables.h"

namespace velmoria::edit {

namespace {

template <typename E>
int32_t frameField(const E& e, size_t field) {
  return e.*std::get<int32_t E::*>(members<E>()[field]);
}

template <typename E>
int32_t& frameField(E& e, size_t field) {
  return e.*std::get<int32_t E::*>(members<E>()[field]);
}

// The announcement table's entry 0 is the overrun announcement and keeps its place.
size_t firstOrdered(Table table, size_t count) {
  return table == Table::Announce && count > 0 ? 1 : 0;
}

template <typename E>
E newEntry(const Route& route, int32_t f);

int32_t before(int32_t f, int32_t frames) {
  return std::max(0, f - frames);
}

template <>
StationEntry newEntry(const Route& route, int32_t f) {
  StationEntry e;
  e.name = "駅" + std::to_string(route.StationTable.size() + 1);
  e.zoneStart = before(f, 200);
  e.stopFrame = f;
  // Two minutes after the station before (which the window may then correct), doors closing
  // 10 s after the departure time as the recorded lines have it.
  int32_t departure = route.StartTime;
  for (const auto& s : route.StationTable)
    if (s.stopFrame <= f && s.departureTime != kTerminusTime) departure = s.departureTime;
  e.departureTime = departure + 120 * 30;
  e.closeTime = e.departureTime + 300;
  return e;
}
template <>
SignalEntry newEntry(const Route& route, int32_t f) {
  SignalEntry e;
  e.kind = 3;
  for (const auto& s : route.SignalTable) e.number = std::max(e.number, s.number);
  ++e.number;
  e.label = "信号" + std::to_string(e.number);
  e.viewFrame = before(f, 500);
  e.signalFrame = f;
  e.warningFrame = before(f, 600);
  e.checkFrame = before(f, 20);
  return e;
}
template <>
SpeedLimitEntry newEntry(const Route&, int32_t f) {
  SpeedLimitEntry e;
  e.limit = 60;
  e.picture = 0;
  e.startFrame = f;
  e.endFrame = f + 900;
  return e;
}
template <>
SlopeEntry newEntry(const Route&, int32_t f) {
  return SlopeEntry{Fixed::fromInt(0), f, f + 900};
}
template <>
SignEntry newEntry(const Route&, int32_t f) {
  return SignEntry{0, f, f + 150};
}
template <>
SoundCueEntry newEntry(const Route&, int32_t f) {
  SoundCueEntry e;
  e.startFrame = f;
  e.endFrame = f + 150;
  return e;
}
template <>
AnnounceEntry newEntry(const Route&, int32_t f) {
  return AnnounceEntry{0, f};
}
template <>
SpeedCheckEntry newEntry(const Route&, int32_t f) {
  return SpeedCheckEntry{60, f};
}
template <>
TunnelEntry newEntry(const Route&, int32_t f) {
  return TunnelEntry{f, f + 300};
}

// Pictures are named only: the editor needs the route's text, not its images.
class NamedPicture : public ImageLoader {
 public:
  std::optional<ImageInfo> load(const std::filesystem::path&) override {
    return ImageInfo{0, 1, 1};
  }
};

}  // namespace

RouteDocument::RouteDocument(Route route) : m_route(std::move(route)) {}

size_t RouteDocument::count(Table table) const {
  return withTable(m_route, table, [](const auto& v) { return v.size(); });
}

Value RouteDocument::value(Table table, size_t index, size_t field) const {
  return withTable(m_route, table, [&](const auto& v) -> Value {
    using E = typename std::decay_t<decltype(v)>::value_type;
    return std::visit([&](auto member) -> Value { return v.at(index).*member; },
                      members<E>().at(field));
  });
}

int32_t RouteDocument::anchorFrame(Table table, size_t index) const {
  return withTable(m_route, table,
                   [&](const auto& v) { return frameField(v.at(index), tableInfo(table).anchor); });
}

int32_t RouteDocument::endFrame(Table table, size_t index) const {
  const auto& info = tableInfo(table);
  return withTable(m_route, table, [&](const auto& v) {
    return frameField(v.at(index), info.end.value_or(info.anchor));
  });
}

TableContent RouteDocument::content(Table table) const {
  return withTable(m_route, table, [](const auto& v) { return TableContent(v); });
}

void RouteDocument::assign(Table table, const TableContent& content) {
  withTable(m_route, table, [&](auto& v) { v = std::get<std::decay_t<decltype(v)>>(content); });
}

Edit RouteDocument::begin(Table table, EditAction action, size_t field) const {
  Edit e;
  e.table = table;
  e.before = content(table);
  e.action = action;
  e.field = field;
  return e;
}

void RouteDocument::apply(const Edit& edit, bool forward) {
  assign(edit.table, forward ? edit.after : edit.before);
}

size_t RouteDocument::reorder(Table table, size_t index) {
  const size_t anchor = tableInfo(table).anchor;
  return withTable(m_route, table, [&](auto& v) {
    const size_t first = firstOrdered(table, v.size());
    if (index < first) return index;
    auto entry = v[index];
    v.erase(v.begin() + static_cast<std::ptrdiff_t>(index));
    const int32_t a = frameField(entry, anchor);
    // After every entry at or before its frame: an entry moved onto another's frame comes
    // after it, and equal frames keep their order.
    size_t at = first;
    while (at < v.size() && frameField(v[at], anchor) <= a) ++at;
    v.insert(v.begin() + static_cast<std::ptrdiff_t>(at), entry);
    return at;
  });
}

Edit RouteDocument::add(Table table, int32_t frame) {
  Edit e = begin(table, EditAction::Add);
  frame = std::max(0, frame);
  const size_t index = withTable(m_route, table, [&](auto& v) {
    using E = typename std::decay_t<decltype(v)>::value_type;
    v.push_back(newEntry<E>(m_route, frame));
    return v.size() - 1;
  });
  e.index = reorder(table, index);
  e.after = content(table);
  return e;
}

std::optional<Edit> RouteDocument::remove(Table table, size_t index) {
  if (index >= count(table)) return std::nullopt;
  Edit e = begin(table, EditAction::Delete);
  withTable(m_route, table,
            [&](auto& v) { v.erase(v.begin() + static_cast<std::ptrdiff_t>(index)); });
  e.after = content(table);
  return e;
}

std::optional<Edit> RouteDocument::move(Table table, size_t index, int32_t frame) {
  if (index >= count(table)) return std::nullopt;
  Edit e = begin(table, EditAction::Move);
  const auto& info = tableInfo(table);
  withTable(m_route, table, [&](auto& v) {
    auto& entry = v[index];
    const int64_t delta = int64_t(std::max(0, frame)) - frameField(entry, info.anchor);
    for (size_t f = 0; f < info.fields.size(); ++f) {
      if (info.fields[f].kind != FieldKind::Frame) continue;
      int32_t& x = frameField(entry, f);
      x = static_cast<int32_t>(std::clamp<int64_t>(x + delta, 0, INT32_MAX));
    }
  });
  e.index = reorder(table, index);
  e.after = content(table);
  return e;
}

std::optional<Edit> RouteDocument::setValue(Table table, size_t index, size_t field,
                                            const Value& value, std::string* error) {
  const auto refuse = [&](std::string why) -> std::optional<Edit> {
    if (error) *error = std::move(why);
    return std::nullopt;
  };
  const auto& info = tableInfo(table);
  if (index >= count(table) || field >= info.fields.size())
    return refuse(VELMORIA_TEXT("velmoria::edit::Refusals", "その項目はありません"));
  const Field& f = info.fields[field];
  if (f.kind == FieldKind::Text) {
    const auto* text = std::get_if<std::string>(&value);
    if (!text) return refuse(VELMORIA_TEXT("velmoria::edit::Refusals", "文字で入力してください"));
    if (text->find(',') != std::string::npos)
      return refuse(VELMORIA_TEXT("velmoria::edit::Refusals", "カンマは入れられません"));
    if (text->find_first_of("\r\n") != std::string::npos)
      return refuse(VELMORIA_TEXT("velmoria::edit::Refusals", "改行は入れられません"));
    if (!text->empty() && text->front() == '#' && field == 0)
      return refuse(VELMORIA_TEXT("velmoria::edit::Refusals", "'#' で始めることはできません"));
  } else if (f.kind == FieldKind::Gradient) {
    if (!std::holds_alternative<Fixed>(value))
      return refuse(VELMORIA_TEXT("velmoria::edit::Refusals", "数で入力してください"));
  } else {
    const auto* n = std::get_if<int32_t>(&value);
    if (!n) return refuse(VELMORIA_TEXT("velmoria::edit::Refusals", "整数で入力してください"));
    if ((f.kind == FieldKind::Frame || f.kind == FieldKind::Time) && *n < 0)
      return refuse(VELMORIA_TEXT("velmoria::edit::Refusals", "負の値にはできません"));
  }
  Edit e = begin(table, EditAction::Change, field);
  withTable(m_route, table, [&](auto& v) {
    using E = typename std::decay_t<decltype(v)>::value_type;
    std::visit(
        [&](auto member) {
          using T = std::decay_t<decltype(v[index].*member)>;
          v[index].*member = std::get<T>(value);
        },
        members<E>()[field]);
  });
  e.index = field == info.anchor ? reorder(table, index) : index;
  e.after = content(table);
  return e;
}

Route readRouteForEditing(const std::filesystem::path& folder, const std::string& routeFile) {
  NamedPicture pictures;
  ImageLists lists;
  ReaderContext context;
  Route r = readRouteFile(DataFolder(folder), routeFile, context, pictures, lists);
  r.fileName = routeFile;
  return r;
}

std::vector<std::string> routeFilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& item : std::filesystem::directory_iterator(folder, ec)) {
    const auto& p = item.path();
    std::string ext = p.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    if (ext != ".dat" || !item.is_regular_file(ec) || p.filename().string().front() == '.')
      continue;
    std::ifstream in(p, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.find("[SpeedUnit]") != std::string::npos) names.push_back(p.filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string timeText(int32_t t) {
  if (t == kTerminusTime) return "terminus";
  if (t < 0) return std::to_string(t);
  char buf[40];
  const int32_t s = t / 30;
  std::snprintf(buf, sizeof buf, "%02" PRId32 ":%02" PRId32 ":%02" PRId32, s / 3600, s / 60 % 60,
                s % 60);
  std::string text = buf;
  if (t % 30) text += "+" + std::to_string(t % 30);
  return text;
}

std::optional<int32_t> parseTime(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text == "terminus") return kTerminusTime;
  const auto number = [](std::string_view digits, int64_t max) -> std::optional<int64_t> {
    if (digits.empty() || digits.size() > 9) return std::nullopt;
    int64_t n = 0;
    for (char c : digits) {
      if (c < '0' || c > '9') return std::nullopt;
      n = n * 10 + (c - '0');
    }
    if (n > max) return std::nullopt;
    return n;
  };
  if (text.find(':') == std::string_view::npos) {
    const auto n = number(text, INT32_MAX);
    if (!n) return std::nullopt;
    return static_cast<int32_t>(*n);
  }
  int64_t frames = 0;
  const size_t plus = text.find('+');
  if (plus != std::string_view::npos) {
    const auto f = number(text.substr(plus + 1), 29);
    if (!f) return std::nullopt;
    frames = *f;
    text = text.substr(0, plus);
  }
  const size_t c1 = text.find(':');
  const size_t c2 = text.find(':', c1 + 1);
  if (c2 == std::string_view::npos || text.find(':', c2 + 1) != std::string_view::npos)
    return std::nullopt;
  const auto h = number(text.substr(0, c1), 99999);
  const auto m = number(text.substr(c1 + 1, c2 - c1 - 1), 59);
  const auto s = number(text.substr(c2 + 1), 59);
  if (!h || !m || !s || text.substr(c1 + 1, c2 - c1 - 1).size() != 2 ||
      text.substr(c2 + 1).size() != 2)
    return std::nullopt;
  const int64_t t = ((*h * 3600 + *m * 60 + *s) * 30) + frames;
  if (t > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(t);
}

}  // namespace velmoria::edit
