#pragma once
// The title window (TForm5), the program's main window: the opening movie in a 320 x 240
// window, then the 640 x 480 title picture with the six run buttons appearing one per 100 ms,
// HELP and Quit. A run button hands the chosen vehicle and route files to `onRun`; Shift held
// turns runs 2 and 3 into their E233 variants. The status line below the picture (seen while
// a cab window is being built) is written by setStatus. UI thread.
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "frame/data_folder.h"
#include "frontend/shell_hooks_qt.h"
#include "media/clock.h"
#include "media/pcm_sound.h"
#include "media/sound_device.h"
#include "media/video_source.h"
#include "run/app_state.h"
#include "view/panel_widgets_qt.h"

namespace velmoria {

class MovieArea;

// What the opening movie plays through. The sound device and the clock must outlive the title
// window.
struct MovieMedia {
  SoundDevice* sound = nullptr;     // null: the movie plays silently
  SoundTrackReader readSoundTrack;  // empty: silently
  const Clock* clock = nullptr;     // paces the pictures; null: a steady clock of the window's own
};

struct RunChoice {
  const char* vehicle;
  const char* route;
  const char* e233Vehicle;  // nullptr: no E233 variant
  const char* e233Route;
};
// The six runs, in button order.
extern const std::array<RunChoice, 6> kRuns;

class TitleWindow : public QWidget {
  Q_OBJECT
 public:
  TitleWindow(AppState& app, const DataFolder& folder, const ShellHooks& hooks,
              std::function<std::unique_ptr<VideoSource>()> makeVideo, MovieMedia movie = {});
  ~TitleWindow() override;

  // FormCreate: the data-folder check, the movie, the title picture. Ends the process when
  // korvelan.dat is missing.
  void create();

  void Timer1Timer();
  void aviclick();
  void TrainClick(int run);  // 1 to 6
  void helpclick();
  void QuitClick();

  // Draws the window at a scale of its design (the zoom), keeping its centre.
  void setScale(double scale);
  double scale() const { return m_scale.factor; }
  void setStatus(const QString& text);  // the status line, repainted at once
  void showStatusLine(bool shown);      // client height 498 or 480
  void hideLoading();
  void setE233(bool on);  // the E233 variant flag and its two labels
  bool movieShown() const;
  int tickCount() const { return m_ticks; }
  PanelImage* button(int run) const { return m_trains[static_cast<size_t>(run - 1)]; }
  PanelImage* helpButton() const { return m_help; }
  PanelImage* quitButton() const { return m_quit; }
  PanelImage* recordsButton() const { return m_records; }
  QLabel* statusLine() const { return m_status; }
  MovieArea* movieArea() const { return m_movie; }
  QTimer& timer() { return m_timer; }

  std::function<void(const std::string& vehicle, const std::string& route)> onRun;
  // The title window has closed: the program ends.
  std::function<void()> onQuit;
  // The Records button: the run history.
  std::function<void()> onRecords;
  // The context menu's route editor entry (offered once the movie has ended).
  std::function<void()> onEdit;
  // The context menu at a point of the window; null while the movie plays or without onEdit.
  std::unique_ptr<QMenu> contextMenu();

 Q_SIGNALS:
  void statusChanged(const QString& text);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void setButtonsVisible(bool visible);
  // The client size of the design (320 x 240, 640 x 480 or 640 x 498), at the scale.
  void setDesignSize(QSize size);
  void showTitlePicture();

  AppState& m_app;
  const DataFolder& m_folder;
  const ShellHooks& m_hooks;
  std::function<std::unique_ptr<VideoSource>()> m_makeVideo;
  QLabel* m_image = nullptr;
  QImage m_titlePicture;
  PanelLabel* m_status = nullptr;
  std::array<PanelImage*, 6> m_trains{};
  PanelImage *m_help = nullptr, *m_quit = nullptr, *m_loading = nullptr, *m_records = nullptr;
  PanelLabel *m_e233 = nullptr, *m_e233_2 = nullptr;
  MovieArea* m_movie = nullptr;
  QTimer m_timer;
  int m_ticks = 0;
  LayoutScale m_scale;
  QSize m_designSize{640, 480};
};

// DXDraw1 with its media player: the opening movie from its own frame source, its pictures
// paced by the movie's own frame rate and its sound track played once on kSoundChannel from the
// first picture. A click ends it, and so does the end of the file (the last picture's time
// passed and the sound over). Stopping it (or destroying it) stops the sound and frees its
// wave, so that the channel is empty for the runs.
class MovieArea : public QWidget, public Scaled {
  Q_OBJECT
 public:
  // No run exists while the movie plays; the channel of the event sound is the one taken.
  static constexpr int kSoundChannel = kSoundChannels - 1;
  // The title window ends the movie after 138 s: more sound than this is never heard.
  static constexpr double kLongestSoundSeconds = 140.0;
  // Pictures a second of a movie that states no usable rate.
  static constexpr double kDefaultRate = 30.0;

  MovieArea(QWidget* parent, MovieMedia media);
  ~MovieArea() override;
  bool play(std::unique_ptr<VideoSource> video, const std::filesystem::path& file);
  void stop();
  bool playing() const { return m_video != nullptr; }

  // Shows the picture due at the clock's time, if it is not the one shown (the 10 ms timer);
  // past the last picture and the sound, emits finished().
  void showDuePicture();
  double frameRate() const { return m_rate; }
  int shownIndex() const { return m_shown; }   // -1 before the first picture
  WaveId soundWave() const { return m_wave; }  // -1 when no sound plays with the movie

 Q_SIGNALS:
  void clicked();
  void finished();  // the file has ended

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;

 private:
  int64_t elapsedMs() const;
  void loadSound(const std::filesystem::path& file);

  MovieMedia m_media;
  std::unique_ptr<VideoSource> m_video;
  QTimer m_timer;
  QElapsedTimer m_steady;
  int64_t m_startMs = 0;
  double m_rate = kDefaultRate;
  int m_shown = -1;
  WaveId m_wave = -1;
  QImage m_picture;
  VideoFrame m_frame;
};

}  // namespace velmoria
