#include "vehicle/vigilance.h"

#include "vehicle/handle_model.h"

namespace velmoria {

void Vigilance::init() {
  m_state = VigilanceState{};
  m_state.fitted = m_vehicle.EB == 1;
}

void Vigilance::driverInput() {
  m_state.counter = 0;
  m_channels.stop(m_vehicle.Sound_EBring);
  m_display.Lamp_EB = false;
}

void Vigilance::vigilanceDevice(bool followMode, Fixed speed, HandleModel& handle) {
  VigilanceState& st = m_state;
  if (followMode) st.fitted = false;
  if (st.fitted && speed.ld() > 1) ++st.counter;
  const int ring = m_vehicle.Sound_EBring;
  if (st.counter > 600) {
    if (!m_channels.playing(ring)) m_channels.startOnce(ring);
    m_display.Lamp_EB = true;
  }
  if (st.counter > 650) {
    m_channels.stop(ring);
    st.counter = 0;
    handle.setAtsEmergency(true);
    handle.masconupdate();
    handle.raisePowerAndBrakePending();
  }
}

}  // namespace velmoria
