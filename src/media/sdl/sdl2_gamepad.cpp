#include "media/sdl/sdl2_gamepad.h"

#include <SDL.h>

namespace velmoria {

namespace {
static_assert(kPadButtons == SDL_CONTROLLER_BUTTON_MAX);
static_assert(kPadAxes == SDL_CONTROLLER_AXIS_MAX);
static_assert(static_cast<int>(PadButton::Touchpad) == SDL_CONTROLLER_BUTTON_TOUCHPAD);
static_assert(static_cast<int>(PadAxis::RightTrigger) == SDL_CONTROLLER_AXIS_TRIGGERRIGHT);

// The events a poll looks at; more would only be pads plugged in and out faster than a
// person can.
constexpr int kMaxEvents = 64;
}  // namespace

Sdl2Gamepad::Sdl2Gamepad() {
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  m_initialised = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

Sdl2Gamepad::~Sdl2Gamepad() {
  close();
  if (m_initialised) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void Sdl2Gamepad::close() {
  if (m_pad) SDL_GameControllerClose(m_pad);
  m_pad = nullptr;
  m_instance = -1;
}

void Sdl2Gamepad::openFirst() {
  for (int i = m_leaveFirst ? 1 : 0; i < SDL_NumJoysticks(); ++i) {
    if (!SDL_IsGameController(i)) continue;
    m_pad = SDL_GameControllerOpen(i);
    if (!m_pad) continue;
    m_instance = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(m_pad));
    ++m_id;
    return;
  }
}

void Sdl2Gamepad::takeDeviceEvents() {
  SDL_PumpEvents();
  SDL_Event events[kMaxEvents];
  const int n = SDL_PeepEvents(events, kMaxEvents, SDL_GETEVENT, SDL_CONTROLLERDEVICEADDED,
                               SDL_CONTROLLERDEVICEREMAPPED);
  for (int i = 0; i < n; ++i) {
    if (events[i].type == SDL_CONTROLLERDEVICEREMOVED && events[i].cdevice.which == m_instance)
      close();
  }
  // Nobody else reads SDL's queue: the joystick's motion events would only pile up there.
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

GamepadState Sdl2Gamepad::poll() {
  GamepadState state;
  if (!m_initialised) return state;
  takeDeviceEvents();
  if (m_pad && !SDL_GameControllerGetAttached(m_pad)) close();
  if (m_pad && m_leaveFirst && SDL_NumJoysticks() > 0 &&
      SDL_JoystickGetDeviceInstanceID(0) == m_instance)
    close();
  // A pad plugged in is found here: its added event only says that there is one to look for.
  if (!m_pad) {
    openFirst();
    if (!m_pad) return state;
    // A pad opened just now reads at rest until SDL has looked at it once.
    SDL_GameControllerUpdate();
  }
  state.connected = true;
  state.id = m_id;
  if (const char* name = SDL_GameControllerName(m_pad)) state.name = name;
  for (int a = 0; a < kPadAxes; ++a)
    state.axes[static_cast<size_t>(a)] =
        SDL_GameControllerGetAxis(m_pad, static_cast<SDL_GameControllerAxis>(a));
  for (int b = 0; b < kPadButtons; ++b)
    state.buttons[static_cast<size_t>(b)] =
        SDL_GameControllerGetButton(m_pad, static_cast<SDL_GameControllerButton>(b)) != 0;
  return state;
}

}  // namespace velmoria
