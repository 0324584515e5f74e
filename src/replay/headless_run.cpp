#include "replay/headless_run.h"

#include "run/creation.h"
#include "view/panel_pictures.h"

namespace velmoria::replay {

HeadlessRun::HeadlessRun(const std::string& dataDir, const std::string& vehicleFile,
                         const std::string& routeFile, std::unique_ptr<VideoSource> video,
                         const KeyValueStore* buttons)
    : m_folder(dataDir), m_video(std::move(video)) {
  m_app.vehicleFile = vehicleFile;
  m_app.routeFile = routeFile;
  RunCreation creation{m_images,
                       m_sound,
                       *m_video,
                       buttons,
                       {},
                       [this](const RunData& data) {
                         return checkPanelPictures(data.vehicle, data.route, m_folder, m_images);
                       },
                       {}};
  RunServices services;
  services.joystick = &m_joystick;
  services.clock = &m_clock;
  services.host = this;
  m_run = createRun(m_app, m_folder, creation, std::move(services));
}

void HeadlessRun::videoSwitched(bool) {
  if (onVideoSwitch) onVideoSwitch();
}

}  // namespace velmoria::replay
