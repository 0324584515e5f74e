#pragma once
// The driver's call-outs and the twelve-slot queue that plays their clips one after another on
// channel 254: the commentary clips (signals, timetable checks) and the board clips. Enter asks
// for a call-out; the run loop plays the queue (step 42). UI thread.
#include <array>
#include <cstdint>

#include "route/route.h"
#include "media/channels.h"
#include "sound/sound_bank.h"
#include "vehicle/vehicle.h"

namespace velmoria {

struct CalloutState {
  std::array<int, 12> queue;  // wave ids of the queued clips, -1 empty
  bool playing = false;
  bool busy = false;
  int lastKey = -1;
  CalloutState() { queue.fill(-1); }
};

// What a call-out is about, as the boards and the signal in view show it at the moment.
struct CalloutCues {
  int32_t signTarget = 999;  // the wayside board in view (900/901 timetable checks), 999 none
  bool limitWarned = false;  // a speed-limit board blinks
  int32_t limitPicture = 0;  // its picture
  int signalShown = 999;     // the signal picture shown, 999 none
  int signalNumber = 999;    // the shown signal's number
  int signalInView = 999;    // its index in the signal table
};

class Callouts {
 public:
  Callouts(const Vehicle& vehicle, const Route& route, const SoundBank& bank, Channels& channels)
      : m_vehicle(vehicle), m_route(route), m_bank(bank), m_channels(channels) {}
  void init() { m_state = CalloutState{}; }
  const CalloutState& state() const { return m_state; }

  void kanko_queue_add(int clip);
  void kanko_queue_play();  // step 42
  void S1Click();           // the menu's "empty the queue"
  void kanko_add(int kind, int signalInView);
  void Timekanko(int32_t time, int32_t clockTicks);
  void Timecheck(int kind, int32_t frame, int32_t clockTicks);
  // Enter: the board, the warned limit or the signal in view, with the timetable checks.
  void calloutRequest(int32_t roundedSpeed, const CalloutCues& cues, int32_t frame,
                      int32_t clockTicks);
  // The cab window closes.
  void clear() { m_state.queue.fill(-1); }

 private:
  friend struct StateAccess;
  void enqueue(WaveId wave);

  const Vehicle& m_vehicle;
  const Route& m_route;
  const SoundBank& m_bank;
  Channels& m_channels;
  CalloutState m_state;
};

}  // namespace velmoria
