#include "frontend/title_window_qt.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>

#include "frontend/design_pictures_qt.h"
#include "frontend/fonts_qt.h"
#include "media/qt/qt_image_loader.h"

namespace velmoria {

const std::array<RunChoice, 6> kRuns = {{
    {"train_201.dat", "line_rapid1.dat", nullptr, nullptr},
    {"train_201.dat", "line_rapid2.dat", "train_E233.dat", "line_rapid2_E233.dat"},
    {"train_201.dat", "line_rapid3.dat", "train_E233.dat", "line_rapid3_E233.dat"},
    {"train_183.dat", "line_exp4.dat", nullptr, nullptr},
    {"train_201.dat", "line_rapid5.dat", nullptr, nullptr},
    {"train_201.dat", "line_local6.dat", nullptr, nullptr},
}};

namespace {
const char* const kHints[6] = {
    QT_TRANSLATE_NOOP("velmoria::TitleWindow", "通勤時間帯の快速です。3分遅れでスタートします。"),
    QT_TRANSLATE_NOOP("velmoria::TitleWindow", "日中時間帯の快速です。"),
    QT_TRANSLATE_NOOP("velmoria::TitleWindow", "休日ダイヤの快速です。"),
    QT_TRANSLATE_NOOP("velmoria::TitleWindow", "183系で運転する臨時特急です。"),
    QT_TRANSLATE_NOOP("velmoria::TitleWindow",
                      "分岐駅から本線を離れ、支線に乗り入れて終点まで走る特別快速です。"),
    QT_TRANSLATE_NOOP("velmoria::TitleWindow",
                      "直通列車の支線区間、分岐駅から支線の終点までを走る普通列車です。"),
};
constexpr int kButtonTops[3] = {292, 337, 382};
constexpr int kTitlePictures = 1;
}  // namespace

MovieArea::MovieArea(QWidget* parent, MovieMedia media)
    : QWidget(parent), m_media(std::move(media)) {
  setObjectName("DXDraw1");
  setGeometry(0, 0, 320, 240);
  setAttribute(Qt::WA_OpaquePaintEvent);
  m_timer.setTimerType(Qt::PreciseTimer);
  m_timer.setInterval(10);
  connect(&m_timer, &QTimer::timeout, this, &MovieArea::showDuePicture);
}

MovieArea::~MovieArea() {
  stop();
}

bool MovieArea::play(std::unique_ptr<VideoSource> video, const std::filesystem::path& file) {
  stop();
  if (!video || !video->open(file) || video->frameCount() <= 0) return false;
  m_video = std::move(video);
  const double rate = m_video->frameRate();
  m_rate = std::isfinite(rate) && rate > 0 ? rate : kDefaultRate;
  m_shown = -1;
  // The whole track is decoded before the clock starts, so that sound and pictures start
  // together.
  loadSound(file);
  m_steady.start();
  m_startMs = m_media.clock ? m_media.clock->nowMs() : 0;
  m_timer.start();
  showDuePicture();
  if (m_wave >= 0) m_media.sound->playOnce(kSoundChannel);
  return true;
}

void MovieArea::loadSound(const std::filesystem::path& file) {
  if (!m_media.sound || !m_media.readSoundTrack) return;
  // A movie without sound, or with a sound that does not decode, plays silently.
  const auto track = m_media.readSoundTrack(file, kLongestSoundSeconds);
  if (!track) return;
  m_wave = m_media.sound->loadPcm(*track);
  if (m_wave < 0) return;
  m_media.sound->attach(kSoundChannel, m_wave);
  m_media.sound->setVolume(kSoundChannel, 0);
  m_media.sound->setFrequencyFactor(kSoundChannel, 1.0);
}

void MovieArea::stop() {
  m_timer.stop();
  m_video.reset();
  if (m_wave >= 0 && m_media.sound) {
    m_media.sound->stop(kSoundChannel);
    m_media.sound->attach(kSoundChannel, -1);
    m_media.sound->freeWave(m_wave);
  }
  m_wave = -1;
}

int64_t MovieArea::elapsedMs() const {
  return m_media.clock ? m_media.clock->nowMs() - m_startMs : m_steady.elapsed();
}

void MovieArea::showDuePicture() {
  if (!m_video) return;
  const double due =
      std::floor(static_cast<double>(std::max<int64_t>(elapsedMs(), 0)) * m_rate / 1000.0);
  if (due >= m_video->frameCount()) {
    // The file has ended once its sound has too: the movie ends as a click would end it.
    if (m_wave >= 0 && m_media.sound->isPlaying(kSoundChannel)) return;
    m_timer.stop();
    Q_EMIT finished();  // last: the receiver stops and frees this movie
    return;
  }
  const int index = static_cast<int>(due);
  if (index == m_shown || !m_video->decode(index, m_frame)) return;
  m_shown = index;
  QImage image(m_frame.width, m_frame.height, QImage::Format_RGB32);
  for (int y = 0; y < m_frame.height; ++y)
    std::memcpy(image.scanLine(y), m_frame.pixels.data() + static_cast<size_t>(y) * m_frame.width,
                static_cast<size_t>(m_frame.width) * 4);
  m_picture = image;
  update();
}

void MovieArea::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::black);
  if (!m_picture.isNull()) p.drawImage(rect(), m_picture);
}

