#pragma once
// What the cab window tells the one who watches its run for the run report, the input record
// and the ghost: every input it gives the run's handlers (as a script command), each 33 ms
// step and tick, the branch video's reopening, and the end. The watcher only looks; it never
// acts on the run. The desktop application owns it for the cab window's life. UI thread.
#include "media/clock.h"
#include "media/joystick.h"
#include "replay/script.h"
#include "run/app_state.h"

namespace velmoria {

class Run;

class CabWatcher {
 public:
  virtual ~CabWatcher() = default;
  // The USB controller the run will poll: the device itself, or one that also tells the
  // watcher what it read.
  virtual Joystick* joystick(Joystick* device) { return device; }
  // The run is built. `replayClock` is the virtual clock of a replay, null for a live drive.
  virtual void created(const Run&, const AppState&, const Clock* /*replayClock*/) {}
  // An input, just before the cab window hands it to the run.
  virtual void input(const replay::ScriptCommand&) {}
  virtual void controllerKind(int /*kind*/) {}
  virtual void stepped() {}
  // After the tick, the keys it posted and the redraw.
  virtual void ticked(const Run&) {}
  // The branch video reopens during the tick running now.
  virtual void videoSwitched() {}
  // A replay has played its record to the end.
  virtual void replayEnded(const Run&) {}
  // The cab window closes (Back or the close box), before the run is closed.
  virtual void closing(const Run&) {}
};

}  // namespace velmoria
