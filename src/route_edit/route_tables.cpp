// The tables the editor shows: their fields in file order, and where each one lives in a Route.
#include "route_edit/route_tables.h"

namespace velmoria::edit {

namespace {

using K = FieldKind;

const std::array<TableInfo, kTables.size()> kInfo = {{
    {Table::Station,
     "StationTable",
     "Stations",
     {{"name", "Name", K::Text},
      {"type", "Stop (0, 1 pass, 2)", K::Number},
      {"zoneStart", "Zone begins", K::Frame},
      {"stopFrame", "Stopping mark", K::Frame},
      {"arrivalSound", "Arrival sound", K::Number},
      {"departureSound", "Departure sound", K::Number},
      {"departureTime", "Departure time", K::Time},
      {"closeTime", "Doors close (terminus)", K::Time}},
     3,
     std::nullopt},
    {Table::Signal,
     "SignalTable",
     "Signals",
     {{"mode", "Mode (0, 1, 2)", K::Number},
      {"label", "Label", K::Text},
      {"number", "Number", K::Number},
      {"kind", "Kind (0-5)", K::Number},
      {"viewFrame", "In view from", K::Frame},
      {"signalFrame", "Signal", K::Frame},
      {"warningFrame", "Train stop warning", K::Frame},
      {"checkFrame", "Train stop check", K::Frame},
      {"fixedLevel", "Fixed aspect (0-4)", K::Number},
      {"fixedUntil", "Fixed until", K::Time}},
     5,
     std::nullopt},
    {Table::SpeedLimit,
     "SpeedLimitTable",
     "Speed limits",
     {{"limit", "Limit (km/h)", K::Number},
      {"picture", "Board picture", K::Number},
      {"unused", "Third field", K::Number},
      {"startFrame", "Begins", K::Frame},
      {"endFrame", "Ends", K::Frame}},
     3,
     4},
    {Table::Slope,
     "SlopeTable",
     "Slopes",
     {{"gradient", "Gradient (per mille)", K::Gradient},
      {"startFrame", "Begins", K::Frame},
      {"endFrame", "Ends", K::Frame}},
     1,
     2},
    {Table::Sign,
     "SignTable",
     "Signs",
     {{"picture", "Picture", K::Number},
      {"startFrame", "Shown from", K::Frame},
      {"endFrame", "Shown until", K::Frame}},
     1,
     2},
    {Table::SoundCue,
     "SoundCueTable",
     "Sound cues",
     {{"sound", "Sound", K::Number},
      {"startFrame", "Begins", K::Frame},
      {"endFrame", "Ends", K::Frame},
      {"referenceSpeed", "Reference speed (km/h)", K::Number},
      {"type", "Type (0 once, 1 looped)", K::Number},
      {"followSpeed", "Rate follows speed", K::Number},
      {"volumeFollows", "Volume follows speed", K::Number}},
     1,
     2},
    {Table::Announce,
     "AnnounceTable",
     "Announcements",
     {{"sound", "Sound", K::Number}, {"frame", "Played at", K::Frame}},
     1,
     std::nullopt},
    {Table::SpeedCheck,
     "SpeedCheckTable",
     "Speed checks",
     {{"speed", "Speed (km/h)", K::Number}, {"frame", "Checked at", K::Frame}},
     1,
     std::nullopt},
    {Table::Tunnel,
     "TunnelTable",
     "Tunnels",
     {{"startFrame", "Begins", K::Frame}, {"endFrame", "Ends", K::Frame}},
     0,
     1},
}};

template <typename E>
using Members = std::vector<Member<E>>;

}  // namespace

const TableInfo& tableInfo(Table table) {
  return kInfo[static_cast<size_t>(table)];
}

template <>
const std::vector<Member<StationEntry>>& members<StationEntry>() {
  using E = StationEntry;
  static const Members<E> m = {&E::name,          &E::type,         &E::zoneStart,
                               &E::stopFrame,     &E::arrivalSound, &E::departureSound,
                               &E::departureTime, &E::closeTime};
  return m;
}
template <>
const std::vector<Member<SignalEntry>>& members<SignalEntry>() {
  using E = SignalEntry;
  static const Members<E> m = {&E::mode,       &E::label,       &E::number,       &E::kind,
                               &E::viewFrame,  &E::signalFrame, &E::warningFrame, &E::checkFrame,
                               &E::fixedLevel, &E::fixedUntil};
  return m;
}
template <>
const std::vector<Member<SpeedLimitEntry>>& members<SpeedLimitEntry>() {
  using E = SpeedLimitEntry;
  static const Members<E> m = {&E::limit, &E::picture, &E::unused, &E::startFrame, &E::endFrame};
  return m;
}
template <>
const std::vector<Member<SlopeEntry>>& members<SlopeEntry>() {
  using E = SlopeEntry;
  static const Members<E> m = {&E::gradient, &E::startFrame, &E::endFrame};
  return m;
}
template <>
const std::vector<Member<SignEntry>>& members<SignEntry>() {
  using E = SignEntry;
  static const Members<E> m = {&E::picture, &E::startFrame, &E::endFrame};
  return m;
}
template <>
const std::vector<Member<SoundCueEntry>>& members<SoundCueEntry>() {
  using E = SoundCueEntry;
  static const Members<E> m = {&E::sound, &E::startFrame,  &E::endFrame,     &E::referenceSpeed,
                               &E::type,  &E::followSpeed, &E::volumeFollows};
  return m;
}
template <>
const std::vector<Member<AnnounceEntry>>& members<AnnounceEntry>() {
  using E = AnnounceEntry;
  static const Members<E> m = {&E::sound, &E::frame};
  return m;
}
template <>
const std::vector<Member<SpeedCheckEntry>>& members<SpeedCheckEntry>() {
  using E = SpeedCheckEntry;
  static const Members<E> m = {&E::speed, &E::frame};
  return m;
}
template <>
const std::vector<Member<TunnelEntry>>& members<TunnelEntry>() {
  using E = TunnelEntry;
  static const Members<E> m = {&E::startFrame, &E::endFrame};
  return m;
}

}  // namespace velmoria::edit