void MovieArea::mousePressEvent(QMouseEvent*) {
  Q_EMIT clicked();
}

TitleWindow::TitleWindow(AppState& app, const DataFolder& folder, const ShellHooks& hooks,
                         std::function<std::unique_ptr<VideoSource>()> makeVideo, MovieMedia movie)
    : QWidget(nullptr, Qt::FramelessWindowHint),
      m_app(app),
      m_folder(folder),
      m_hooks(hooks),
      m_makeVideo(std::move(makeVideo)) {
  setObjectName("TForm5");
  setWindowTitle("Velmoria");
  setFont(designFont("FixedSys", 12));
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::black);
  setPalette(palette);
  setFixedSize(640, 480);

  m_image = new QLabel(this);
  m_image->setObjectName("Image1");
  m_image->setGeometry(0, 0, 640, 480);
  m_status = new QLabel(this);
  m_status->setObjectName("Label1");
  m_status->setGeometry(0, 480, 640, 18);
  m_status->setFont(designFont("FixedSys", 12));
  m_status->setAutoFillBackground(true);
  QPalette statusPalette = m_status->palette();
  statusPalette.setColor(QPalette::Window, Qt::white);
  statusPalette.setColor(QPalette::WindowText, Qt::black);
  m_status->setPalette(statusPalette);

  for (int run = 1; run <= 6; ++run) {
    const QString name = run <= 2 ? QString("Train%1").arg(run) : QString("train%1").arg(run);
    auto* button = new PanelImage(this, name);
    button->move(run <= 3 ? 340 : 480, kButtonTops[(run - 1) % 3]);
    button->setPicture(trainButtonPicture(run));
    button->setToolTip(tr(kHints[run - 1]));
    button->setCursor(Qt::PointingHandCursor);
    button->hide();
    connect(button, &PanelImage::clicked, this, [this, run] { TrainClick(run); });
    m_trains[static_cast<size_t>(run - 1)] = button;
  }
  m_help = new PanelImage(this, "HELP");
  m_help->move(499, 445);
  m_help->setPicture(smallButtonPicture("HELP"));
  m_help->hide();
  connect(m_help, &PanelImage::clicked, this, &TitleWindow::helpclick);
  m_quit = new PanelImage(this, "Quit");
  m_quit->move(555, 445);
  m_quit->setPicture(smallButtonPicture("Quit"));
  m_quit->hide();
  connect(m_quit, &PanelImage::clicked, this, &TitleWindow::QuitClick);
  m_loading = new PanelImage(this, "loading");
  m_loading->move(257, 231);
  m_loading->setPicture(loadingPicture());
  m_loading->hide();

  const auto e233Label = [this](const QString& name, int top) {
    auto* label = new QLabel("E233", this);
    label->setObjectName(name);
    label->setFont(designFont("ＭＳ Ｐゴシック", 13));
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(p);
    label->move(342, top);
    label->adjustSize();
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->hide();
    return label;
  };
  m_e233_2 = e233Label("TrainE233_2", 358);
  m_e233 = e233Label("TrainE233", 402);

  m_movie = new MovieArea(this, std::move(movie));
  connect(m_movie, &MovieArea::clicked, this, &TitleWindow::aviclick);
  connect(m_movie, &MovieArea::finished, this, &TitleWindow::aviclick);
  m_timer.setInterval(100);
  connect(&m_timer, &QTimer::timeout, this, &TitleWindow::Timer1Timer);
}

TitleWindow::~TitleWindow() = default;

