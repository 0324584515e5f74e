// Needles, lamps, meters and the value display window.
#include "view/instruments.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace velmoria {

namespace {

void turn(NeedleView& needle, const NeedleSpec& layout, long double value) {
  if (!needle.present) return;
  needle.angle = static_cast<int>(roundEven(value * layout.anglePerUnit + layout.zeroAngle));
}

// The meters step toward their target: 100 when far, 50 when near, 10 when close.
int32_t ammeterStep(int32_t gap) {
  if (gap > 100) return 100;
  if (gap > 50) return 50;
  return 10;
}

}  // namespace

std::string fixedText(long double value, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*Lf", decimals, value);
  std::string s = buffer;
  if (s == "-0" || s == "-0.0" || s == "-0.00") s.erase(0, 1);
  return s;
}

void Instruments::setUpPanel(const Strings& strings) {
  CabDisplay& display = m_display;
  const Vehicle& vehicle = m_vehicle;
  const auto needle = [](const NeedleSpec& layout) { return NeedleView{!layout.file.empty(), 0}; };
  display.Needle_Speed = needle(vehicle.Needle_Speed);
  display.Needle_BC = needle(vehicle.Needle_BC);
  display.Needle_SAP = needle(vehicle.Needle_SAP);
  display.Needle_ER = needle(vehicle.Needle_ER);
  display.Needle_BP = needle(vehicle.Needle_BP);
  display.Needle_MR = needle(vehicle.Needle_MR);
  display.Needle_V = needle(vehicle.Needle_V);
  display.Needle_I = needle(vehicle.Needle_I);
  for (size_t i = 0; i < display.Others.size(); ++i) display.Others[i] = i < 5;
  display.E233Speed.visible = vehicle.fileName == "train_E233.dat";
  display.CarsLabel.text = std::to_string(vehicle.Cars) + "両";
  display.GearLabel = LabelView{"変", vehicle.Engine_Type == 0};
  display.Label1.text = strings.Forward;
  display.Lamp_EB = false;  // hidden once the sounds are loaded
  display.cardLeft = 640;
  display.cardTop = 0;
  display.cardShown = false;
}

void Instruments::init() {
  m_state = MeterState{};
  m_state.targetVoltage = Fixed::fromInt(1500);
  m_state.lineVoltage = Fixed::fromInt(1500);
}

void Instruments::needlesAndSpeed(const TrainState& train, const AirState& air) {
  const Vehicle& v = m_vehicle;
  CabDisplay& d = m_display;
  const long double speed = train.speed.ld();
  const long double a = std::fabs(speed);
  if (a < 160 && (speed >= 0 || a >= 1)) turn(d.Needle_Speed, v.Needle_Speed, a);
  turn(d.Needle_I, v.Needle_I, std::abs(m_state.shownCurrent));
  turn(d.Needle_V, v.Needle_V, m_state.lineVoltage.ld());
  turn(d.Needle_BC, v.Needle_BC, air.bcDisplay.ld());
  turn(d.Needle_ER, v.Needle_ER, air.er.ld());
  turn(d.Needle_BP, v.Needle_BP, air.er.ld());
  turn(d.Needle_MR, v.Needle_MR, air.mr.ld());
  turn(d.Needle_SAP, v.Needle_SAP, air.sap.ld());

  const int32_t rounded = static_cast<int32_t>(train.speed.rounded());
  d.digi_speed.text = std::to_string(rounded) + "km/h";
  const bool e233 = v.fileName == "train_E233.dat";
  if (e233) d.E233BRTop = static_cast<int>(400 - roundEven(air.bcDisplay.ld() / 6));
  d.E233MRTop = static_cast<int>(530 - roundEven(air.mr.ld() / 5.2L));
  if (e233) {
    char text[16];
    std::snprintf(text, sizeof text, "%3d", rounded);
    d.E233Speed.text = text;
  }
}

void Instruments::othersVisible() {
  const size_t n = std::min(m_vehicle.OthersTable.size(), m_display.Others.size());
  for (size_t i = 0; i < n; ++i) m_display.Others[i] = true;
}

