#pragma once
// When the run's sounds start, stop and loop, and how their volume and pitch follow the train:
// brake squeal and release, route cues, announcements, Doppler sources, the running sound,
// the motor sounds and the diesel engine with its gear indicator. Steps are called by
// Timer1Timer on the UI thread; speeds km/h, distances cm, volumes hundredths of a decibel.
#include <cstdint>
#include <vector>

#include "frame/fixed.h"
#include "frame/image_lists.h"
#include "route/route.h"
#include "route/route_index.h"
#include "media/channels.h"
#include "sound/sound_bank.h"
#include "vehicle/air_brake.h"
#include "vehicle/handle_model.h"
#include "vehicle/vehicle.h"
#include "view/cab_display.h"

namespace velmoria {

// The factor a Doppler source's pitch takes for a train at distance x (cm) and speed v (km/h)
// passing a source at s, 3 m beside the track; 0 when the train is exactly at the source.
double dopplerFactor(long double x, long double s, long double v);

struct SoundState {
  std::vector<uint8_t> cueStarted;
  bool releaseMark = false;
  int announceIndex = 0;
  std::vector<long double> motorLevel, motorGain;
  long double masterGain = 0;
  long double engineVolume = 0;
  int gearPictureShown = -1;
};

class SoundEvents {
 public:
  SoundEvents(const Vehicle& vehicle, const Route& route, const RouteIndex& index,
              const ImageLists& images, CabDisplay& display, Channels& channels,
              int routeChannelBase)
      : m_vehicle(vehicle),
        m_route(route),
        m_index(index),
        m_images(images),
        m_display(display),
        m_channels(channels),
        m_routeChannelBase(routeChannelBase) {}
  void init();
  const SoundState& state() const { return m_state; }

  void brakeSqueal(Fixed speed, const HandleState& handle, const AirState& air);  // step 4
  void brakeRelease(const HandleState& handle, const AirState& air);              // step 11
  void routeSoundCues(int32_t frame, Fixed speed);                                // step 14
  void announcements(int32_t frame);                                              // step 16
  void dopplerSources(long double distance, Fixed speed);                         // step 17
  void runningSound(Fixed speed);                                                 // step 33
  void motorSounds(Fixed speed, const HandleState& handle);                       // step 34
  // Step 35, after the engine level: the engine sound, the gear indicator, and below 25 km/h
  // the gear back in the converter.
  void engineSoundAndGear(Fixed speed, long double engineLevel, HandleModel& handle);

  // The one-man announcement keys ('1' and '-').
  void nextAnnouncement();
  void previousAnnouncement();
  // The station jump: the announcements go on from that station's.
  void setAnnouncement(int index) { m_state.announceIndex = index; }

 private:
  friend struct StateAccess;
  int routeChannel(int soundIndex) const { return m_routeChannelBase + soundIndex; }

  const Vehicle& m_vehicle;
  const Route& m_route;
  const RouteIndex& m_index;
  const ImageLists& m_images;
  CabDisplay& m_display;
  Channels& m_channels;
  int m_routeChannelBase;
  SoundState m_state;
};

}  // namespace velmoria