void TitleWindow::create() {
  std::error_code ec;
  if (!std::filesystem::exists(m_folder.root() / "korvelan.dat", ec)) {
    // Started from a desktop entry the box alone does not say where the program looked.
    std::fprintf(stderr,
                 "velmoria: no korvelan.dat in %s: start velmoria in its data folder, or choose "
                 "the folder with --data DIR\n",
                 m_folder.root().string().c_str());
    m_hooks.fail(this, tr("実行ファイルが正しい場所に配置されていません"));
  }

  setFixedSize(320, 240);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - QPoint(160, 120));
  m_ticks = 0;
  m_timer.start();

  const auto movie = m_folder.resolve("move\\opening.avi");
  if (std::filesystem::exists(movie, ec) && !m_movie->play(m_makeVideo(), movie))
    m_hooks.message(this, tr("オープニングムービーを開けません"));

  setButtonsVisible(false);

  // One title picture so far: the random draw always picks the first.
  static std::minstd_rand random(std::random_device{}());
  const int picture = std::uniform_int_distribution<int>(0, kTitlePictures - 1)(random);
  const std::string name = "image\\title\\0" + std::to_string(picture + 1) + ".jpg";
  const QImage title = QtImageLoader::readImage(m_folder.resolve(name));
  if (title.isNull())
    m_hooks.message(this, tr("%1を読み込めません").arg(QString::fromStdString(name)));
  else
    m_image->setPixmap(QPixmap::fromImage(title));
}

bool TitleWindow::movieShown() const {
  return !m_movie->isHidden();
}

void TitleWindow::setButtonsVisible(bool visible) {
  for (auto* button : m_trains) button->setVisible(visible);
  m_help->setVisible(visible);
  m_quit->setVisible(visible);
}

void TitleWindow::Timer1Timer() {
  if (m_ticks == 1380 && movieShown()) aviclick();
  ++m_ticks;
  for (int run = 1; run <= 6; ++run)
    if (m_ticks > run + 1) m_trains[static_cast<size_t>(run - 1)]->show();
  if (m_ticks > 8) m_help->show();
  if (m_ticks > 9) m_quit->show();
}

void TitleWindow::aviclick() {
  setButtonsVisible(false);
  m_ticks = 0;
  m_movie->stop();
  m_movie->hide();
  setFixedSize(640, 480);
  move(x() - 160, y() - 120);
}

void TitleWindow::TrainClick(int run) {
  if (run < 1 || run > 6) return;
  m_timer.stop();
  m_movie->stop();  // a run never starts with the movie's sound on a channel
  setButtonsVisible(true);
  m_loading->show();
  m_loading->repaint();
  const RunChoice& choice = kRuns[static_cast<size_t>(run - 1)];
  const bool variant = m_app.e233 && choice.e233Vehicle;
  if (onRun)
    onRun(variant ? choice.e233Vehicle : choice.vehicle, variant ? choice.e233Route : choice.route);
}

void TitleWindow::helpclick() {
  const QString page = QString::fromStdString(m_folder.resolve("readme.html").string());
  // Without a browser on the desktop nothing would open and nothing would say why.
  if (!m_hooks.openDocument || !m_hooks.openDocument(page))
    m_hooks.message(this, tr("readme.htmlを開くブラウザが見つかりません。\n%1").arg(page));
}

void TitleWindow::QuitClick() {
  close();
}

void TitleWindow::setStatus(const QString& text) {
  m_status->setText(text);
  m_status->repaint();
  Q_EMIT statusChanged(text);
}

void TitleWindow::showStatusLine(bool shown) {
  setFixedSize(640, shown ? 498 : 480);
}

void TitleWindow::hideLoading() {
  m_loading->hide();
}

void TitleWindow::setE233(bool on) {
  m_app.e233 = on;
  m_e233->setVisible(on);
  m_e233_2->setVisible(on);
}

void TitleWindow::closeEvent(QCloseEvent* event) {
  m_movie->stop();
  QWidget::closeEvent(event);
  // However the title window goes (Quit, or the window manager's close), the program ends.
  if (onQuit) onQuit();
}

void TitleWindow::keyPressEvent(QKeyEvent* event) {
  const auto mods = event->modifiers() &
                    (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  if (mods == Qt::ShiftModifier || (event->key() == Qt::Key_Shift && mods == Qt::NoModifier))
    setE233(true);
}

void TitleWindow::keyReleaseEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat()) setE233(false);
}

}  // namespace velmoria
