#include "support/desktop_fixture.h"

#include <QImage>
#include <QLabel>

#include "media/null/null_sound_device.h"

namespace velmoria::test {

DesktopFixture::DesktopFixture() : data(VELMORIA_TEST_DATA) {
  data.write("operation.dat", "Help\r\nline 1\r\n");
  std::filesystem::create_directories(data.path() / "image" / "title");
  QImage title(640, 480, QImage::Format_RGB32);
  title.fill(Qt::darkBlue);
  title.save(QString::fromStdString((data.path() / "image" / "title" / "01.jpg").string()), "JPG");

  MediaSet media;
  auto manual = std::make_unique<ManualClock>();
  clock = manual.get();
  media.clock = std::move(manual);
  media.sound = std::make_unique<NullSoundDevice>(*media.clock);
  auto stats = videoStats;
  auto frames = videoFrames;
  media.makeVideo = [stats, frames] {
    return std::make_unique<PatternVideo>(frames->load(), 0, stats);
  };
  app = std::make_unique<DesktopApp>(data.path(), recorder.hooks(), std::move(media));
  app->start();
  QObject::connect(&app->title(), &TitleWindow::statusChanged,
                   [this](const QString& text) { statuses << text; });
}

DesktopFixture::~DesktopFixture() {
  app.reset();
}

void DesktopFixture::choose(const std::string& vehicle, const std::string& route) {
  app->chooseRun(vehicle, route);
}

QString DesktopFixture::panelText(const char* name) {
  auto* label = qobject_cast<QLabel*>(cab().panel().component(name));
  return label ? label->text() : QString("<no %1>").arg(name);
}

}  // namespace velmoria::test
