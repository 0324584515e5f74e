// The brake types' rules for the five pressures, the BC needle and the compressor.
#include "vehicle/air_brake.h"

#include <algorithm>

namespace velmoria {

namespace {

// pressure := round(pressure + delta x 10 000) on the scaled value.
void add(Fixed& p, long double delta) {
  p = Fixed::fromRaw(roundEven(static_cast<long double>(p.raw) + delta * Fixed::kScale));
}
void floorZero(Fixed& p) {
  if (p.raw < 0) p = Fixed{};
}
bool below(Fixed p, long double kPa) {
  return p.ld() < kPa;
}

struct Params {
  long double U, D, pEB, pSAP;
  int N;
  int b, s;  // effective and SAP brake steps; anything beyond EB counts as EB
};

void brakeType0(AirState& a, const Params& p, bool flags) {
  const int b = flags ? -p.N : p.b;
  if (b == 0) {
    if (a.bc < a.er) add(a.bc, -p.D / 30);
    add(a.er, p.D / 30 / 2.5L);
    floorZero(a.bc);
    if (a.er > Fixed::fromInt(490))
      a.er = Fixed::fromInt(490);
    else
      add(a.mr, -p.U / 600);
  } else if (b == -3) {
    if (below(a.bc, p.pEB) && a.bc.ld() < (490 - a.er.ld()) * 2.5L) {
      add(a.bc, p.U / 30);
      add(a.sap, -p.U / 90);
    }
    add(a.er, -p.U / 75);
    floorZero(a.er);
    floorZero(a.sap);
  } else if (b <= -p.N) {
    if (below(a.bc, p.pEB)) {
      add(a.bc, p.U / 9);
      add(a.mr, -p.U / 99);
      add(a.sap, -p.D / 90);
    }
    add(a.er, -p.U / 18);
    floorZero(a.sap);
    floorZero(a.er);
  } else if (b == -1) {
    if (a.er < Fixed::fromInt(490)) {
      add(a.er, p.D / 30 / 2.5L);
      add(a.mr, -p.U / 600);
    }
  }
  // b = -2 is lap: nothing moves.
}

// Three release stages, each applied to what the one before left.
void releaseStages(Fixed& p, long double high, long double low, long double D) {
  if (p.ld() > high) add(p, -D / 30);
  if (p.ld() > low && p.ld() <= high) add(p, -D / 60);
  if (p.ld() <= low) add(p, -D / 120);
}

void brakeType1(AirState& a, const Params& p, bool ats, bool protection) {
  const long double recharged = p.pEB - p.pEB / p.N;
  if (!ats && !protection) {
    if (p.s > -p.N && p.s < 0) {
      const long double target = p.pSAP / (p.N - 1) * -p.s;
      if (a.sap.ld() + 10 < target) add(a.sap, p.U / 30 / 1.5L);
      if (a.sap.ld() > target) add(a.sap, -p.D / 30 / 1.5L);
    }
    if (p.b > -p.N && p.b < 0) {
      const long double target = p.pEB / (p.N - 1) * -p.b;
      if (a.bc.ld() + 10 < target) {
        add(a.bc, p.U / 30 / 1.5L);
        add(a.mr, -p.U / 300);
      }
      if (a.bc.ld() > target && a.er.ld() >= recharged) add(a.bc, -p.D / 30 / 1.5L);
      floorZero(a.bc);
      floorZero(a.sap);
    }
    if (p.b <= -p.N) {
      if (below(a.bc, p.pEB)) {
        add(a.bc, p.U / 30 * 3);
        add(a.mr, -p.U / 150);
      }
      add(a.er, -p.U / 10);
      add(a.sap, -p.U / 10);
      floorZero(a.er);
      floorZero(a.sap);
    }
    if (a.bc.raw > 0 && p.b == 0 && a.er.ld() >= recharged) {
      releaseStages(a.bc, 200, 100, p.D);
      releaseStages(a.sap, 200, 50, p.D);
      floorZero(a.bc);
      floorZero(a.sap);
    }
  }
  if (ats) {
    if (below(a.bc, p.pEB)) {
      add(a.bc, p.U / 15);
      add(a.mr, -p.U / 300);
    }
    add(a.er, -p.U / 10);
    add(a.sap, -p.U / 10);
    floorZero(a.er);
    floorZero(a.sap);
  }
  if (protection) {
    if (below(a.bc, p.pEB)) {
      add(a.bc, p.U / 30 / 2);
      add(a.mr, -p.U / 300);
    }
    if (below(a.sap, p.pSAP)) add(a.sap, p.U / 30 / 1.5L);
  }
  if (p.b >= 1 - p.N) {
    add(a.er, p.D / 150);
    if (a.er > Fixed::fromInt(500)) a.er = Fixed::fromInt(500);
  }
}

void brakeType2(AirState& a, const Params& p, bool flags) {
  if (flags || p.b <= -p.N) {
    if (below(a.bc, p.pEB)) add(a.bc, p.U / 30 * 1.3L);
    return;
  }
  if (p.b < 0) {
    const long double target = p.pEB / p.N * -p.b;
    if (a.bc.ld() + 10 < target) {
      add(a.bc, p.U / 30 / 1.5L);
      add(a.mr, -p.U / 300);
    }
    if (a.bc.ld() > target) add(a.bc, -p.D / 30 / 1.5L);
    floorZero(a.bc);
  } else if (a.bc.raw > 0) {
    if (a.bc.ld() >= 200) add(a.bc, -p.D / 30);
    if (a.bc.ld() >= 100 && a.bc.ld() < 200) add(a.bc, -p.D / 60);
    if (a.bc.ld() < 100) add(a.bc, -p.D / 120);
    floorZero(a.bc);
  }
}

}  // namespace

void AirBrake::init() {
  m_state = AirState{};
  m_state.bc = Fixed::fromInt(m_vehicle.EBPress);
  m_state.mr = Fixed::fromInt(m_vehicle.HighAirPress);
}

void AirBrake::airBrakeStep(const HandleState& handle, Fixed speed) {
  const Vehicle& vehicle = m_vehicle;
  AirState& air = m_state;
  const Params p{static_cast<long double>(vehicle.BrakeUp),
                 static_cast<long double>(vehicle.BrakeDown),
                 static_cast<long double>(vehicle.EBPress),
                 static_cast<long double>(vehicle.SAPPress),
                 vehicle.Brake,
                 std::max(handle.effectiveBrake, -vehicle.Brake),
                 std::max(handle.sapStep, -vehicle.Brake)};
  const bool ats = handle.atsEmergency, protection = handle.protectionBrake;
  if (p.N > 0) {
    if (vehicle.BrakeType == 0) brakeType0(air, p, ats || protection);
    if (vehicle.BrakeType == 1) brakeType1(air, p, ats, protection);
    if (vehicle.BrakeType == 2) brakeType2(air, p, ats || protection);
  }

  // The BC needle. On a motor car the electric brake carries the braking above [Lose_elec],
  // so the needle shows 50 kPa there; it moves at the service rate and stops at its target.
  if (vehicle.Mc == 1) {
    const bool electric =
        (vehicle.BrakeType == 2 || air.er.ld() >= p.pEB - p.pEB / std::max(p.N, 1)) &&
        p.b != -p.N && speed >= Fixed::fromInt(vehicle.Lose_elec) &&
        (speed == Fixed::fromInt(vehicle.Lose_elec) || air.bc >= Fixed::fromInt(50));
    const Fixed target = electric ? Fixed::fromInt(50) : air.bc;
    const long double step = p.U / 30 / 1.5L;
    if (air.bcDisplay < target) {
      add(air.bcDisplay, step);
      if (air.bcDisplay > target) air.bcDisplay = target;
    } else if (air.bcDisplay > target) {
      add(air.bcDisplay, -step);
      if (air.bcDisplay < target) air.bcDisplay = target;
    }
  } else {
    air.bcDisplay = air.bc;
  }
}

void AirBrake::compressor() {
  AirState& air = m_state;
  if (air.mr < Fixed::fromInt(m_vehicle.LowAirPress)) {
    if (!air.compressorRunning) {
      m_channels.startOnce(m_vehicle.CP_Start);
      m_channels.startLooped(m_vehicle.CP_Cnt);
    }
    air.compressorRunning = true;
  }
  if (air.compressorRunning && air.mr >= Fixed::fromInt(m_vehicle.HighAirPress)) {
    m_channels.startOnce(m_vehicle.CP_End);
    m_channels.stop(m_vehicle.CP_Cnt);
    air.compressorRunning = false;
  }
  if (air.compressorRunning) add(air.mr, 0.3L);
}

void AirBrake::doorsTakeAir() {
  m_state.mr = Fixed::fromRaw(m_state.mr.raw - Fixed::fromInt(30).raw);
}

}  // namespace velmoria
