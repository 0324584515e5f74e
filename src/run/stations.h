#pragma once
// Stations and the timetable clock: the door pilot lamp, the timetable card, the cab clock, the
// station zones with their doors and melodies, the stopping-point alert and the stop-position
// marker. Step functions are called by Timer1Timer on the UI thread. Times are clock ticks
// (thirtieths of a second), distances cm, screen positions pixels.
#include <cstddef>
#include <cstdint>
#include <string>

#include "view/cab_display.h"

namespace velmoria {

class Run;

// "HH:MM:SS" of a clock tick count; hours are not wrapped at 24.
std::string clockText(int32_t ticks);

void doorPilotLamp(Run& run);          // step 5
void timetableCardSlide(Run& run);     // step 8
void overrunAnnouncement(Run& run);    // step 15
void stationStops(Run& run);           // step 29
void stoppingPointAlert(Run& run);     // step 31
void stopPositionIndicator(Run& run);  // step 36

// The blink phase shared by the blinking indicators: hidden on multiples of 5 that are not
// multiples of 10, shown on multiples of 10, unchanged otherwise.
void blink(bool& visible, int32_t tickCount);

// Draws a picture of a list into a view, or clears the view when the list has no such picture.
void drawPicture(PictureView& view, int picture, size_t listSize);

}  // namespace velmoria
