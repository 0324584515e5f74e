#pragma once
// A driver for velmoria-drive: it takes the train from its start to the terminus as a careful
// person would, through the same input handlers a person uses (AsciiDown). It looks only at
// what a driver has: the cab (speedometer, brake cylinder gauge, door pilot lamp, signal,
// train-stop lamp, caption), the position of the train on the line, the timetable and its
// knowledge of the line and the train.
//
// Control law. Running: the target speed is the lowest of the limits ahead, each seen through
// a braking curve v = sqrt(v_limit^2 + 7.2 a d) with half the full service deceleration and a
// reaction margin; power below it, coast near it, a service step above it. Stopping: from the
// point where the planning step would just stop the train at the mark, every tick it predicts
// the stopping distance of each service step from the present speed and cylinder pressure
// (BrakePredictor) and holds the lightest step that stops at or short of the mark, with a
// hysteresis so that it steps down only with room to spare. Stopped short by more than 0.9 m it
// creeps up on the lowest notch. Never the emergency brake.
//
// Called by the drive loop after every 100 ms tick, on its thread; it owns nothing of the run.
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>

#include "brake_predictor.h"
#include "media/sound_device.h"
#include "replay/virtual_drive.h"
#include "route_knowledge.h"
#include "run/run_observation.h"

namespace velmoria {
class Run;
}

namespace velmoria::drive {

class Autopilot : public replay::DriveAgent {
 public:
  // Drives `run` through its handlers; `sound` tells whether a station's melody still plays.
  Autopilot(Run& run, const SoundDevice* sound);

  // Looks at the cab after the tick that ended at nowMs and works the controls.
  void act(int64_t nowMs) override;
  bool arrived() const { return m_phase == Phase::Terminus; }
  // True once the autopilot has found that it cannot take the train on: it ran far past the
  // mark it was braking for, or spent kGiveUpMs between two stops. It then stops acting.
  bool gaveUp() const override { return m_gaveUp; }
  // Decisions go to `log` when set; `verbose` adds every stopping prediction.
  // Called with every key the autopilot presses (for --record).
  void onPress(std::function<void(char)> listener) { m_onPress = std::move(listener); }
  void setLog(std::ostream* log, bool verbose = false) {
    m_log = log;
    m_verbose = verbose;
  }

 private:
  enum class Phase { Dwell, Running, Stopping, Terminus };

  // Observation: what the cab shows, taken afresh at each turn and after each key.
  void look();
  const RunObservation& seen() const { return *m_seen; }
  long double speed() const;
  long double distanceCm() const;
  bool doorsClosed() const;
  int currentLevel() const;  // brake level the handle is at (0 when released or powering)

  // Decisions.
  void dwell(int64_t nowMs);
  void running(int64_t nowMs);
  void stopping(int64_t nowMs);
  bool readyToDepart() const;
  bool melodyPlaying(const StationEntry& st) const;
  long double targetSpeed(long double& brakeNeed) const;
  int planningLevel() const;
  BrakeState brakeState() const;
  Aspect signalAspect() const;
  int32_t aspectSpeed(Aspect a) const;
  void trackPassedSignal();
  int chooseStopLevel(long double toMarkCm) const;
  void beginStop();
  void arriveAt(int station);
  int nextStopAfter(int station) const;
  void answerTrainStop();
  void keepVigilant(int64_t nowMs);
  void checkProgress(int64_t nowMs);

  // Actions: the handle as one line of positions, brake steps below 0, notches above.
  void setPower(int notch);
  void setBrakeLevel(int level);
  void setNeutral() { setPower(0); }
  // Twice a notch or brake step: int64, as a file may give up to INT32_MAX of them.
  int64_t handleIndex() const;
  void moveHandleTo(int64_t index);
  void press(char key);

  Run& m_run;
  const SoundDevice* m_sound;
  std::optional<RunObservation> m_seen;
  RouteKnowledge m_line;
  BrakePredictor m_brake;
  Phase m_phase = Phase::Dwell;
  int m_station = -1;          // the station the train stands at (Dwell) or -1
  int m_nextStop = -1;         // the station it stops at next
  bool m_doorsOpened = false;  // seen open during this dwell
  int m_stopLevel = 0;         // the service level held while stopping
  bool m_creeping = false;
  bool m_braking = false, m_powering = false;
  int32_t m_aspectLimit = 0;  // km/h after passing a restrictive signal, 0 none
  int m_lastSignal = -1;      // the signal last in view
  Aspect m_lastAspect = Aspect::None;
  int64_t m_doorCommandMs = -100000;
  int64_t m_arrivedMs = 0;
  int64_t m_lastHandleMs = 0;
  int64_t m_departedMs = 0;
  bool m_gaveUp = false;
  int64_t m_nowMs = 0;
  std::function<void(char)> m_onPress;
  std::ostream* m_log = nullptr;
  bool m_verbose = false;
};

}  // namespace velmoria::drive
