#pragma once
// The cab panel: every label and image of the cab window outside the video, built in two
// layers (the window's design-time components, then the run-time images of the vehicle file's
// panel sections, in their stacking order) and redrawn from the run's CabDisplay. draw()
// compares the model with the copy it drew last and touches only the components that differ.
// Owned by the cab window; the widgets are children of `surface`. UI thread.
#include <QImage>
#include <QLabel>
#include <array>
#include <functional>
#include <map>

#include "frame/data_folder.h"
#include "frame/image_lists.h"
#include "media/qt/qt_image_loader.h"
#include "route/route.h"
#include "vehicle/vehicle.h"
#include "view/cab_display.h"
#include "view/panel_widgets_qt.h"

namespace velmoria {

class CabPanel {
 public:
  // `fail` shows a message and ends the process (a missing picture).
  CabPanel(QWidget* surface, QtImageLoader& pictures, const DataFolder& folder,
           std::function<void(const QString&)> fail);

  void buildDesignTime();
  // Phase 4 of the window's creation. Ends the process on a picture that cannot be loaded.
  void buildRunTime(const Vehicle& vehicle, const Route& route, const ImageLists& lists);
  // Phase 8, train_E233.dat only: the digital speed display, E233MR brought forward.
  void createE233Speed();
  // The image lists the pictures are drawn from (they move into the Run with its data).
  void setLists(const ImageLists* lists) { m_lists = lists; }

  void draw(const CabDisplay& model);
  // Stands every component of the surface (the video area too) at its design place times
  // `factor` and has it draw at that scale.
  void setScale(double factor);
  double scale() const { return m_scale; }

  PanelImage* back() const { return m_back; }
  // Looks a component up by its name (tests, screenshots).
  QWidget* component(const QString& name) const;
  int repaintCount() const { return m_changes; }  // components touched by draw()

 private:
  PanelLabel* label(const QString& name, const QString& text, QRect geometry, bool autoSize,
                    const DesignFontSpec& font, Qt::Alignment align, QColor fg, QColor bg);
  PanelImage* designImage(const QString& name, QPoint at, const QImage& picture);
  PanelImage* runImage(const QString& name, const PanelImageSpec& layout, bool transparent,
                       bool visible);
  NeedleImage* needle(const QString& name, const NeedleSpec& layout);
  // Loads a panel picture, colour-keyed or as it is; ends the process when it cannot.
  QImage loadPicture(const std::string& file, bool transparent);
  QImage listPicture(int id, bool transparent);

  void drawLabel(PanelLabel* widget, const LabelView& now, const LabelView& was);
  void drawShown(QWidget* widget, bool now, bool was);
  void drawPicture(PanelImage* widget, const std::vector<ImageInfo>& list, bool transparent,
                   const PictureView& now, const PictureView& was);
  void drawIndicator(PanelImage* widget, const IndicatorList& list, const PictureView& now,
                     const PictureView& was);
  void drawNeedle(NeedleImage* widget, const NeedleView& now, const NeedleView& was);

  QWidget* m_surface;
  QtImageLoader& m_pictures;
  const DataFolder& m_folder;
  std::function<void(const QString&)> m_fail;
  const ImageLists* m_lists = nullptr;

  // Design-time components.
  PanelLabel *m_SignalLabel = nullptr, *m_SlopeText = nullptr, *m_Label1 = nullptr,
             *m_PowerLabel = nullptr, *m_BrakeLabel = nullptr, *m_Label4 = nullptr,
             *m_CarsLabel = nullptr, *m_digi_speed = nullptr, *m_GearLabel = nullptr,
             *m_Label3 = nullptr, *m_remain = nullptr;
  PanelImage *m_SignalImage = nullptr, *m_stop = nullptr, *m_SpeedLimitImage = nullptr,
             *m_SlopeImage = nullptr, *m_OtherImage = nullptr, *m_back = nullptr,
             *m_stopline = nullptr, *m_Image1 = nullptr, *m_E233BR = nullptr, *m_E233MR = nullptr;
  // Run-time components.
  PanelImage *m_Panel = nullptr, *m_Panel2 = nullptr, *m_Lamp_Door = nullptr,
             *m_Lamp_Power = nullptr, *m_Lamp_EB = nullptr, *m_Lamp_Gen = nullptr,
             *m_Lamp_Air = nullptr, *m_Lamp_Ele = nullptr, *m_Lamp_Ats = nullptr,
             *m_Lamp_Atsp1 = nullptr, *m_Lamp_Atsp2 = nullptr, *m_Lamp_G = nullptr,
             *m_Lamp_YG = nullptr, *m_Lamp_Y = nullptr, *m_Lamp_YY = nullptr, *m_Lamp_R = nullptr,
             *m_Lamp_Fwd = nullptr, *m_Lamp_Bck = nullptr, *m_Lamp_B = nullptr, *m_Lamp_P = nullptr,
             *m_Lamp_Gear = nullptr, *m_Lamp_stopalert = nullptr, *m_card = nullptr;
  ClockImage* m_clock = nullptr;
  NeedleImage *m_Needle_Speed = nullptr, *m_Needle_ER = nullptr, *m_Needle_BP = nullptr,
              *m_Needle_MR = nullptr, *m_Needle_BC = nullptr, *m_Needle_SAP = nullptr,
              *m_Needle_V = nullptr, *m_Needle_I = nullptr;
  std::array<PanelImage*, 11> m_Others{};
  PanelLabel* m_commentary = nullptr;
  PanelLabel* m_E233Speed = nullptr;

  CabDisplay m_drawn;
  bool m_drawnOnce = false;
  int m_changes = 0;
  double m_scale = 1.0;
};

}  // namespace velmoria
