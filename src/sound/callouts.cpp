// The call-out rules and the clip queue.
#include "sound/callouts.h"

#include <cstdlib>

#include "route/signal_colours.h"

namespace velmoria {

namespace {

constexpr int kNoSign = 999;

WaveId waveAt(const std::vector<WaveId>& waves, int index) {
  return index >= 0 && static_cast<size_t>(index) < waves.size() ? waves[index] : -1;
}

}  // namespace

// An absent clip leaves its slot empty, so it is never queued.
void Callouts::enqueue(WaveId wave) {
  CalloutState& q = m_state;
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

void Callouts::kanko_queue_add(int clip) {
  enqueue(waveAt(m_bank.kanko, clip));
}

void Callouts::kanko_queue_play() {
  CalloutState& q = m_state;
  if (q.busy || m_channels.playing(kCalloutChannel)) return;
  if (q.playing) {
    q.playing = false;
    for (size_t i = 0; i + 1 < q.queue.size(); ++i) q.queue[i] = q.queue[i + 1];
    q.queue.back() = -1;
  }
  if (q.queue.front() < 0) return;
  m_channels.attach(kCalloutChannel, q.queue.front());
  m_channels.startOnce(kCalloutChannel);
  q.playing = true;
}

void Callouts::S1Click() {
  m_state.queue.fill(-1);
}

void Callouts::kanko_add(int kind, int signalInView) {
  for (const SignalKankoEntry& e : m_route.SignalKankoTable)
    if (e.signal == signalInView && e.kind == kind - 1) kanko_queue_add(e.clip);
}

void Callouts::Timekanko(int32_t t, int32_t c) {
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

void Callouts::Timecheck(int kind, int32_t frame, int32_t clockTicks) {
  for (const TimeEventEntry& e : m_route.TimeEventTable)
    if (e.kind == kind && e.startFrame < frame && frame < e.endFrame) Timekanko(e.time, clockTicks);
}

void Callouts::calloutRequest(int32_t roundedSpeed, const CalloutCues& cues, int32_t frame,
                              int32_t clockTicks) {
  const int k = static_cast<int>(m_vehicle.DriveSoundList.size() + m_route.SoundDataList.size()) +
                m_route.kankoClipCount();
  const bool moving = roundedSpeed != 0;
  const int32_t target = cues.signTarget;
  if (target != kNoSign && moving && target + k != m_state.lastKey) {
    if (target == 900) {
      Timecheck(0, frame, clockTicks);
    } else if (target == 901) {
      Timecheck(1, frame, clockTicks);
    } else {
      enqueue(waveAt(m_bank.boards, target));
      m_state.lastKey = target + k;
    }
    return;
  }
  if (cues.limitWarned && target == kNoSign && moving && cues.limitPicture + k != m_state.lastKey) {
    enqueue(waveAt(m_bank.boards, cues.limitPicture));
    m_state.lastKey = cues.limitPicture + k;
    return;
  }
  if (cues.signalShown != 999) {
    for (size_t n = 0; n < m_route.KankoSound2.size(); ++n) {
      if (static_cast<int>(n) == cues.signalNumber) {
        kanko_add(1, cues.signalInView);
        kanko_queue_add(kKankoSound1Count + static_cast<int>(n));
      }
    }
    switch (colourGroup(cues.signalShown)) {
      case ColourGroup::R:
        kanko_queue_add(0);
        break;
      case ColourGroup::YY:
        kanko_queue_add(1);
        break;
      case ColourGroup::Y:
        kanko_queue_add(2);
        break;
      case ColourGroup::YG:
        kanko_queue_add(3);
        break;
      case ColourGroup::G:
        kanko_queue_add(4);
        break;
      case ColourGroup::None:
        if (cues.signalShown == 1) kanko_queue_add(5);
        break;
    }
  }
  kanko_add(2, cues.signalInView);
}

}  // namespace velmoria
