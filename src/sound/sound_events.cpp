// The sounds that follow the train: squeal, brake release, route cues, announcements,
// Doppler sources, running and motor sounds, the diesel engine and its gear indicator.
#include "sound/sound_events.h"

#include <cmath>

namespace velmoria {

void SoundEvents::init() {
  const size_t motors = m_vehicle.MotorSoundTable.size();
  m_state = SoundState{};
  m_state.cueStarted.assign(m_route.SoundCueTable.size(), 0);
  m_state.motorLevel.assign(motors, 1.0L);
  m_state.motorGain.assign(motors, 1.0L);
  m_state.masterGain = 1.0L;
}

void SoundEvents::brakeSqueal(Fixed speed, const HandleState& handle, const AirState& air) {
  Channels& channels = m_channels;
  const int ch = m_vehicle.Sound_squeak;
  const long double v = std::fabs(speed.ld());
  const int e = handle.effectiveBrake;
  if (e < 0 && v > 3 && v < 25 && !channels.playing(ch)) channels.startLooped(ch);
  const auto fade = [&](int by) {
    const int64_t volume = static_cast<int64_t>(channels.volume(ch)) - by;
    channels.setVolume(ch, volume);
    if (volume < -5000) channels.stop(ch);
  };
  if (e == 0 || v >= 45) fade(100);
  if (v < 1) fade(1000);
  const long double p = air.bc.ld();
  if (e < 0 && v > 1 && v < 25 && p > 0) channels.setVolume(ch, roundEven(-250000 / p));
}

void SoundEvents::brakeRelease(const HandleState& hs, const AirState& air) {
  const Vehicle& veh = m_vehicle;
  if (veh.BrakeType < 1 || hs.protectionBrake || hs.atsEmergency) return;
  bool& mark = m_state.releaseMark;
  const int h = hs.brakeStep;
  const int e = hs.effectiveBrake;
  const long double p = air.bc.ld();
  if (h == 0 && e != -1 && p > 0) {
    if (!mark && !m_channels.playing(veh.Sound_br2)) {
      m_channels.startOnce(veh.Sound_br2);
      mark = true;
    }
  } else if (e >= h) {
    mark = false;
  } else if (veh.Brake > 0 && static_cast<long double>(veh.EBPress) * -h / veh.Brake < p - 10) {
    if (!mark && !m_channels.playing(veh.Sound_br1)) {
      m_channels.startOnce(veh.Sound_br1);
      mark = true;
    }
  } else {
    mark = false;
  }
}

void SoundEvents::routeSoundCues(int32_t frame, Fixed speed) {
  Channels& channels = m_channels;
  const auto& table = m_route.SoundCueTable;
  auto& started = m_state.cueStarted;
  const long double v = speed.ld();
  const bool moving = v > 0;
  for (const uint32_t i : m_index.soundCues.at(int64_t{frame})) {
    const SoundCueEntry& c = table[i];
    const bool atStart = std::llabs(static_cast<int64_t>(frame) - c.startFrame) < 5;
    // A looping cue ends at its end frame.
    const bool atEnd = c.type >= 1 && std::llabs(static_cast<int64_t>(frame) - c.endFrame) < 5;
    const bool inside = c.startFrame < frame && frame < c.endFrame;
    if (!atStart && !atEnd && !inside) continue;

    const int ch = routeChannel(c.sound);
    const bool hasReference = c.referenceSpeed > 0;
    const bool volumeFollows = moving && c.volumeFollows == 1 && hasReference;
    const auto frequency = [&] {
      const long double factor = c.followSpeed != 0 && hasReference ? v / c.referenceSpeed : 1;
      channels.setFrequency(ch, static_cast<double>(factor > 0 ? factor : 0));
    };
    const auto followedVolume = [&] { return levelOf(v / c.referenceSpeed); };
    if (atStart) {
      frequency();
      channels.setVolume(ch, volumeFollows ? followedVolume() : 0);
      if (!started[i]) {
        if (c.type == 0)
          channels.startOnce(ch);
        else
          channels.startLooped(ch);
      }
      started[i] = 1;
    }
    if (atEnd && started[i]) channels.stop(ch);
    if (inside) {
      frequency();
      int64_t volume = volumeFollows ? followedVolume() : kSilent;
      if (v < 1) volume = kSilent;
      channels.setVolume(ch, volume);
    }
  }
}

void SoundEvents::announcements(int32_t frame) {
  const Route& r = m_route;
  if (r.OneMan != 0) return;
  for (const uint32_t i : m_index.announcements.at(int64_t{frame})) {
    const AnnounceEntry& a = r.AnnounceTable[i];
    const int ch = routeChannel(a.sound);
    if (a.frame - 5 < frame && frame < a.frame + 5 && !m_channels.playing(ch))
      m_channels.startOnce(ch);
  }
}

void SoundEvents::nextAnnouncement() {
  if (m_route.OneMan != 1) return;
  const auto& table = m_route.AnnounceTable;
  int& index = m_state.announceIndex;
  if (index < 0 || static_cast<size_t>(index) >= table.size()) return;
  if (m_channels.playing(routeChannel(table[index].sound))) return;
  if (index > 0) m_channels.stop(routeChannel(table[index - 1].sound));
  m_channels.startOnce(routeChannel(table[index].sound));
  ++index;
}

void SoundEvents::previousAnnouncement() {
  if (m_route.OneMan != 1) return;
  const auto& table = m_route.AnnounceTable;
  int& index = m_state.announceIndex;
  if (index <= 0) return;
  if (static_cast<size_t>(index - 1) < table.size())
    m_channels.stop(routeChannel(table[index - 1].sound));
  --index;
}

double dopplerFactor(long double x, long double s, long double v) {
  if (x == s) return 0;
  const long double c = std::cos(std::atan(300 / (s - x)));
  const long double denominator = x < s ? 1220 - c * v : 1220 + c * v;
  if (!(denominator > 0)) return 0;
  return static_cast<double>(1220 / denominator);
}

void SoundEvents::dopplerSources(long double x, Fixed speed) {
  Channels& channels = m_channels;
  const auto& table = m_route.DopplerTable;
  const long double v = speed.ld();
  bool any = false;
  for (const uint32_t i : m_index.doppler.at(x)) {
    const DopplerEntry& e = table[i];
    const long double gap = std::fabs(x - e.distance);
    if (!(gap < e.radius)) continue;
    any = true;
    const int ch = routeChannel(e.sound);
    if (!channels.playing(ch)) channels.startLooped(ch);
    // Exactly at the source the pitch keeps the factor of the previous tick.
    const double factor = dopplerFactor(x, e.distance, v);
    if (factor > 0) channels.setFrequency(ch, factor);
    channels.setVolume(ch, levelOf((e.radius - gap) / e.radius));
  }
  if (any) return;
  // Many sources share a few channels: ask each channel once.
  for (const int ch : m_index.dopplerChannels)
    if (channels.playing(ch)) channels.stop(ch);
}

void SoundEvents::runningSound(Fixed trainSpeed) {
  Channels& channels = m_channels;
  const int64_t speed = std::llabs(trainSpeed.rounded());
  if (speed >= 120) return;
  const int b = static_cast<int>(speed / 10);
  const int q = static_cast<int>(speed % 10);
  if (speed >= 11 && channels.playing(b - 1)) channels.stop(b - 1);
  if (speed < 110 && channels.playing(b + 2)) channels.stop(b + 2);
  if (!channels.playing(b)) channels.startLooped(b);
  if (!channels.playing(b + 1)) channels.startLooped(b + 1);
  int w1 = 100 - 10 * q;
  int w2 = 10 * q;
  if (w1 == 0) w1 = 1;
  if (w2 == 0) w2 = 1;
  channels.setVolume(b, levelOf(w1 / 100.0L));
  channels.setVolume(b + 1, levelOf(w2 / 100.0L));
}

void SoundEvents::motorSounds(Fixed speed, const HandleState& h) {
  Channels& channels = m_channels;
  const auto& table = m_vehicle.MotorSoundTable;
  SoundState& st = m_state;
  // Motors turn the same way forwards and backwards: the pitch follows the absolute speed.
  const long double v = std::fabs(speed.ld());
  for (size_t i = 0; i < table.size(); ++i) {
    const MotorSoundEntry& m = table[i];
    const int ch = kMotorChannelBase + static_cast<int>(i);
    if (m.s0 < v && v < m.s1) {
      const long double t = (v - m.s0) / (m.s1 - m.s0);
      channels.setFrequency(ch, static_cast<double>(m.f0 + (m.f1 - m.f0) * t));
      st.motorLevel[i] = m.l0 + (m.l1 - m.l0) * t;
    } else {
      st.motorLevel[i] = 1;
    }
    const bool active = m.kind == 2 || (m.kind == 0 && h.effectivePower >= 1) ||
                        (m.kind == 1 && h.effectiveBrake < 0);
    if (active)
      st.motorGain[i] = 100;
    else if (st.motorGain[i] > 16)
      st.motorGain[i] -= 10;
  }
  if (h.effectivePower != 0 || h.effectiveBrake != 0) {
    if (st.masterGain < 85) st.masterGain += 20;
  } else if (st.masterGain > 15) {
    st.masterGain -= 10;
  }
  for (size_t i = 0; i < table.size(); ++i) {
    const int ch = kMotorChannelBase + static_cast<int>(i);
    if (st.motorLevel[i] < 1) st.motorLevel[i] = 1;
    channels.setVolume(ch, levelOf(st.motorLevel[i] * st.motorGain[i] * st.masterGain / 1000000));
    if (!channels.playing(ch)) channels.startLooped(ch);
  }
}

void SoundEvents::engineSoundAndGear(Fixed speed, long double engineLevel, HandleModel& handle) {
  Channels& channels = m_channels;
  const Vehicle& v = m_vehicle;
  const HandleState& h = handle.state();
  SoundState& st = m_state;
  if (v.Engine_Type == 0) {
    const int idle = v.EngineSound[1];
    const int doorsOpen = v.EngineSound[2];
    const int wanted = h.doorOpen ? doorsOpen : idle;
    if (!channels.playing(wanted)) {
      channels.stop(idle);
      channels.stop(doorsOpen);
      channels.startLooped(wanted);
    }
    if (h.effectivePower != 0 && !h.gearChange) {
      if (st.engineVolume < 95) st.engineVolume += 5;
    } else if (st.engineVolume > 3) {
      st.engineVolume -= 3;
    }
    const int engine = v.EngineSound[0];
    channels.setVolume(engine, levelOf(st.engineVolume / 100));
    if (!channels.playing(engine)) channels.startLooped(engine);
    channels.setFrequency(engine, static_cast<double>(engineLevel / 200 + 0.5L));
  }

  PictureView& lamp = m_display.Lamp_Gear;
  const size_t pictures = m_images.GearImageList.images.size();
  if (h.effectivePower >= 1 && st.gearPictureShown != h.gearIndex) {
    const int picture = h.gearIndex + 1;
    lamp.picture = picture >= 0 && static_cast<size_t>(picture) < pictures ? picture : -1;
    st.gearPictureShown = h.gearIndex;
  }
  if (st.gearPictureShown >= 0 && (h.effectivePower == 0 || h.gearChange)) {
    lamp.picture = pictures > 0 ? 0 : -1;
    st.gearPictureShown = -1;
  }
  if (std::fabs(speed.ld()) < 25) handle.settleGear();
}

}  // namespace velmoria
