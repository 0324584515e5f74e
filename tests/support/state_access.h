#pragma once
// Tests that set up a situation directly (a train at 60 km/h at frame 150, a brake cylinder at
// 200 kPa) reach into the subsystems' private state through StateAccess, which the subsystem
// classes name as a friend. Nothing but tests defines it.
#include "run/run.h"

namespace velmoria {

struct StateAccess {
  // Every part of a run, writable.
  struct RunParts {
    HandleState& handle;
    TrainState& train;
    TractionState& traction;
    AirState& air;
    PositionState& pos;
    SignalState& signals;
    VigilanceState& vigilance;
    StationState& stations;
    LimitState& limits;
    SoundState& sounds;
    CalloutState& callouts;
    MeterState& meters;
    CabDisplay& display;
    int32_t& tickCount;
    bool& onBranch;
    bool& commentaryMode;
    std::string& eventCommand;
    int& eventWave;
    std::deque<PostedKey>& postedKeys;
    RunServices& services;
    RouteIndex& index;
    RunData& data;
    HandleModel& handleModel;
    Traction& traction_;
    Dynamics& dynamics;
    AirBrake& airBrake;
    Position& position;
    Signals& signals_;
    Vigilance& vigilance_;
    Stations& stations_;
    Limits& limits_;
    SoundEvents& soundEvents;
    Callouts& callouts_;
    Instruments& instruments;
  };

  static RunParts of(Run& r) {
    return RunParts{r.m_handle.m_h,
                    r.m_dynamics.m_state,
                    r.m_traction.m_state,
                    r.m_air.m_state,
                    r.m_position.m_p,
                    r.m_signals.m_state,
                    r.m_vigilance.m_state,
                    r.m_stations.m_state,
                    r.m_limits.m_state,
                    r.m_sounds.m_state,
                    r.m_callouts.m_state,
                    r.m_instruments.m_state,
                    r.m_display,
                    r.m_tickCount,
                    r.m_onBranch,
                    r.m_commentaryMode,
                    r.m_eventCommand,
                    r.m_eventWave,
                    r.m_postedKeys,
                    r.m_services,
                    r.m_index,
                    r.m_data,
                    r.m_handle,
                    r.m_traction,
                    r.m_dynamics,
                    r.m_air,
                    r.m_position,
                    r.m_signals,
                    r.m_vigilance,
                    r.m_stations,
                    r.m_limits,
                    r.m_sounds,
                    r.m_callouts,
                    r.m_instruments};
  }
};

// poke(run).pos.frame = 150
inline StateAccess::RunParts poke(Run& run) {
  return StateAccess::of(run);
}

}  // namespace velmoria
