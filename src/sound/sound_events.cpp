// The sounds that follow the train: squeal, brake release, route cues, announcements,
// Doppler sources, running and motor sounds, the diesel engine and its gear indicator.
#include "sound/sound_events.h"

#include <cmath>

#include "run/run.h"
#include "sound/channel_ops.h"

namespace velmoria {

void Run::initSounds() {
  const size_t motors = vehicle.MotorSoundTable.size();
  sounds = SoundState{};
  sounds.cueStarted.assign(route.SoundCueTable.size(), 0);
  sounds.motorLevel.assign(motors, 1.0L);
  sounds.motorGain.assign(motors, 1.0L);
  sounds.masterGain = 1.0L;
  callouts = CalloutState{};
}

void brakeSqueal(Run& run) {
  const int ch = run.vehicle.Sound_squeak;
  const long double v = std::fabs(run.train.speed.ld());
  const int e = run.handle.effectiveBrake;
  if (e < 0 && v > 3 && v < 25 && !channelPlaying(run, ch)) run.startLooped(ch);
  const auto fade = [&](int by) {
    const int64_t volume = static_cast<int64_t>(channelVolume(run, ch)) - by;
    setChannelVolume(run, ch, volume);
    if (volume < -5000) stopChannel(run, ch);
  };
  if (e == 0 || v >= 45) fade(100);
  if (v < 1) fade(1000);
  const long double p = run.air.bc.ld();
  if (e < 0 && v > 1 && v < 25 && p > 0) setChannelVolume(run, ch, roundEven(-250000 / p));
}

void brakeRelease(Run& run) {
  const Vehicle& veh = run.vehicle;
  const HandleState& hs = run.handle;
  if (veh.BrakeType < 1 || hs.protectionBrake || hs.atsEmergency) return;
  bool& mark = run.sounds.releaseMark;
  const int h = hs.brakeStep;
  const int e = hs.effectiveBrake;
  const long double p = run.air.bc.ld();
  if (h == 0 && e != -1 && p > 0) {
    if (!mark && !channelPlaying(run, veh.Sound_br2)) {
      run.startOnce(veh.Sound_br2);
      mark = true;
    }
  } else if (e >= h) {
    mark = false;
  } else if (veh.Brake > 0 && static_cast<long double>(veh.EBPress) * -h / veh.Brake < p - 10) {
    if (!mark && !channelPlaying(run, veh.Sound_br1)) {
      run.startOnce(veh.Sound_br1);
      mark = true;
    }
  } else {
    mark = false;
  }
}

void routeSoundCues(Run& run) {
  const auto& table = run.route.SoundCueTable;
  auto& started = run.sounds.cueStarted;
  const int32_t frame = run.pos.frame;
  const long double v = run.train.speed.ld();
  const bool moving = v > 0;
  for (const uint32_t i : run.index.soundCues.at(int64_t{frame})) {
    const SoundCueEntry& c = table[i];
    const bool atStart = std::llabs(static_cast<int64_t>(frame) - c.startFrame) < 5;
    // A looping cue ends at its end frame.
    const bool atEnd = c.type >= 1 && std::llabs(static_cast<int64_t>(frame) - c.endFrame) < 5;
    const bool inside = c.startFrame < frame && frame < c.endFrame;
    if (!atStart && !atEnd && !inside) continue;

    const int ch = run.routeChannel(c.sound);
    const bool hasReference = c.referenceSpeed > 0;
    const bool volumeFollows = moving && c.volumeFollows == 1 && hasReference;
    const auto frequency = [&] {
      const long double factor = c.followSpeed != 0 && hasReference ? v / c.referenceSpeed : 1;
      setChannelFrequency(run, ch, static_cast<double>(factor > 0 ? factor : 0));
    };
    const auto followedVolume = [&] { return levelOf(v / c.referenceSpeed); };
    if (atStart) {
      frequency();
      setChannelVolume(run, ch, volumeFollows ? followedVolume() : 0);
      if (!started[i]) {
        if (c.type == 0)
          run.startOnce(ch);
        else
          run.startLooped(ch);
      }
      started[i] = 1;
    }
    if (atEnd && started[i]) stopChannel(run, ch);
    if (inside) {
      frequency();
      int64_t volume = volumeFollows ? followedVolume() : kSilent;
      if (v < 1) volume = kSilent;
      setChannelVolume(run, ch, volume);
    }
  }
}

void announcements(Run& run) {
  const Route& r = run.route;
  if (r.OneMan != 0) return;
  const int32_t frame = run.pos.frame;
  for (const uint32_t i : run.index.announcements.at(int64_t{frame})) {
    const AnnounceEntry& a = r.AnnounceTable[i];
    const int ch = run.routeChannel(a.sound);
    if (a.frame - 5 < frame && frame < a.frame + 5 && !channelPlaying(run, ch)) run.startOnce(ch);
  }
}

void Run::nextAnnouncement() {
  if (route.OneMan != 1) return;
  const auto& table = route.AnnounceTable;
  int& index = sounds.announceIndex;
  if (index < 0 || static_cast<size_t>(index) >= table.size()) return;
  if (channelPlaying(*this, routeChannel(table[index].sound))) return;
  if (index > 0) stopChannel(*this, routeChannel(table[index - 1].sound));
  startOnce(routeChannel(table[index].sound));
  ++index;
}

void Run::previousAnnouncement() {
  if (route.OneMan != 1) return;
  const auto& table = route.AnnounceTable;
  int& index = sounds.announceIndex;
  if (index <= 0) return;
  if (static_cast<size_t>(index - 1) < table.size())
    stopChannel(*this, routeChannel(table[index - 1].sound));
  --index;
}

double dopplerFactor(long double x, long double s, long double v) {
  if (x == s) return 0;
  const long double c = std::cos(std::atan(300 / (s - x)));
  const long double denominator = x < s ? 1220 - c * v : 1220 + c * v;
  if (!(denominator > 0)) return 0;
  return static_cast<double>(1220 / denominator);
}

void dopplerSources(Run& run) {
  const auto& table = run.route.DopplerTable;
  const long double x = run.pos.distance;
  const long double v = run.train.speed.ld();
  bool any = false;
  for (const uint32_t i : run.index.doppler.at(x)) {
    const DopplerEntry& e = table[i];
    const long double gap = std::fabs(x - e.distance);
    if (!(gap < e.radius)) continue;
    any = true;
    const int ch = run.routeChannel(e.sound);
    if (!channelPlaying(run, ch)) run.startLooped(ch);
    // Exactly at the source the pitch keeps the factor of the previous tick.
    const double factor = dopplerFactor(x, e.distance, v);
    if (factor > 0) setChannelFrequency(run, ch, factor);
    setChannelVolume(run, ch, levelOf((e.radius - gap) / e.radius));
  }
  if (any) return;
  // Many sources share a few channels: ask each channel once.
  for (const int ch : run.index.dopplerChannels)
    if (channelPlaying(run, ch)) stopChannel(run, ch);
}

void runningSound(Run& run) {
  const int64_t speed = std::llabs(run.train.speed.rounded());
  if (speed >= 120) return;
  const int b = static_cast<int>(speed / 10);
  const int q = static_cast<int>(speed % 10);
  if (speed >= 11 && channelPlaying(run, b - 1)) stopChannel(run, b - 1);
  if (speed < 110 && channelPlaying(run, b + 2)) stopChannel(run, b + 2);
  if (!channelPlaying(run, b)) run.startLooped(b);
  if (!channelPlaying(run, b + 1)) run.startLooped(b + 1);
  int w1 = 100 - 10 * q;
  int w2 = 10 * q;
  if (w1 == 0) w1 = 1;
  if (w2 == 0) w2 = 1;
  setChannelVolume(run, b, levelOf(w1 / 100.0L));
  setChannelVolume(run, b + 1, levelOf(w2 / 100.0L));
}

void motorSounds(Run& run) {
  const auto& table = run.vehicle.MotorSoundTable;
  SoundState& st = run.sounds;
  const HandleState& h = run.handle;
  // Motors turn the same way forwards and backwards: the pitch follows the absolute speed.
  const long double v = std::fabs(run.train.speed.ld());
  for (size_t i = 0; i < table.size(); ++i) {
    const MotorSoundEntry& m = table[i];
    const int ch = kMotorChannelBase + static_cast<int>(i);
    if (m.s0 < v && v < m.s1) {
      const long double t = (v - m.s0) / (m.s1 - m.s0);
      setChannelFrequency(run, ch, static_cast<double>(m.f0 + (m.f1 - m.f0) * t));
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
    setChannelVolume(run, ch,
                     levelOf(st.motorLevel[i] * st.motorGain[i] * st.masterGain / 1000000));
    if (!channelPlaying(run, ch)) run.startLooped(ch);
  }
}

void engineSoundAndGear(Run& run) {
  const Vehicle& v = run.vehicle;
  HandleState& h = run.handle;
  SoundState& st = run.sounds;
  if (v.Engine_Type == 0) {
    const int idle = v.EngineSound[1];
    const int doorsOpen = v.EngineSound[2];
    const int wanted = h.doorOpen ? doorsOpen : idle;
    if (!channelPlaying(run, wanted)) {
      stopChannel(run, idle);
      stopChannel(run, doorsOpen);
      run.startLooped(wanted);
    }
    if (h.effectivePower != 0 && !h.gearChange) {
      if (st.engineVolume < 95) st.engineVolume += 5;
    } else if (st.engineVolume > 3) {
      st.engineVolume -= 3;
    }
    const int engine = v.EngineSound[0];
    setChannelVolume(run, engine, levelOf(st.engineVolume / 100));
    if (!channelPlaying(run, engine)) run.startLooped(engine);
    setChannelFrequency(run, engine, static_cast<double>(run.train.engineLevel / 200 + 0.5L));
  }

  PictureView& lamp = run.display.Lamp_Gear;
  const size_t pictures = run.data.images.GearImageList.images.size();
  if (h.effectivePower >= 1 && st.gearPictureShown != h.gearIndex) {
    const int picture = h.gearIndex + 1;
    lamp.picture = picture >= 0 && static_cast<size_t>(picture) < pictures ? picture : -1;
    st.gearPictureShown = h.gearIndex;
  }
  if (st.gearPictureShown >= 0 && (h.effectivePower == 0 || h.gearChange)) {
    lamp.picture = pictures > 0 ? 0 : -1;
    st.gearPictureShown = -1;
  }
  if (std::fabs(run.train.speed.ld()) < 25) {
    h.gearIndex = 0;
    h.gearChange = false;
  }
}

}  // namespace velmoria
