#pragma once
// The cab display model: what every component of the cab window shows. The core writes it; the
// shell draws it, repainting only what differs from what it drew last. Members are named after
// the window's components. A picture index of -1 means the image is cleared.
#include <array>
#include <cstdint>
#include <string>

namespace velmoria {

struct LabelView {
  std::string text;
  bool visible = true;
};

struct PictureView {  // an image component showing one picture of an image list
  int picture = -1;
  bool visible = true;
};

struct NeedleView {
  bool present = false;  // false: no needle picture, the gauge is skipped
  int angle = 0;         // whole degrees
};

struct ClockHands {  // end points in the 50 x 50 clock image, centre (25, 25)
  bool drawn = false;
  int hourX = 25, hourY = 25, minuteX = 25, minuteY = 25, secondX = 25, secondY = 25;
};

// Values of the value display window.
struct ValueDisplayView {
  bool visible = false;
  std::string caption = "Value Display";
  std::string Label1 = "0 km/h", Label2 = "0 kPa", Label3 = "0 kPa", Label4 = "0 kPa",
              Label5 = "0 kPa", Label6 = "0 km/h/s", Label7 = "0 N", Label8 = "0",
              Label9 = "0 N", Label20 = "0 N", Label23 = "Normal", Label25 = "0 N",
              Label27 = "0 Permil", Label30 = "0", Label31 = "0 km/h", Label33 = "0",
              Label35 = "0", Label37 = "0", Label41 = "0 m";
  int ProgressBar1 = 0, ProgressBar2 = -500000, ProgressBar3 = -500000;
};

// The timetable card's size as the panel shows it ([Staf] line 1), 0 x 0 without one.
struct CardSize {
  int width = 0;
  int height = 0;
};

struct CabDisplay {
  std::string caption = "Velmoria";  // the main window's caption
  std::string start1Caption;  // the Start/Pause menu item; empty: the strings file's caption

  // Labels of the panel.
  LabelView PowerLabel{"N"}, BrakeLabel{"EB"}, Label1{"FWD"}, Label4{"Train Position"},
      CarsLabel{"Cars"}, digi_speed{"0km/h"}, GearLabel{"Gear", false}, Label3{"00:00:00"},
      SignalLabel{""}, SlopeText{""}, remain{""};
  LabelView commentary{"", false};  // the commentary caption at (0, 426)
  LabelView E233Speed{"  0", false};  // exists only for train_E233.dat

  // Pictures from image lists.
  PictureView Lamp_P, Lamp_B, Lamp_Gear;  // NotchImageP, NotchImageB, GearImageList
  PictureView SignalImage;                // SignalImageList
  PictureView stop;                       // SignImageList picture 0
  PictureView SpeedLimitImage;            // OtherImageList
  PictureView SlopeImage;                 // SignImageList 1 (up) or 2 (down)
  PictureView OtherImage;                 // OtherImageList

  // Lamps and pictures that are only shown or hidden.
  bool Lamp_Door = true, Lamp_Power = true, Lamp_EB = true, Lamp_Gen = true, Lamp_Air = true,
       Lamp_Ele = true, Lamp_Ats = false, Lamp_Atsp1 = false, Lamp_Atsp2 = false,
       Lamp_G = false, Lamp_YG = false, Lamp_Y = false, Lamp_YY = false, Lamp_R = false,
       Lamp_Fwd = true, Lamp_Bck = false, Lamp_stopalert = false, Panel2 = false;
  std::array<bool, 11> Others{true, true, true, true, true, false, false, false, false, false,
                              false};

  NeedleView Needle_Speed, Needle_BC, Needle_SAP, Needle_ER, Needle_BP, Needle_MR, Needle_V,
      Needle_I;

  int stoplineTop = 0;  // `stopline`, left 480
  int remainTop = 16;   // `remain`, left 480
  int E233BRTop = 400;
  int E233MRTop = 355;
  bool E233MRVisible = true;

  // The timetable card, outside the client area at left 640 until it slides in.
  bool cardShown = false;  // requested by F1
  int cardLeft = 640;
  int cardTop = 0;
  int cardWidth = 0, cardHeight = 0;  // the [Staf] picture's size, set with the panel

  ClockHands clock;
  ValueDisplayView values;
};

}  // namespace velmoria
