#pragma once
// The state of one run, grouped by the subsystem that owns it. Plain data: the rules that move
// it live in the files named beside each group.
#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "frame/fixed.h"

namespace velmoria {

// Handle model (vehicle/handle.cpp).
struct HandleState {
  int reverser = 1;        // 1 forward, 0 neutral, -1 reverse
  int powerNotch = 0;      // 0..Power
  int brakeStep = 0;       // 0 release .. -Brake (EB)
  bool hold = false;       // the hold position (brake step 0)
  bool justLeftHold = false;
  int effectivePower = 0;  // the copies after their delays
  int effectiveBrake = 0;
  int sapStep = 0;
  bool powerPending = false, brakePending = false, sapPending = false;
  int powerCounter = 0;  // shared with the diesel gear change
  int brakeCounter = 0, sapCounter = 0;
  bool atsEmergency = false;     // emergency demanded by the train stop or vigilance device
  bool protectionBrake = false;  // full service demanded by pattern or cab-signal control
  int gearPosition = 0;          // diesel: 0 converter, 1..4 direct
  int gearIndex = 0;             // the GearTable entry traction uses
  bool gearChange = false;
  bool doorOpen = true;           // door state
  bool doorSoundOpening = true;  // which door sound Door_operate started last
  bool inputLock = true;          // character keys ignored until the first Start
};

// Dynamics (vehicle/dynamics.cpp).
struct TrainState {
  Fixed speed;  // km/h, signed
  Fixed netForce, resistance, motorForce;  // N
  Fixed predictedSpeed;
  Fixed brakeRate;  // effective, km/h/s
  Fixed adhesion, baseAdhesion;
  Fixed poweringLimit, brakingLimit;  // N, shown by the value display
  std::string wheelState = "Normal";
  Fixed currentGradient;  // per mille, from the slope table
  std::array<int32_t, 20> gradientHistory{};
  Fixed effectiveGradient;
  long double gradientSampleDistance = 0;
  Fixed targetVoltage, lineVoltage;  // V
  int32_t shownCurrent = 0, targetCurrent = 0;
  long double engineLevel = 0;  // diesel, percent
  std::vector<std::vector<long double>> notchPowers;  // per notch: k^0 .. k^n, set up once
};

// Air brake (vehicle/air_brake.cpp).
struct AirState {
  Fixed bc, er, mr, sap, bcDisplay;  // kPa
  bool compressorRunning = false;
};

struct PatternTarget {
  long double distance = 0;  // cm
  int32_t speed = 0;         // 0 for a signal, else the limit
  int signal = -1;           // index in the signal table for a signal
};

// Route position (vehicle/position.cpp).
struct PositionState {
  int32_t frame = 0;
  int32_t frameAccumulator = 0, frameRemainder = 0;
  int32_t recordedSpeed = 0;
  int currentSegment = 0;  // -1: unknown (after a station jump)
  long double distance = 0, distanceStep = 0;  // cm
  long double nextStopDistance = 0, remaining = 0;
  int32_t clockTicks = 0;        // thirtieths of a second since midnight
  long double precedingFrame = 0;  // 0: no preceding train
  bool segmentsDisjoint = false;  // no two [SpeedUnit] segments share a frame
  int precedingPeriod = 1;  // clock ticks per frame of the preceding train: 30 div [FrameRate]
  std::vector<PatternTarget> patternTargets;
};

// Signals and train protection (run/signals.cpp).
struct SignalState {
  std::vector<int32_t> level;         // aspect level per signal
  std::vector<int32_t> displayIndex;  // per signal
  int shownIndex = 999, lastDrawnIndex = 999, shownNumber = 999, inView = 999;
  int32_t checkSpeed = 999;
  bool alarm = false, acknowledged = false, confirmation = false;
  int32_t savedCheckSpeed = 0;
  int alarmCounter = 0;
  int patternState = 0, previousPatternState = 0;
  int32_t targetSpeed = 999;
  long double targetDistance = 0;  // cm ahead of the current pattern target
  bool cabSignalBrake = false;
  int vigilanceCounter = 0;
  bool vigilanceFitted = false;  // the vehicle's [EB], switched off by follow mode
};

// Stations and the timetable clock (run/stations.cpp).
struct StationState {
  std::vector<uint8_t> atStation, departureSoundMark, doorsClosedMark, overrunMark;
  int current = 0;  // the station the train is at or heading to
  int inView = -1;
};

// Speed limits, checks and signs (run/limits.cpp).
struct LimitState {
  bool blink = false;
  int32_t lastDrawnLimit = 0;
  int32_t calloutPicture = 0;
  int32_t signTarget = 999;  // 900/901 timetable-check boards
};

// Sound events (sound/sound_events.cpp).
struct SoundState {
  std::vector<uint8_t> cueStarted;
  bool releaseMark = false;
  int announceIndex = 0;
  std::vector<long double> motorLevel, motorGain;
  long double masterGain = 0;
  long double engineVolume = 0;
  int gearPictureShown = -1;
  int eventWave = -1;  // the wave the event hook put on channel 255
};

// Call-out queue (sound/callouts.cpp).
struct CalloutState {
  std::array<int, 12> queue;  // wave ids of the queued clips, -1 empty
  bool playing = false;
  bool busy = false;
  int lastKey = -1;
  CalloutState() { queue.fill(-1); }
};

enum class VirtualKey { ScrollLock, Enter, F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12 };

struct PostedKey {
  bool isVirtual = false;
  char ch = 0;
  VirtualKey key = VirtualKey::Enter;
  bool shift = false;
};

}  // namespace velmoria
