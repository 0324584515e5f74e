// routeDifference: the file fields of two routes, compared one by one in file order, so that the
// first difference found is the first a reader of the file would meet.
#include <sstream>

#include "route_writer/route_writer.h"

namespace velmoria {

namespace {

class Compare {
 public:
  template <typename T>
  void value(const std::string& what, const T& a, const T& b) {
    if (m_first || a == b) return;
    std::ostringstream s;
    s << what << ": " << show(a) << " against " << show(b);
    m_first = s.str();
  }

  // Tables: the count first, then each entry through `fields`.
  template <typename Entry, typename Fields>
  void table(const char* what, const std::vector<Entry>& a, const std::vector<Entry>& b,
             Fields fields) {
    value(std::string(what) + ".size()", a.size(), b.size());
    for (size_t i = 0; !m_first && i < a.size(); ++i)
      fields(std::string(what) + "[" + std::to_string(i) + "]", a[i], b[i]);
  }

  const std::optional<std::string>& first() const { return m_first; }

 private:
  static std::string show(const std::string& s) { return "\"" + s + "\""; }
  static std::string show(Fixed f) { return std::to_string(f.raw) + "/10000"; }
  template <typename T>
  static T show(const T& v) {
    return v;
  }
  std::optional<std::string> m_first;
};

}  // namespace

std::optional<std::string> routeDifference(const Route& a, const Route& b) {
  Compare c;
  c.value("LineName", a.LineName, b.LineName);
  c.value("StartPos", a.StartPos, b.StartPos);
  c.value("FrameRate", a.FrameRate, b.FrameRate);
  c.value("StafCard", a.StafCard, b.StafCard);
  c.value("StafStill", a.StafStill, b.StafStill);
  c.value("StartTime", a.StartTime, b.StartTime);
  c.value("Speed_YY", a.Speed_YY, b.Speed_YY);
  c.value("Speed_Y", a.Speed_Y, b.Speed_Y);
  c.value("Speed_YG", a.Speed_YG, b.Speed_YG);
  c.value("Speed_G", a.Speed_G, b.Speed_G);
  c.value("DataName", a.DataName, b.DataName);
  c.value("Pre_Time", a.Pre_Time, b.Pre_Time);
  c.value("OneMan", a.OneMan, b.OneMan);

  const auto text = [&](const std::string& w, const std::string& x, const std::string& y) {
    c.value(w, x, y);
  };
  c.table("SoundDataList", a.SoundDataList, b.SoundDataList, text);
  c.table("AnnounceTable", a.AnnounceTable, b.AnnounceTable,
          [&](const std::string& w, const AnnounceEntry& x, const AnnounceEntry& y) {
            c.value(w + ".sound", x.sound, y.sound);
            c.value(w + ".frame", x.frame, y.frame);
          });
  for (size_t i = 0; i < a.KankoSound1.size(); ++i)
    c.value("KankoSound1[" + std::to_string(i) + "]", a.KankoSound1[i], b.KankoSound1[i]);
  c.value("hasKankoSound2", a.hasKankoSound2, b.hasKankoSound2);
  c.table("KankoSound2", a.KankoSound2, b.KankoSound2, text);
  c.table("SoundCueTable", a.SoundCueTable, b.SoundCueTable,
          [&](const std::string& w, const SoundCueEntry& x, const SoundCueEntry& y) {
            c.value(w + ".sound", x.sound, y.sound);
            c.value(w + ".startFrame", x.startFrame, y.startFrame);
            c.value(w + ".endFrame", x.endFrame, y.endFrame);
            c.value(w + ".referenceSpeed", x.referenceSpeed, y.referenceSpeed);
            c.value(w + ".type", x.type, y.type);
            c.value(w + ".followSpeed", x.followSpeed, y.followSpeed);
            c.value(w + ".volumeFollows", x.volumeFollows, y.volumeFollows);
          });
  c.table("DopplerTable", a.DopplerTable, b.DopplerTable,
          [&](const std::string& w, const DopplerEntry& x, const DopplerEntry& y) {
            c.value(w + ".sound", x.sound, y.sound);
            c.value(w + ".frame", x.frame, y.frame);
            c.value(w + ".radius", x.radius, y.radius);
            c.value(w + ".unused", x.unused, y.unused);
          });
  c.table("TunnelTable", a.TunnelTable, b.TunnelTable,
          [&](const std::string& w, const TunnelEntry& x, const TunnelEntry& y) {
            c.value(w + ".startFrame", x.startFrame, y.startFrame);
            c.value(w + ".endFrame", x.endFrame, y.endFrame);
          });
  c.table("StationTable", a.StationTable, b.StationTable,
          [&](const std::string& w, const StationEntry& x, const StationEntry& y) {
            c.value(w + ".name", x.name, y.name);
            c.value(w + ".type", x.type, y.type);
            c.value(w + ".zoneStart", x.zoneStart, y.zoneStart);
            c.value(w + ".stopFrame", x.stopFrame, y.stopFrame);
            c.value(w + ".arrivalSound", x.arrivalSound, y.arrivalSound);
            c.value(w + ".departureSound", x.departureSound, y.departureSound);
            c.value(w + ".departureTime", x.departureTime, y.departureTime);
            c.value(w + ".closeTime", x.closeTime, y.closeTime);
          });
  c.table("StopSoundTable", a.StopSoundTable, b.StopSoundTable,
          [&](const std::string& w, int32_t x, int32_t y) { c.value(w, x, y); });
  c.table("SignalTable", a.SignalTable, b.SignalTable,
          [&](const std::string& w, const SignalEntry& x, const SignalEntry& y) {
            c.value(w + ".mode", x.mode, y.mode);
            c.value(w + ".label", x.label, y.label);
            c.value(w + ".number", x.number, y.number);
            c.value(w + ".kind", x.kind, y.kind);
            c.value(w + ".viewFrame", x.viewFrame, y.viewFrame);
            c.value(w + ".signalFrame", x.signalFrame, y.signalFrame);
            c.value(w + ".warningFrame", x.warningFrame, y.warningFrame);
            c.value(w + ".checkFrame", x.checkFrame, y.checkFrame);
            c.value(w + ".fixedLevel", x.fixedLevel, y.fixedLevel);
            c.value(w + ".fixedUntil", x.fixedUntil, y.fixedUntil);
          });
  c.table("SlopeTable", a.SlopeTable, b.SlopeTable,
          [&](const std::string& w, const SlopeEntry& x, const SlopeEntry& y) {
            c.value(w + ".gradient", x.gradient, y.gradient);
            c.value(w + ".startFrame", x.startFrame, y.startFrame);
            c.value(w + ".endFrame", x.endFrame, y.endFrame);
          });
  c.table("SignTable", a.SignTable, b.SignTable,
          [&](const std::string& w, const SignEntry& x, const SignEntry& y) {
            c.value(w + ".picture", x.picture, y.picture);
            c.value(w + ".startFrame", x.startFrame, y.startFrame);
            c.value(w + ".endFrame", x.endFrame, y.endFrame);
          });
  c.table("SignalKankoTable", a.SignalKankoTable, b.SignalKankoTable,
          [&](const std::string& w, const SignalKankoEntry& x, const SignalKankoEntry& y) {
            c.value(w + ".signal", x.signal, y.signal);
            c.value(w + ".kind", x.kind, y.kind);
            c.value(w + ".clip", x.clip, y.clip);
          });
  c.table("StationKankoTable", a.StationKankoTable, b.StationKankoTable,
          [&](const std::string& w, const StationKankoEntry& x, const StationKankoEntry& y) {
            c.value(w + ".a", x.a, y.a);
            c.value(w + ".b", x.b, y.b);
            c.value(w + ".c", x.c, y.c);
          });
  c.table("SpeedLimitTable", a.SpeedLimitTable, b.SpeedLimitTable,
          [&](const std::string& w, const SpeedLimitEntry& x, const SpeedLimitEntry& y) {
            c.value(w + ".limit", x.limit, y.limit);
            c.value(w + ".picture", x.picture, y.picture);
            c.value(w + ".unused", x.unused, y.unused);
            c.value(w + ".startFrame", x.startFrame, y.startFrame);
            c.value(w + ".endFrame", x.endFrame, y.endFrame);
          });
  c.table("SpeedCheckTable", a.SpeedCheckTable, b.SpeedCheckTable,
          [&](const std::string& w, const SpeedCheckEntry& x, const SpeedCheckEntry& y) {
            c.value(w + ".speed", x.speed, y.speed);
            c.value(w + ".frame", x.frame, y.frame);
          });
  c.table("SignImageFiles", a.SignImageFiles, b.SignImageFiles, text);
  c.table("OtherImageFiles", a.OtherImageFiles, b.OtherImageFiles, text);
  c.table("OtherImageTexts", a.OtherImageTexts, b.OtherImageTexts, text);
  c.table("SignalImageFiles", a.SignalImageFiles, b.SignalImageFiles, text);
  c.table("SpeedUnitTable", a.SpeedUnitTable, b.SpeedUnitTable,
          [&](const std::string& w, const SpeedUnitEntry& x, const SpeedUnitEntry& y) {
            c.value(w + ".startFrame", x.startFrame, y.startFrame);
            c.value(w + ".endFrame", x.endFrame, y.endFrame);
            c.value(w + ".startSpeed", x.startSpeed, y.startSpeed);
            c.value(w + ".endSpeed", x.endSpeed, y.endSpeed);
          });
  c.table("TimeEventTable", a.TimeEventTable, b.TimeEventTable,
          [&](const std::string& w, const TimeEventEntry& x, const TimeEventEntry& y) {
            c.value(w + ".kind", x.kind, y.kind);
            c.value(w + ".startFrame", x.startFrame, y.startFrame);
            c.value(w + ".endFrame", x.endFrame, y.endFrame);
            c.value(w + ".time", x.time, y.time);
          });
  return c.first();
}

}  // namespace velmoria
