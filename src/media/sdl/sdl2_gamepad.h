#pragma once
// Any game pad that SDL2's game-controller database knows (Xbox, PlayStation, Switch and
// generic pads, plus mappings from SDL_GAMECONTROLLERCONFIG), through the SDL_GameController
// API. Pads plugged in or pulled out are taken from SDL's device events at each poll; the
// first pad found is used until it goes, then the next one. UI thread only. Owns a reference
// to SDL's game-controller subsystem (and so its joystick and event subsystems) from
// construction to destruction; the desktop program makes one only while the driver has the
// pad switched on, so that with it off SDL runs as before.
#include "media/gamepad.h"

struct _SDL_GameController;

namespace velmoria {

class Sdl2Gamepad : public Gamepad {
 public:
  Sdl2Gamepad();
  ~Sdl2Gamepad() override;
  Sdl2Gamepad(const Sdl2Gamepad&) = delete;
  Sdl2Gamepad& operator=(const Sdl2Gamepad&) = delete;

  GamepadState poll() override;
  void leaveFirstJoystick(bool leave) override { m_leaveFirst = leave; }
  // False when SDL's game-controller subsystem could not start (poll() then finds no pad).
  bool available() const { return m_initialised; }

 private:
  void takeDeviceEvents();
  void openFirst();
  void close();

  bool m_initialised = false;
  bool m_leaveFirst = false;
  _SDL_GameController* m_pad = nullptr;
  int32_t m_instance = -1;
  int32_t m_id = 0;  // counts the pads opened
};

}  // namespace velmoria
