#include "frontend/title_window_qt.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
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
    : QWidget(parent), Scaled(this), m_media(std::move(media)) {
  setObjectName("DXDraw1");
  setDesignGeometry({0, 0, 320, 240});
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
  p.setRenderHint(QPainter::SmoothPixmapTransform, m_picture.size() != size());
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
  setDesignSize({640, 480});

  m_image = new QLabel(this);
  m_image->setObjectName("Image1");
  m_image->setGeometry(0, 0, 640, 480);
  m_status = new PanelLabel(this, "", {"FixedSys", 12}, false);
  m_status->setObjectName("Label1");
  m_status->setDesignGeometry({0, 480, 640, 18});
  m_status->setAutoFillBackground(true);
  QPalette statusPalette = m_status->palette();
  statusPalette.setColor(QPalette::Window, Qt::white);
  statusPalette.setColor(QPalette::WindowText, Qt::black);
  m_status->setPalette(statusPalette);

  for (int run = 1; run <= 6; ++run) {
    const QString name = run <= 2 ? QString("Train%1").arg(run) : QString("train%1").arg(run);
    auto* button = new PanelImage(this, name);
    button->setDesignPos({run <= 3 ? 340 : 480, kButtonTops[(run - 1) % 3]});
    button->setPicture(trainButtonPicture(run));
    button->setToolTip(tr(kHints[run - 1]));
    button->setCursor(Qt::PointingHandCursor);
    button->hide();
    connect(button, &PanelImage::clicked, this, [this, run] { TrainClick(run); });
    m_trains[static_cast<size_t>(run - 1)] = button;
  }
  m_help = new PanelImage(this, "HELP");
  m_help->setDesignPos({499, 445});
  m_help->setPicture(smallButtonPicture("HELP"));
  m_help->hide();
  connect(m_help, &PanelImage::clicked, this, &TitleWindow::helpclick);
  m_quit = new PanelImage(this, "Quit");
  m_quit->setDesignPos({555, 445});
  m_quit->setPicture(smallButtonPicture("Quit"));
  m_quit->hide();
  connect(m_quit, &PanelImage::clicked, this, &TitleWindow::QuitClick);
  m_records = new PanelImage(this, "Records");
  m_records->move(431, 445);
  m_records->setPicture(smallButtonPicture("Records", 62));
  m_records->setCursor(Qt::PointingHandCursor);
  m_records->setToolTip(tr("これまでの運転の記録と成績"));
  m_records->hide();
  connect(m_records, &PanelImage::clicked, this, [this] {
    if (onRecords) onRecords();
  });
  m_loading = new PanelImage(this, "loading");
  m_loading->setDesignPos({257, 231});
  m_loading->setPicture(loadingPicture());
  m_loading->hide();

  const auto e233Label = [this](const QString& name, int top) {
    auto* label = new PanelLabel(this, "E233", {"ＭＳ Ｐゴシック", 13}, true);
    label->setObjectName(name);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(p);
    label->setDesignPos({342, top});
    label->setLabelText("E233");
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

  setDesignSize({320, 240});
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - m_scale.toScreen(QPoint(160, 120)));
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
    m_titlePicture = title;
  showTitlePicture();
}

void TitleWindow::showTitlePicture() {
  m_image->setGeometry(m_scale.toScreen(QRect(0, 0, 640, 480)));
  if (m_titlePicture.isNull()) return;
  const qreal ratio = devicePixelRatioF();
  if (m_scale.factor == 1.0 && ratio == 1.0) {
    m_image->setPixmap(QPixmap::fromImage(m_titlePicture));
    return;
  }
  QPixmap scaled =
      QPixmap::fromImage(m_titlePicture.scaled(m_scale.toScreen(m_titlePicture.size()) * ratio,
                                               Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  scaled.setDevicePixelRatio(ratio);
  m_image->setPixmap(scaled);
}

void TitleWindow::setDesignSize(QSize size) {
  m_designSize = size;
  setFixedSize(m_scale.toScreen(size));
}

void TitleWindow::setScale(double scale) {
  if (!(scale > 0) || scale == m_scale.factor) return;
  const QPoint centre = geometry().center();
  m_scale.factor = scale;
  scaleChildren(this, scale);
  setFont(designFont("FixedSys", m_scale.toScreen(12)));
  setDesignSize(m_designSize);
  showTitlePicture();
  if (isVisible()) move(centre - rect().center());
}

bool TitleWindow::movieShown() const {
  return !m_movie->isHidden();
}

void TitleWindow::setButtonsVisible(bool visible) {
  for (auto* button : m_trains) button->setVisible(visible);
  m_help->setVisible(visible);
  m_quit->setVisible(visible);
  m_records->setVisible(visible);
}

void TitleWindow::Timer1Timer() {
  if (m_ticks == 1380 && movieShown()) aviclick();
  ++m_ticks;
  for (int run = 1; run <= 6; ++run)
    if (m_ticks > run + 1) m_trains[static_cast<size_t>(run - 1)]->show();
  if (m_ticks > 8) m_help->show();
  if (m_ticks > 8) m_records->show();
  if (m_ticks > 9) m_quit->show();
}

void TitleWindow::aviclick() {
  setButtonsVisible(false);
  m_ticks = 0;
  m_movie->stop();
  m_movie->hide();
  setDesignSize({640, 480});
  const QPoint shift = m_scale.toScreen(QPoint(160, 120));
  move(x() - shift.x(), y() - shift.y());
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
  m_status->setLabelText(text);
  m_status->repaint();
  Q_EMIT statusChanged(text);
}

void TitleWindow::showStatusLine(bool shown) {
  setDesignSize({640, shown ? 498 : 480});
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

std::unique_ptr<QMenu> TitleWindow::contextMenu() {
  if (!onEdit || movieShown()) return nullptr;
  auto menu = std::make_unique<QMenu>(this);
  menu->setObjectName("TitleMenu");
  QAction* edit = menu->addAction(tr("路線エディタ…"));
  edit->setObjectName("OpenRouteEditor");
  connect(edit, &QAction::triggered, this, [this] { onEdit(); });
  return menu;
}

void TitleWindow::contextMenuEvent(QContextMenuEvent* event) {
  if (auto menu = contextMenu()) menu->exec(event->globalPos());
}

void TitleWindow::keyReleaseEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat()) setE233(false);
}

}  // namespace velmoria
