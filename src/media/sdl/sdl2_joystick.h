#pragma once
// The first game controller through SDL2's joystick subsystem (no video, no events of our
// own): X and Y (axes 0 and 1) after the 5 % dead zone, buttons 0 to 15. A controller plugged
// in later is picked up at the next poll; with none, poll() reads zero axes and no buttons.
// UI thread only (the run loop's USB scan). Owns the SDL joystick subsystem reference.
#include "media/joystick.h"

struct _SDL_Joystick;

namespace velmoria {

class Sdl2Joystick : public Joystick {
 public:
  Sdl2Joystick();
  ~Sdl2Joystick() override;
  Sdl2Joystick(const Sdl2Joystick&) = delete;
  Sdl2Joystick& operator=(const Sdl2Joystick&) = delete;

  JoystickState poll() override;
  // False when SDL's joystick subsystem could not start (poll() then reads nothing).
  bool available() const { return m_initialised; }
  // Whether a controller is open after the last poll.
  bool connected() const { return m_joystick != nullptr; }

 private:
  bool m_initialised = false;
  _SDL_Joystick* m_joystick = nullptr;
};

}  // namespace velmoria
