// The tables the editor shows: their fields in file order, and where each one lives in a Route.
#include "route_edit/route_tables.h"

#include "route_edit/edit_texts.h"

namespace velmoria::edit {

namespace {

using K = FieldKind;

const std::array<TableInfo, kTables.size()> kInfo = {{
    {Table::Station,
     "StationTable",
     VELMORIA_TEXT("velmoria::edit::Tables", "駅"),
     VELMORIA_TEXT("velmoria::edit::Items", "駅"),
     {{"name", VELMORIA_TEXT("velmoria::edit::Fields", "駅名"), K::Text},
      {"type", VELMORIA_TEXT("velmoria::edit::Fields", "停車 (0、1 通過、2)"), K::Number},
      {"zoneStart", VELMORIA_TEXT("velmoria::edit::Fields", "停車区間の始まり"), K::Frame},
      {"stopFrame", VELMORIA_TEXT("velmoria::edit::Fields", "停止位置目標"), K::Frame},
      {"arrivalSound", VELMORIA_TEXT("velmoria::edit::Fields", "到着の音"), K::Number},
      {"departureSound", VELMORIA_TEXT("velmoria::edit::Fields", "発車の音"), K::Number},
      {"departureTime", VELMORIA_TEXT("velmoria::edit::Fields", "発車時刻"), K::Time},
      {"closeTime", VELMORIA_TEXT("velmoria::edit::Fields", "ドアが閉まる時刻 (終点)"), K::Time}},
     3,
     std::nullopt},
    {Table::Signal,
     "SignalTable",
     VELMORIA_TEXT("velmoria::edit::Tables", "信号"),
     VELMORIA_TEXT("velmoria::edit::Items", "信号"),
     {{"mode", VELMORIA_TEXT("velmoria::edit::Fields", "モード (0、1、2)"), K::Number},
      {"label", VELMORIA_TEXT("velmoria::edit::Fields", "名前"), K::Text},
      {"number", VELMORIA_TEXT("velmoria::edit::Fields", "番号"), K::Number},
      {"kind", VELMORIA_TEXT("velmoria::edit::Fields", "種類 (0-5)"), K::Number},
      {"viewFrame", VELMORIA_TEXT("velmoria::edit::Fields", "見え始め"), K::Frame},
      {"signalFrame", VELMORIA_TEXT("velmoria::edit::Fields", "信号機"), K::Frame},
      {"warningFrame", VELMORIA_TEXT("velmoria::edit::Fields", "ATS警報"), K::Frame},
      {"checkFrame", VELMORIA_TEXT("velmoria::edit::Fields", "ATS照査"), K::Frame},
      {"fixedLevel", VELMORIA_TEXT("velmoria::edit::Fields", "固定現示 (0-4)"), K::Number},
      {"fixedUntil", VELMORIA_TEXT("velmoria::edit::Fields", "固定の終わり"), K::Time}},
     5,
     std::nullopt},
    {Table::SpeedLimit,
     "SpeedLimitTable",
     VELMORIA_TEXT("velmoria::edit::Tables", "速度制限"),
     VELMORIA_TEXT("velmoria::edit::Items", "速度制限"),
     {{"limit", VELMORIA_TEXT("velmoria::edit::Fields", "制限 (km/h)"), K::Number},
      {"picture", VELMORIA_TEXT("velmoria::edit::Fields", "標識の絵"), K::Number},
      {"unused", VELMORIA_TEXT("velmoria::edit::Fields", "第3欄"), K::Number},
      {"startFrame", VELMORIA_TEXT("velmoria::edit::Fields", "始まり"), K::Frame},
      {"endFrame", VELMORIA_TEXT("velmoria::edit::Fields", "終わり"), K::Frame}},
     3,
     4},
    {Table::Slope,
     "SlopeTable",
     VELMORIA_TEXT("velmoria::edit::Tables", "勾配"),
     VELMORIA_TEXT("velmoria::edit::Items", "勾配"),
     {{"gradient", VELMORIA_TEXT("velmoria::edit::Fields", "勾配 (‰)"), K::Gradient},
      {"startFrame", VELMORIA_TEXT("velmoria::edit::Fields", "始まり"), K::Frame},
      {"endFrame", VELMORIA_TEXT("velmoria::edit::Fields", "終わり"), K::Frame}},
     1,
     2},
    {Table::Sign,
     "SignTable",
     VELMORIA_TEXT("velmoria::edit::Tables", "標識"),
     VELMORIA_TEXT("velmoria::edit::Items", "標識"),
     {{"picture", VELMORIA_TEXT("velmoria::edit::Fields", "絵"), K::Number},
      {"startFrame", VELMORIA_TEXT("velmoria::edit::Fields", "表示の始まり"), K::Frame},
      {"endFrame", VELMORIA_TEXT("velmoria::edit::Fields", "表示の終わり"), K::Frame}},
     1,
     2},
    {Table::SoundCue,
     "SoundCueTable",
     VELMORIA_TEXT("velmoria::edit::Tables", "効果音"),
     VELMORIA_TEXT("velmoria::edit::Items", "効果音"),
     {{"sound", VELMORIA_TEXT("velmoria::edit::Fields", "音"), K::Number},
      {"startFrame", VELMORIA_TEXT("velmoria::edit::Fields", "始まり"), K::Frame},
      {"endFrame", VELMORIA_TEXT("velmoria::edit::Fields", "終わり"), K::Frame},
      {"referenceSpeed", VELMORIA_TEXT("velmoria::edit::Fields", "基準速度 (km/h)"), K::Number},
      {"type", VELMORIA_TEXT("velmoria::edit::Fields", "種類 (0 一回、1 繰り返し)"), K::Number},
      {"followSpeed", VELMORIA_TEXT("velmoria::edit::Fields", "速度で音程が変わる"), K::Number},
      {"volumeFollows", VELMORIA_TEXT("velmoria::edit::Fields", "速度で音量が変わる"), K::Number}},
     1,
     2},
    {Table::Announce,
     "AnnounceTable",
     VELMORIA_TEXT("velmoria::edit::Tables", "放送"),
     VELMORIA_TEXT("velmoria::edit::Items", "放送"),
     {{"sound", VELMORIA_TEXT("velmoria::edit::Fields", "音"), K::Number},
      {"frame", VELMORIA_TEXT("velmoria::edit::Fields", "再生位置"), K::Frame}},
     1,
     std::nullopt},
    {Table::SpeedCheck,
     "SpeedCheckTable",
     VELMORIA_TEXT("velmoria::edit::Tables", "速度照査"),
     VELMORIA_TEXT("velmoria::edit::Items", "速度照査"),
     {{"speed", VELMORIA_TEXT("velmoria::edit::Fields", "速度 (km/h)"), K::Number},
      {"frame", VELMORIA_TEXT("velmoria::edit::Fields", "照査位置"), K::Frame}},
     1,
     std::nullopt},
    {Table::Tunnel,
     "TunnelTable",
     VELMORIA_TEXT("velmoria::edit::Tables", "トンネル"),
     VELMORIA_TEXT("velmoria::edit::Items", "トンネル"),
     {{"startFrame", VELMORIA_TEXT("velmoria::edit::Fields", "始まり"), K::Frame},
      {"endFrame", VELMORIA_TEXT("velmoria::edit::Fields", "終わり"), K::Frame}},
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
