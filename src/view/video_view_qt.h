#pragma once
// `unten`, the 480 x 240 track-video area of the cab window, and the idle-time drawing that
// feeds it (AppIdle): at most one new picture per 33 ms, only when the frame position has
// changed, only while the run loop runs; pictures come ready-decoded from the FrameCache, and
// a picture not yet decoded is simply tried again on the next pass. For train_201.dat the
// train-protection indicators are drawn over each picture from image\atsp.bmp.
// Zoomed, the area asks the cache for pictures of its own size in device pixels, so a video
// larger than 480 x 240 keeps its detail; still pictures are scaled with the layout.
// Smooth motion (setBlending): while the train is slower than the line was filmed, up to 60
// pictures a second show frame n with the next frame over it by blendWeight; standing, and at
// or above the recorded speed, the exact frame as above. Display only.
// The cab window owns it and calls appIdle() from a short periodic timer. UI thread.
#include <QImage>
#include <QWidget>

#include "media/clock.h"
#include "view/frame_cache_qt.h"
#include "view/layout_scale_qt.h"

namespace velmoria {

class Run;
struct RunObservation;

class VideoView : public QWidget, public Scaled {
  Q_OBJECT
 public:
  // Pictures a second at most while blending.
  static constexpr double kBlendRate = 60.0;

  explicit VideoView(QWidget* parent);
  void attach(Run* run, FrameCache* cache, const Clock* clock, QImage overlay);

  void appIdle();
  // Shows a still picture (the [Staf] picture, the loading picture) at once.
  void showStill(const QImage& picture);
  // The redraw command: the frame at the frame position, without branch offset or overlay,
  // as soon as it is decoded.
  void redraw();
  void setBlending(bool on) { m_blending = on; }
  bool blending() const { return m_blending; }
  // The run's 33 ms step has just run: the time the blend weight counts from.
  void stepped();

  int lastDrawnFrame = 1;  // the frame put on screen last
  int64_t lastDrawTime = 0;
  int pictureCount() const { return m_pictures; }  // pictures put on screen
  // Passes where a new picture was due but the decoder had not got there yet.
  int misses() const { return m_misses; }
  // What the screen shows, at the area's size in device pixels.
  QImage picture() const;
  // The weight of the next frame in what is shown (0: an exact frame or a still picture).
  double shownWeight() const { return m_weight; }
  // The picture size the area asks the cache for (device pixels).
  QSize pictureSize() const;
  FrameCache* cache() const { return m_cache; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  void putOnScreen();
  // After a change of size: the picture on screen again from the cache at the new size.
  void refreshShown();
  void draw(QPainter& painter) const;
  // Draws a blend when one is due; false when the exact-frame drawing should run instead.
  bool blendIdle(const RunObservation& run, int64_t speed, int64_t now, double weight);

  Run* m_run = nullptr;
  FrameCache* m_cache = nullptr;
  const Clock* m_clock = nullptr;
  QImage m_overlay;
  QImage m_decoded;  // the frame bitmap: the last decoded picture (or the still picture)
  QImage m_next;     // the frame laid over it while blending
  double m_weight = 0;
  int m_level = 0;          // m_weight in the painter's 256ths
  bool m_still = false;     // m_decoded is a still picture, drawn at its design size
  int m_overlayState = -1;  // the pattern state of the overlay drawn over it; -1 none
  bool m_blending = false;
  int64_t m_stepMs = 0;
  double m_blendDue = 0;
  QSize m_askedSize;
  bool m_resized = false;
  int m_shownIndex = -1, m_nextIndex = -1;  // the video frames on screen
  int m_previousFrame = 0;
  int m_direction = 0;
  int m_pendingRedraw = -1;
  int m_pictures = 0;
  int m_misses = 0;
};

}  // namespace velmoria
