// The creation of the cab window: the core's creation sequence, with this window's panel built
// in its phase 4 and the frame cache opened on the track video in phase 5; each phase is
// announced on the title window's status line before the window itself is shown. A data error
// ends the process with its message.
#include <QApplication>

#include "frame/startup_error.h"
#include "frontend/core_texts_qt.h"
#include "run/creation.h"
#include "view/cab_window_qt.h"

namespace velmoria {

void CabWindow::create() {
  try {
    // A new window shows COM11 checked: the kind follows it so that the two agree.
    controllerClick(0);
    const QImage overlay = QtImageLoader::readImage(dataPath("image\\atsp.bmp"));

    m_coreVideo = m_ctx.media.makeVideo();
    m_cache = std::make_unique<FrameCache>(m_ctx.media.makeVideo);
    RunCreation creation{
        m_pictures,
        m_replay ? m_replay->sound() : *m_ctx.media.sound,
        *m_coreVideo,
        m_ctx.media.settings.get(),
        [this](const std::string& text) { m_ctx.status(coreText(text)); },
        [this](const RunData& data) {
          m_panel->buildRunTime(data.vehicle, data.route, data.images);
          const QWidget* card = m_panel->component("timetable");
          return card ? CardSize{card->width(), card->height()} : CardSize{};
        },
        [this](const std::filesystem::path& file) { m_cache->open(file); }};
    RunServices services;
    services.joystick = m_replay        ? &m_replay->joystick()
                        : m_ctx.watcher ? m_ctx.watcher->joystick(m_ctx.media.joystick.get())
                                        : m_ctx.media.joystick.get();
    services.clock = m_ctx.media.clock.get();
    services.host = this;
    m_run = createRun(m_ctx.app, m_ctx.folder, creation, std::move(services));

    m_panel->setLists(&m_run->data().images);
    if (m_run->vehicle().fileName == "train_E233.dat") m_panel->createE233Speed();
    applyMenuCaptions();
    fillStationMenu();
    m_video->attach(m_run.get(), m_cache.get(), m_ctx.media.clock.get(), overlay);
    m_video->lastDrawnFrame = 1;
    m_video->raise();  // the video area covers any panel picture inside it,
    // except the timetable card: one wider than the 160 pixels right of the video slides in
    // over the video and must still be read whole.
    if (QWidget* card = m_panel->component("timetable")) card->raise();
    m_idle.start();
    m_created = true;
    if (m_ctx.watcher)
      m_ctx.watcher->created(*m_run, m_ctx.app, m_replay ? &m_replay->clock() : nullptr);
    if (m_replay) m_replay->begin(*m_run, m_ctx.app);
    if (!m_replay) m_padTimer.start();  // a replay is driven by its record alone
    refresh();
  } catch (const StartupError& error) {
    fail(coreError(error.what()));
  }
}

}  // namespace velmoria
