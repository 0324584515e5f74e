#pragma once
// Stations and the timetable clock: the door pilot lamp, the timetable card, the cab clock, the
// station zones with their doors and melodies, the overrun announcement, the stopping-point
// alert and the stop-position marker. Steps are called by Timer1Timer on the UI thread. Times
// are clock ticks (thirtieths of a second), distances cm, screen positions pixels.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "frame/fixed.h"
#include "frame/image_lists.h"
#include "frame/strings_file.h"
#include "route/route.h"
#include "route/route_index.h"
#include "media/channels.h"
#include "vehicle/air_brake.h"
#include "vehicle/handle_model.h"
#include "vehicle/position.h"
#include "vehicle/vehicle.h"
#include "view/cab_display.h"

namespace velmoria {

// The caption at the terminus once the doors stand open and the melody is over.
extern const char* const kTerminusCaption;

// "HH:MM:SS" of a clock tick count; hours are not wrapped at 24.
std::string clockText(int32_t ticks);

// The blink phase shared by the blinking indicators: hidden on multiples of 5 that are not
// multiples of 10, shown on multiples of 10, unchanged otherwise.
void blink(bool& visible, int32_t tickCount);

// Draws a picture of a list into a view, or clears the view when the list has no such picture.
void drawPicture(PictureView& view, int picture, size_t listSize);

struct StationState {
  std::vector<uint8_t> atStation, departureSoundMark, doorsClosedMark, overrunMark;
  int current = 0;  // the station the train is at or heading to
  int inView = -1;
};

class Stations {
 public:
  Stations(const Vehicle& vehicle, const Route& route, const RouteIndex& index,
           const Strings& strings, const ImageLists& images, CabDisplay& display,
           Channels& channels, int routeChannelBase)
      : m_vehicle(vehicle),
        m_route(route),
        m_index(index),
        m_strings(strings),
        m_images(images),
        m_display(display),
        m_channels(channels),
        m_routeChannelBase(routeChannelBase) {}
  void init();
  const StationState& state() const { return m_state; }

  void doorPilotLamp(HandleModel& handle);  // step 5
  void timetableCardSlide();                // step 8
  void timecalc(int32_t clockTicks);        // step 10, every tenth tick: the clock and its hands
  void overrunAnnouncement(Fixed speed, bool doorOpen, long double remaining);  // step 15
  void stationStops(int32_t frame, int32_t clockTicks, int32_t roundedSpeed, HandleModel& handle,
                    AirBrake& air, Position& position);  // step 29
  void stoppingPointAlert(Fixed speed, long double remaining, bool doorOpen,
                          int32_t tickCount);         // step 31
  void stopPositionIndicator(long double remaining);  // step 36

  // The station jump to table entry b: the caption, the marks, the station shown.
  void stationJump(int b);

 private:
  friend struct StateAccess;
  int routeChannel(int soundIndex) const { return m_routeChannelBase + soundIndex; }

  const Vehicle& m_vehicle;
  const Route& m_route;
  const RouteIndex& m_index;
  const Strings& m_strings;
  const ImageLists& m_images;
  CabDisplay& m_display;
  Channels& m_channels;
  int m_routeChannelBase;
  StationState m_state;
  // Kept between ticks so that joining the two lists does not allocate.
  std::vector<uint32_t> m_busy, m_candidates;
};

}  // namespace velmoria
