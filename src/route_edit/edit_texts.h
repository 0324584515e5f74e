#pragma once
// The editor's own words, written here in Japanese as the program's source language and marked
// with VELMORIA_TEXT so that scripts/update-translations (lupdate, which reads VELMORIA_TEXT as
// QT_TRANSLATE_NOOP) collects them into the translations. The core keeps them as plain text;
// the window translates them when it shows them (editText in the route editor). No Qt here.
#define VELMORIA_TEXT(context, text) text

namespace velmoria::edit {

// The translation contexts of the marked texts.
inline constexpr const char* kTableNames = "velmoria::edit::Tables";  // "駅" -> "Stations"
inline constexpr const char* kItemNames = "velmoria::edit::Items";    // "駅" -> "station"
inline constexpr const char* kFieldNames = "velmoria::edit::Fields";
inline constexpr const char* kRefusals = "velmoria::edit::Refusals";

}  // namespace velmoria::edit
