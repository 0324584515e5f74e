// Needles, lamps, meters and the value display window.
#include "view/instruments.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "run/run.h"

namespace velmoria {

namespace {

void turn(NeedleView& needle, const NeedleSpec& layout, long double value) {
  if (!needle.present) return;
  needle.angle = static_cast<int>(roundEven(value * layout.anglePerUnit + layout.zeroAngle));
}

long double massKg(const Run& run) {
  return run.vehicle.Tons.ld() * 1000;
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

void needlesAndSpeed(Run& run) {
  const Vehicle& v = run.vehicle;
  CabDisplay& d = run.display;
  const long double speed = run.train.speed.ld();
  const long double a = std::fabs(speed);
  if (a < 160 && (speed >= 0 || a >= 1)) turn(d.Needle_Speed, v.Needle_Speed, a);
  turn(d.Needle_I, v.Needle_I, std::abs(run.train.shownCurrent));
  turn(d.Needle_V, v.Needle_V, run.train.lineVoltage.ld());
  turn(d.Needle_BC, v.Needle_BC, run.air.bcDisplay.ld());
  turn(d.Needle_ER, v.Needle_ER, run.air.er.ld());
  turn(d.Needle_BP, v.Needle_BP, run.air.er.ld());
  turn(d.Needle_MR, v.Needle_MR, run.air.mr.ld());
  turn(d.Needle_SAP, v.Needle_SAP, run.air.sap.ld());

  const int32_t rounded = run.roundedSpeed();
  d.digi_speed.text = std::to_string(rounded) + "km/h";
  const bool e233 = v.fileName == "train_E233.dat";
  if (e233) d.E233BRTop = static_cast<int>(400 - roundEven(run.air.bcDisplay.ld() / 6));
  d.E233MRTop = static_cast<int>(530 - roundEven(run.air.mr.ld() / 5.2L));
  if (e233) {
    char text[16];
    std::snprintf(text, sizeof text, "%3d", rounded);
    d.E233Speed.text = text;
  }
}

void othersVisible(Run& run) {
  const size_t n = std::min(run.vehicle.OthersTable.size(), run.display.Others.size());
  for (size_t i = 0; i < n; ++i) run.display.Others[i] = true;
}

void brakeAndPowerLamps(Run& run) {
  const HandleState& h = run.handle;
  CabDisplay& d = run.display;
  const int brake = run.vehicle.Brake;
  const bool aboveLoseElec = run.train.speed.ld() > run.vehicle.Lose_elec;
  d.Lamp_Power = !(h.doorOpen || h.effectivePower < 1);
  d.Lamp_Gen = (h.hold && run.train.resistance.raw > 0 && aboveLoseElec) ||
               (h.effectiveBrake < 0 && -brake < h.effectiveBrake && aboveLoseElec);
  if (!h.doorOpen && h.effectivePower >= 1)
    d.Lamp_Ele = true;
  else if (h.effectiveBrake >= 0 || h.effectiveBrake == -brake)
    d.Lamp_Ele = false;
  else
    d.Lamp_Ele = aboveLoseElec;
  d.Lamp_Air = -brake < h.effectiveBrake && h.effectiveBrake < 0;
}

void voltAndAmmeter(Run& run) {
  TrainState& t = run.train;
  const HandleState& h = run.handle;
  long double target = 1600;
  const bool correct =
      h.powerNotch >= 1 || (t.speed.ld() > run.vehicle.Lose_elec && h.effectiveBrake >= -8);
  if (correct) target -= t.netForce.ld() / 5000;
  t.targetVoltage = Fixed::from(target);
  if (t.lineVoltage != t.targetVoltage) {
    if (t.lineVoltage > t.targetVoltage) t.lineVoltage = Fixed::fromRaw(t.lineVoltage.raw - 100000);
    if (t.lineVoltage < t.targetVoltage) t.lineVoltage = Fixed::fromRaw(t.lineVoltage.raw + 100000);
  }

  t.targetCurrent = 0;
  if (h.effectivePower >= 1 && massKg(run) > 0)
    t.targetCurrent = static_cast<int32_t>(roundEven(t.motorForce.ld() * 3.6L / massKg(run) * 160));
  if (t.shownCurrent > t.targetCurrent)
    t.shownCurrent -= ammeterStep(t.shownCurrent - t.targetCurrent);
  if (t.shownCurrent < t.targetCurrent)
    t.shownCurrent += ammeterStep(t.targetCurrent - t.shownCurrent);
}

void valueDisplay(Run& run) {
  ValueDisplayView& v = run.display.values;
  if (!v.visible) return;
  const TrainState& t = run.train;
  const AirState& a = run.air;
  const long double mass = massKg(run);
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
  v.Label30 = std::to_string(run.pos.frame);
  v.Label31 = std::to_string(run.pos.recordedSpeed) + " km/h";
  v.Label6 = fixedText(mass > 0 ? (tractive + resistance) / mass * 3.6L : 0, 1) + " km/h/s";
  v.Label7 = fixedText(tractive, 0) + " N";
  v.Label25 = fixedText(resistance, 0) + " N";
  v.Label27 = fixedText(t.effectiveGradient.ld(), 0) + " Permil";
  v.ProgressBar1 = bar(tractive);
  v.ProgressBar2 = bar(t.poweringLimit.ld());
  v.ProgressBar3 = bar(t.brakingLimit.ld());
  v.Label8 = fixedText(t.adhesion.ld(), 2);
  v.Label9 = fixedText(t.adhesion.ld() * run.vehicle.Mt.ld() * 1000 * 9.8L, 0) + " N";
  v.Label20 = fixedText(-t.adhesion.ld() * mass * 9.8L, 0) + " N";
  v.Label33 = fixedText(run.pos.remaining / 100, 0) + " m";
  v.Label35 = fixedText(run.pos.distance / 100, 0) + " m";
  v.Label37 = fixedText(run.pos.nextStopDistance / 100, 0) + " m";
  v.Label23 = t.wheelState;
  v.Label41 = std::to_string(roundEven(run.signals.targetDistance / 100)) + " m";
}

}  // namespace velmoria
