#include "run/trace.h"

#include <charconv>

#include "run/run.h"

namespace velmoria {

namespace {

const char* const kColumns[] = {
    "t_ms", "tick", "clock", "frame", "speed", "distance_cm", "remaining_cm", "next_stop_cm",
    "power", "brake", "hold", "reverser", "eff_power", "eff_brake", "sap_step", "bc", "sap", "er",
    "mr", "bc_display", "net_force", "resistance", "motor_force", "wheel_state", "gradient",
    "gradient_eff", "voltage", "current", "signal_shown", "check_speed", "alarm", "ats_emergency",
    "protection_brake", "pattern_state", "door_open", "station_index", "caption", "PowerLabel",
    "BrakeLabel", "Label4", "playing",
    // Further columns for route authors; the ones above keep their places.
    "Label3", "remain", "Lamp_Door", "Lamp_Ats", "Lamp_EB", "Lamp_stopalert", "SignalImage",
    "SpeedLimitImage", "OtherImage", "preceding_frame", "vigilance"};

void appendInt(std::string& out, int64_t v) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, r.ptr);
}

void appendFixed(std::string& out, Fixed value) {
  // Work on the magnitude as unsigned so that the most negative value has one too.
  const bool negative = value.raw < 0;
  const uint64_t magnitude =
      negative ? uint64_t{0} - static_cast<uint64_t>(value.raw) : static_cast<uint64_t>(value.raw);
  const uint64_t whole = magnitude / Fixed::kScale;
  const auto frac = static_cast<unsigned>(magnitude % Fixed::kScale);
  if (negative) out += '-';
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, whole);
  out.append(buf, r.ptr);
  const char digits[5] = {'.', char('0' + frac / 1000), char('0' + frac / 100 % 10),
                          char('0' + frac / 10 % 10), char('0' + frac % 10)};
  out.append(digits, 5);
}

void appendExtended(std::string& out, long double value) {
  // Correctly rounded, as printf's %.3Lf, at a fraction of its cost.
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 3);
  if (r.ec != std::errc()) {  // astronomically large: print it whole
    std::string big(5000, '\0');
    const auto rb =
        std::to_chars(big.data(), big.data() + big.size(), value, std::chars_format::fixed, 3);
    out.append(big.data(), rb.ptr);
    return;
  }
  const std::string_view text(buf, static_cast<size_t>(r.ptr - buf));
  out += text == "-0.000" ? std::string_view("0.000") : text;
}

void appendCsv(std::string& out, std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += text;
    return;
  }
  out += '"';
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

const std::string& traceHeader() {
  static const std::string header = [] {
    std::string h;
    for (const char* c : kColumns) {
      if (!h.empty()) h += ',';
      h += c;
    }
    return h;
  }();
  return header;
}

std::string formatFixed(Fixed value) {
  std::string s;
  appendFixed(s, value);
  return s;
}

std::string formatExtended(long double value) {
  std::string s;
  appendExtended(s, value);
  return s;
}

std::string csvField(std::string_view text) {
  std::string s;
  appendCsv(s, text);
  return s;
}

void TraceWriter::writeHeader() {
  m_out << traceHeader() << '\n';
}

void TraceWriter::writeRow(const Run& run, int64_t tMs) {
  std::string& s = m_line;
  s.clear();
  const auto i = [&](int64_t v) {
    appendInt(s, v);
    s += ',';
  };
  const auto f = [&](Fixed v) {
    appendFixed(s, v);
    s += ',';
  };
  const auto x = [&](long double v) {
    appendExtended(s, v);
    s += ',';
  };
  const auto b = [&](bool v) {
    s += v ? '1' : '0';
    s += ',';
  };
  const auto t = [&](std::string_view v) {
    appendCsv(s, v);
    s += ',';
  };

  const RunStates& st = run.states();
  const auto& h = st.handle;
  const auto& tr = st.train;
  const auto& air = st.air;
  const auto& pos = st.pos;
  const auto& sig = st.signals;
  const auto& d = st.display;

  i(tMs);
  i(st.tickCount);
  i(pos.clockTicks);
  i(pos.frame);
  f(tr.speed);
  x(pos.distance);
  x(pos.remaining);
  x(pos.nextStopDistance);
  i(h.powerNotch);
  i(h.brakeStep);
  b(h.hold);
  i(h.reverser);
  i(h.effectivePower);
  i(h.effectiveBrake);
  i(h.sapStep);
  f(air.bc);
  f(air.sap);
  f(air.er);
  f(air.mr);
  f(air.bcDisplay);
  f(tr.netForce);
  f(tr.resistance);
  f(tr.motorForce);
  t(tr.wheelState);
  f(st.limits.currentGradient);
  f(tr.effectiveGradient);
  f(st.meters.lineVoltage);
  i(st.meters.shownCurrent);
  i(sig.shownIndex);
  i(sig.checkSpeed);
  b(sig.alarm);
  b(h.atsEmergency);
  b(h.protectionBrake);
  i(sig.patternState);
  b(h.doorOpen);
  i(st.stations.current);
  t(d.caption);
  t(d.PowerLabel.text);
  t(d.BrakeLabel.text);
  t(d.Label4.text);
  // The playing channels, space-separated; never holds a comma, so never quoted.
  if (const SoundDevice* sound = run.sound()) {
    bool first = true;
    for (int ch = 0; ch < kSoundChannels; ++ch) {
      if (!sound->isPlaying(ch)) continue;
      if (!first) s += ' ';
      appendInt(s, ch);
      first = false;
    }
  }
  s += ',';
  t(d.Label3.text);
  t(d.remain.text);
  b(d.Lamp_Door);
  b(d.Lamp_Ats);
  b(d.Lamp_EB);
  b(d.Lamp_stopalert);
  i(d.SignalImage.picture);
  i(d.SpeedLimitImage.picture);
  i(d.OtherImage.picture);
  x(pos.precedingFrame);
  i(st.vigilance.counter);
  s.back() = '\n';
  m_out << s;
}

}  // namespace velmoria
