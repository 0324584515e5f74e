// The driver's call-outs and the twelve-slot queue that plays their clips one after another on
// channel 254. The queue holds wave data: the commentary clips and the board clips.
#include <cstdlib>

#include "run/run.h"
#include "run/signals.h"
#include "sound/channel_ops.h"

namespace velmoria {

namespace {

constexpr int kNoSign = 999;

WaveId waveAt(const std::vector<WaveId>& waves, int index) {
  return index >= 0 && static_cast<size_t>(index) < waves.size() ? waves[index] : -1;
}

// An absent clip leaves its slot empty, so it is never queued.
void enqueue(Run& run, WaveId wave) {
  CalloutState& q = run.callouts;
  q.busy = true;
  if (wave >= 0) {
    for (WaveId& slot : q.queue) {
      if (slot < 0) {
        slot = wave;
        break;
      }
    }
  }
  q.busy = false;
}

void queueBoard(Run& run, int picture) {
  enqueue(run, waveAt(run.data.sounds.boards, picture));
}

}  // namespace

void Run::kanko_queue_add(int clip) {
  enqueue(*this, waveAt(data.sounds.kanko, clip));
}

void Run::kanko_queue_play() {
  CalloutState& q = callouts;
  if (q.busy || channelPlaying(*this, kCalloutChannel)) return;
  if (q.playing) {
    q.playing = false;
    for (size_t i = 0; i + 1 < q.queue.size(); ++i) q.queue[i] = q.queue[i + 1];
    q.queue.back() = -1;
  }
  if (q.queue.front() < 0) return;
  if (services.sound) services.sound->attach(kCalloutChannel, q.queue.front());
  startOnce(kCalloutChannel);
  q.playing = true;
}

void Run::S1Click() {
  callouts.queue.fill(-1);
}

void Run::kanko_add(int kind) {
  for (const SignalKankoEntry& e : route.SignalKankoTable)
    if (e.signal == signals.inView && e.kind == kind - 1) kanko_queue_add(e.clip);
}

void Run::Timekanko(int32_t t) {
  const int32_t c = pos.clockTicks;
  if (t - 450 < c && c < t + 450) {
    kanko_queue_add(17);
    return;
  }
  const int64_t d = std::llabs(static_cast<int64_t>(c) - t);
  if (d > 3600) return;
  static constexpr struct {
    int64_t above;
    int clip;
  } kSteps[] = {{3150, 12}, {2700, 11}, {2250, 10}, {1800, 9}, {1350, 8}, {900, 7}, {450, 6}};
  for (const auto& step : kSteps) {
    if (d > step.above) {
      kanko_queue_add(step.clip);
      break;
    }
  }
  if (t < c) kanko_queue_add(13);
  if (t > c) kanko_queue_add(15);
}

void Run::calloutRequest() {
  const int k = static_cast<int>(vehicle.DriveSoundList.size() + route.SoundDataList.size()) +
                route.kankoClipCount();
  const bool moving = roundedSpeed() != 0;
  const int32_t target = limits.signTarget;
  if (target != kNoSign && moving && target + k != callouts.lastKey) {
    if (target == 900) {
      Timecheck(0);
    } else if (target == 901) {
      Timecheck(1);
    } else {
      queueBoard(*this, target);
      callouts.lastKey = target + k;
    }
    return;
  }
  if (limits.blink && target == kNoSign && moving &&
      limits.calloutPicture + k != callouts.lastKey) {
    queueBoard(*this, limits.calloutPicture);
    callouts.lastKey = limits.calloutPicture + k;
    return;
  }
  if (signals.shownIndex != 999) {
    for (size_t n = 0; n < route.KankoSound2.size(); ++n) {
      if (static_cast<int>(n) == signals.shownNumber) {
        kanko_add(1);
        kanko_queue_add(kKankoSound1Count + static_cast<int>(n));
      }
    }
    switch (aspectGroup(signals.shownIndex)) {
      case AspectGroup::R:
        kanko_queue_add(0);
        break;
      case AspectGroup::YY:
        kanko_queue_add(1);
        break;
      case AspectGroup::Y:
        kanko_queue_add(2);
        break;
      case AspectGroup::YG:
        kanko_queue_add(3);
        break;
      case AspectGroup::G:
        kanko_queue_add(4);
        break;
      case AspectGroup::None:
        if (signals.shownIndex == 1) kanko_queue_add(5);
        break;
    }
  }
  kanko_add(2);
}

}  // namespace velmoria
