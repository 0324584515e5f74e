// The creation of the cab window, phase by phase, each announced on the title window's status
// line before the window itself is shown. A data error ends the process with its message.
#include <QApplication>

#include "frame/startup.h"
#include "frame/startup_error.h"
#include "sound/sound_bank.h"
#include "view/cab_window_qt.h"

namespace velmoria {

void CabWindow::create() {
  try {
    // A new window shows COM11 checked: the kind follows it so that the two agree.
    controllerClick(0);

    // Phases 1 to 3: the button map, the pictures the readers need, the settings files.
    const QImage overlay = QtImageLoader::readImage(dataPath("image\\atsp.bmp"));
    RunData data = readRunData(
        m_ctx.app, m_ctx.folder, m_pictures, m_ctx.media.settings.get(),
        [this](const std::string& text) { m_ctx.status(QString::fromStdString(text)); });

    // Phase 4: the cab panel.
    m_ctx.status(QString::fromUtf8("運転台を描画しています"));
    m_panel->buildRunTime(data.vehicle, data.route, data.images);

    // Phase 5: the track video, for the core (frame count, branch switch) and the decoder.
    const auto videoFile = dataPath(data.strings.Path + data.route.DataName + ".avi");
    m_coreVideo = m_ctx.media.makeVideo();
    m_coreVideo->open(videoFile);
    m_cache = std::make_unique<FrameCache>(m_ctx.media.makeVideo);
    m_cache->open(videoFile);

    // Phases 6 and 7: the sound bank (it announces both of its phases).
    QString lastStatus;
    data.sounds = loadSoundBank(*m_ctx.media.sound, data.vehicle, data.route, m_ctx.folder,
                                [&](const std::string& text) {
                                  lastStatus = QString::fromStdString(text);
                                  m_ctx.status(lastStatus);
                                });

    // Phase 8: the environment.
    const QString setup = QString::fromUtf8("環境をセットアップしています");
    if (lastStatus != setup) m_ctx.status(setup);
    RunServices services;
    services.sound = m_ctx.media.sound.get();
    services.video = m_coreVideo.get();
    services.joystick = m_ctx.media.joystick.get();
    services.clock = m_ctx.media.clock.get();
    services.host = this;
    services.folder = &m_ctx.folder;
    m_run = std::make_unique<Run>(m_ctx.app, std::move(data), services);
    m_panel->setLists(&m_run->data.images);
    // The timetable card's size, for the card rules of the run (F1 to F3, the slide).
    if (QWidget* card = m_panel->component("timetable")) {
      m_run->display.cardWidth = card->width();
      m_run->display.cardHeight = card->height();
    }
    if (m_run->vehicle.fileName == "train_E233.dat") m_panel->createE233Speed();
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
    refresh();
  } catch (const StartupError& error) {
    fail(QString::fromStdString(error.what()));
  }
}

}  // namespace velmoria
