#pragma once
// The title window (TForm5), the program's main window: the opening movie in a 320 x 240
// window, then the 640 x 480 title picture with the six run buttons appearing one per 100 ms,
// HELP and Quit. A run button hands the chosen vehicle and route files to `onRun`; Shift held
// turns runs 2 and 3 into their E233 variants. The status line below the picture (seen while
// a cab window is being built) is written by setStatus. UI thread.
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "frame/data_folder.h"
#include "frontend/shell_hooks_qt.h"
#include "media/video_source.h"
#include "run/app_state.h"
#include "view/panel_widgets_qt.h"

namespace velmoria {

class MovieArea;

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
              std::function<std::unique_ptr<VideoSource>()> makeVideo);
  ~TitleWindow() override;

  // FormCreate: the data-folder check, the movie, the title picture. Ends the process when
  // korvelan.dat is missing.
  void create();

  void Timer1Timer();
  void aviclick();
  void TrainClick(int run);  // 1 to 6
  void helpclick();
  void QuitClick();

  void setStatus(const QString& text);  // the status line, repainted at once
  void showStatusLine(bool shown);      // client height 498 or 480
  void hideLoading();
  void setE233(bool on);  // the E233 variant flag and its two labels
  bool movieShown() const;
  int tickCount() const { return m_ticks; }
  PanelImage* button(int run) const { return m_trains[static_cast<size_t>(run - 1)]; }
  PanelImage* helpButton() const { return m_help; }
  PanelImage* quitButton() const { return m_quit; }
  QLabel* statusLine() const { return m_status; }
  QTimer& timer() { return m_timer; }

  std::function<void(const std::string& vehicle, const std::string& route)> onRun;
  std::function<void()> onQuit;

 Q_SIGNALS:
  void statusChanged(const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  void setButtonsVisible(bool visible);

  AppState& m_app;
  const DataFolder& m_folder;
  const ShellHooks& m_hooks;
  std::function<std::unique_ptr<VideoSource>()> m_makeVideo;
  QLabel* m_image = nullptr;
  QLabel* m_status = nullptr;
  std::array<PanelImage*, 6> m_trains{};
  PanelImage *m_help = nullptr, *m_quit = nullptr, *m_loading = nullptr;
  QLabel *m_e233 = nullptr, *m_e233_2 = nullptr;
  MovieArea* m_movie = nullptr;
  QTimer m_timer;
  int m_ticks = 0;
};

// DXDraw1 with its media player: the opening movie, played at 30 pictures a second from its own
// frame source. A click ends it.
class MovieArea : public QWidget {
  Q_OBJECT
 public:
  explicit MovieArea(QWidget* parent);
  bool play(std::unique_ptr<VideoSource> video, const std::filesystem::path& file);
  void stop();
  bool playing() const { return m_video != nullptr; }

 Q_SIGNALS:
  void clicked();

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;

 private:
  void nextPicture();

  std::unique_ptr<VideoSource> m_video;
  QTimer m_timer;
  QElapsedTimer m_clock;
  int m_shown = -1;
  QImage m_picture;
  VideoFrame m_frame;
};

}  // namespace velmoria
