#include "media/sdl/sdl2_joystick.h"

#include <SDL.h>

namespace velmoria {

Sdl2Joystick::Sdl2Joystick() {
  // Without a window of SDL's own, joystick state would otherwise only update while SDL
  // thinks the application has focus.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  m_initialised = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
}

Sdl2Joystick::~Sdl2Joystick() {
  if (m_joystick) SDL_JoystickClose(m_joystick);
  if (m_initialised) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

JoystickState Sdl2Joystick::poll() {
  JoystickState state;
  if (!m_initialised) return state;
  SDL_JoystickUpdate();
  if (m_joystick && !SDL_JoystickGetAttached(m_joystick)) {
    SDL_JoystickClose(m_joystick);
    m_joystick = nullptr;
  }
  if (!m_joystick) {
    if (SDL_NumJoysticks() <= 0) return state;
    m_joystick = SDL_JoystickOpen(0);
    if (!m_joystick) return state;
    SDL_JoystickUpdate();
  }
  const int axes = SDL_JoystickNumAxes(m_joystick);
  if (axes > 0) state.x = applyDeadZone(SDL_JoystickGetAxis(m_joystick, 0));
  if (axes > 1) state.y = applyDeadZone(SDL_JoystickGetAxis(m_joystick, 1));
  const int buttons = SDL_JoystickNumButtons(m_joystick);
  for (int b = 0; b < static_cast<int>(state.buttons.size()) && b < buttons; ++b)
    state.buttons[b] = SDL_JoystickGetButton(m_joystick, b) != 0;
  return state;
}

}  // namespace velmoria
