#pragma once
// The route editor's document: a Route being edited entry by entry, in standard C++ so that
// every edit is tested headless. The window (frontend/route_editor_qt.h) shows it and puts each
// edit on its undo stack. UI thread only; the document owns its Route.
//
// Entries are placed by frame. Each table the editor shows has one anchor field, the frame the
// entry stands at on the timeline (a station's stopping mark, a signal's own position, the
// start of a span); an added or moved entry goes where its anchor keeps the table in order, so
// a sorted table stays sorted. The announcement table's entry 0 is the overrun announcement,
// not played at its frame: it keeps its place and the order starts after it.
//
// An Edit holds the edited table as it was and as it became, so undoing and redoing is
// assigning one table; nothing else of the Route changes in an edit.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "route/route.h"

namespace velmoria::edit {

enum class Table {
  Station,
  Signal,
  SpeedLimit,
  Slope,
  Sign,
  SoundCue,
  Announce,
  SpeedCheck,
  Tunnel
};
constexpr std::array<Table, 9> kTables = {Table::Station,  Table::Signal,     Table::SpeedLimit,
                                          Table::Slope,    Table::Sign,       Table::SoundCue,
                                          Table::Announce, Table::SpeedCheck, Table::Tunnel};

enum class FieldKind {
  Number,    // any integer
  Frame,     // a frame number, 0 or more
  Time,      // thirtieths of a second since midnight, shown as HH:MM:SS (timeText)
  Text,      // no comma, no line break
  Gradient,  // per mille, four decimals
};

// The labels are the editor's words in Japanese (edit_texts.h: kFieldNames, kTableNames,
// kItemNames), translated by the window.
struct Field {
  const char* name;   // the member, as the route writer names it ("stopFrame")
  const char* label;  // shown in the form
  FieldKind kind;
};

struct TableInfo {
  Table table;
  const char* name;   // "StationTable"
  const char* label;  // the table, "駅" (Stations)
  const char* item;   // one entry, "駅" (station), in the undo menu's texts
  std::vector<Field> fields;
  size_t anchor;              // the field the entry stands at and is ordered by
  std::optional<size_t> end;  // the field where its span ends, if it has one
};

const TableInfo& tableInfo(Table table);

using Value = std::variant<int32_t, std::string, Fixed>;

// One table's entries, whole.
using TableContent =
    std::variant<std::vector<StationEntry>, std::vector<SignalEntry>, std::vector<SpeedLimitEntry>,
                 std::vector<SlopeEntry>, std::vector<SignEntry>, std::vector<SoundCueEntry>,
                 std::vector<AnnounceEntry>, std::vector<SpeedCheckEntry>,
                 std::vector<TunnelEntry>>;

enum class EditAction { Add, Delete, Move, Change };

struct Edit {
  Table table = Table::Station;
  TableContent before, after;
  std::optional<size_t> index;  // the entry after the edit (none after a delete)
  EditAction action = EditAction::Add;
  size_t field = 0;  // the field a Change set; the undo menu says "Change signal Label"
};

class RouteDocument {
 public:
  explicit RouteDocument(Route route = {});

  const Route& route() const { return m_route; }
  size_t count(Table table) const;
  Value value(Table table, size_t index, size_t field) const;
  int32_t anchorFrame(Table table, size_t index) const;
  // The last frame of the entry's span; its anchor when it has no span.
  int32_t endFrame(Table table, size_t index) const;

  // Each edit is made at once and returned for the undo stack; apply(edit, false) undoes it.
  // An index out of range gives nullopt and changes nothing.
  Edit add(Table table, int32_t frame);
  std::optional<Edit> remove(Table table, size_t index);
  // Shifts every frame field of the entry by the same amount, so that its anchor is `frame`
  // (0 at least) and its span keeps its length, then puts it in its place in the table.
  std::optional<Edit> move(Table table, size_t index, int32_t frame);
  // A value of the field's kind; a refused value gives its reason in `error` (a kRefusals
  // text, without the field's label).
  std::optional<Edit> setValue(Table table, size_t index, size_t field, const Value& value,
                               std::string* error = nullptr);

  void apply(const Edit& edit, bool forward);

 private:
  TableContent content(Table table) const;
  void assign(Table table, const TableContent& content);
  Edit begin(Table table, EditAction action, size_t field = 0) const;
  // Moves entry `index` to where its anchor belongs; returns its new index.
  size_t reorder(Table table, size_t index);

  Route m_route;
};

// Reads a route file for editing: the pictures are named, not loaded. Throws StartupError with
// the reader's message.
Route readRouteForEditing(const std::filesystem::path& folder, const std::string& routeFile);

// The route files of a data folder: the .dat files holding a [SpeedUnit] section, by name.
std::vector<std::string> routeFilesIn(const std::filesystem::path& folder);

// "HH:MM:SS", with "+N" for N thirtieths beyond the second; kTerminusTime is "terminus".
std::string timeText(int32_t thirtieths);
// The inverse of timeText; also a plain number of thirtieths. nullopt for anything else.
std::optional<int32_t> parseTime(std::string_view text);

}  // namespace velmoria::edit
