#pragma once
// Speed limits, speed checks, the gradient board, tunnels and wayside signs. Steps are called
// by Timer1Timer on the UI thread. Speeds km/h, distances cm, gradients per mille.
#include <cstdint>
#include <string>
#include <vector>

#include "frame/fixed.h"
#include "frame/image_lists.h"
#include "route/route.h"
#include "route/route_index.h"
#include "run/signals.h"
#include "vehicle/vehicle.h"
#include "view/cab_display.h"

namespace velmoria {

// A gradient as the board shows it: one decimal place, rounded half away from zero ("10.0").
std::string gradientText(Fixed perMille);

constexpr int32_t kNoSign = 999;

struct LimitState {
  bool blink = false;
  int32_t lastDrawnLimit = 0;
  int32_t calloutPicture = 0;
  int32_t signTarget = kNoSign;  // 900/901 timetable-check boards
  Fixed currentGradient;         // per mille, from the slope table
};

class Limits {
 public:
  Limits(const Vehicle& vehicle, const Route& route, const RouteIndex& index,
         const ImageLists& images, CabDisplay& display)
      : m_vehicle(vehicle), m_route(route), m_index(index), m_images(images), m_display(display) {}
  void init() { m_state = LimitState{}; }
  const LimitState& state() const { return m_state; }

  void speedLimitBlink(int32_t tickCount);                               // step 9
  void slopeDisplay(int32_t frame);                                      // step 19
  void tunnels(int32_t frame);                                           // step 22
  void speedLimits(Fixed speed, long double distance, int32_t frame);    // step 27
  void speedChecks(int32_t frame, Fixed speed, Signals& signals);        // step 28
  void waysideSigns(int32_t frame, Fixed speed, long double remaining);  // step 32

  // The station jump: no gradient, no limit warned of.
  void stationJump();

 private:
  friend struct StateAccess;
  void clearSlope();

  const Vehicle& m_vehicle;
  const Route& m_route;
  const RouteIndex& m_index;
  const ImageLists& m_images;
  CabDisplay& m_display;
  LimitState m_state;
  std::vector<uint32_t> m_candidates;  // kept between ticks: joining two lists allocates nothing
};

}  // namespace velmoria
