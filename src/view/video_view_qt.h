#pragma once
// `unten`, the 480 x 240 track-video area of the cab window, and the idle-time drawing that
// feeds it (AppIdle): at most one new picture per 33 ms, only when the frame position has
// changed, only while the run loop runs; pictures come ready-decoded from the FrameCache, and
// a picture not yet decoded is simply tried again on the next pass. For train_201.dat the
// train-protection indicators are copied onto each picture from image\atsp.bmp.
// The cab window owns it and calls appIdle() from a short periodic timer. UI thread.
#include <QImage>
#include <QWidget>

#include "media/clock.h"
#include "view/frame_cache_qt.h"

namespace velmoria {

class Run;

class VideoView : public QWidget {
  Q_OBJECT
 public:
  explicit VideoView(QWidget* parent);
  void attach(Run* run, FrameCache* cache, const Clock* clock, QImage overlay);

  void appIdle();
  // Shows a still picture (the [Staf] picture, the loading picture) at once.
  void showStill(const QImage& picture);
  // The redraw command: the frame at the frame position, without branch offset or overlay,
  // as soon as it is decoded.
  void redraw();

  int lastDrawnFrame = 1;  // the frame put on screen last
  int64_t lastDrawTime = 0;
  int pictureCount() const { return m_pictures; }  // pictures put on screen
  // Passes where a new picture was due but the decoder had not got there yet.
  int misses() const { return m_misses; }
  const QImage& picture() const { return m_picture; }
  FrameCache* cache() const { return m_cache; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  void putOnScreen(const QImage& picture);

  Run* m_run = nullptr;
  FrameCache* m_cache = nullptr;
  const Clock* m_clock = nullptr;
  QImage m_overlay;
  QImage m_decoded;  // the frame bitmap: the last decoded picture
  QImage m_picture;  // what the screen shows
  int m_previousFrame = 0;
  int m_direction = 0;
  int m_pendingRedraw = -1;
  int m_pictures = 0;
  int m_misses = 0;
};

}  // namespace velmoria