void Instruments::brakeAndPowerLamps(const HandleState& h, const TrainState& train) {
  CabDisplay& d = m_display;
  const int brake = m_vehicle.Brake;
  const bool aboveLoseElec = train.speed.ld() > m_vehicle.Lose_elec;
  d.Lamp_Power = !(h.doorOpen || h.effectivePower < 1);
  d.Lamp_Gen = (h.hold && train.resistance.raw > 0 && aboveLoseElec) ||
               (h.effectiveBrake < 0 && -brake < h.effectiveBrake && aboveLoseElec);
  if (!h.doorOpen && h.effectivePower >= 1)
    d.Lamp_Ele = true;
  else if (h.effectiveBrake >= 0 || h.effectiveBrake == -brake)
    d.Lamp_Ele = false;
  else
    d.Lamp_Ele = aboveLoseElec;
  d.Lamp_Air = -brake < h.effectiveBrake && h.effectiveBrake < 0;
}

void Instruments::voltAndAmmeter(const HandleState& h, const TrainState& train) {
  MeterState& t = m_state;
  long double target = 1600;
  const bool correct =
      h.powerNotch >= 1 || (train.speed.ld() > m_vehicle.Lose_elec && h.effectiveBrake >= -8);
  if (correct) target -= train.netForce.ld() / 5000;
  t.targetVoltage = Fixed::from(target);
  if (t.lineVoltage != t.targetVoltage) {
    if (t.lineVoltage > t.targetVoltage) t.lineVoltage = Fixed::fromRaw(t.lineVoltage.raw - 100000);
    if (t.lineVoltage < t.targetVoltage) t.lineVoltage = Fixed::fromRaw(t.lineVoltage.raw + 100000);
  }

  t.targetCurrent = 0;
  if (h.effectivePower >= 1 && massKg() > 0)
    t.targetCurrent =
        static_cast<int32_t>(roundEven(train.motorForce.ld() * 3.6L / massKg() * 160));
  if (t.shownCurrent > t.targetCurrent)
    t.shownCurrent -= ammeterStep(t.shownCurrent - t.targetCurrent);
  if (t.shownCurrent < t.targetCurrent)
    t.shownCurrent += ammeterStep(t.targetCurrent - t.shownCurrent);
}

void Instruments::valueDisplay(const TrainState& t, const AirState& a, const PositionState& pos,
                               long double patternTargetDistance) {
  ValueDisplayView& v = m_display.values;
  if (!v.visible) return;
  const long double mass = massKg();
  const long double tractive = t.netForce.ld();
  const long double resistance = t.resistance.ld();
  const auto bar = [](long double force) {
    return static_cast<int>(std::clamp<int64_t>(roundEven(force), -500000, 500000));
  };
  v.Label1 = fixedText(t.speed.ld(), 1) + " km/h";
  v.Label2 = fixedText(a.bc.ld(), 0) + " kPa";
  v.Label3 = fixedText(a.sap.ld(), 0) + " kPa";
  v.Label4 = fixedText(a.er.ld(), 0) + " kPa";
  v.Label5 = fixedText(a.mr.ld(), 0) + " kPa";
  v.Label30 = std::to_string(pos.frame);
  v.Label31 = std::to_string(pos.recordedSpeed) + " km/h";
  v.Label6 = fixedText(mass > 0 ? (tractive + resistance) / mass * 3.6L : 0, 1) + " km/h/s";
  v.Label7 = fixedText(tractive, 0) + " N";
  v.Label25 = fixedText(resistance, 0) + " N";
  v.Label27 = fixedText(t.effectiveGradient.ld(), 0) + " Permil";
  v.ProgressBar1 = bar(tractive);
  v.ProgressBar2 = bar(t.poweringLimit.ld());
  v.ProgressBar3 = bar(t.brakingLimit.ld());
  v.Label8 = fixedText(t.adhesion.ld(), 2);
  v.Label9 = fixedText(t.adhesion.ld() * m_vehicle.Mt.ld() * 1000 * 9.8L, 0) + " N";
  v.Label20 = fixedText(-t.adhesion.ld() * mass * 9.8L, 0) + " N";
  v.Label33 = fixedText(pos.remaining / 100, 0) + " m";
  v.Label35 = fixedText(pos.distance / 100, 0) + " m";
  v.Label37 = fixedText(pos.nextStopDistance / 100, 0) + " m";
  v.Label23 = t.wheelState;
  v.Label41 = std::to_string(roundEven(patternTargetDistance / 100)) + " m";
}

}  // namespace velmoria
