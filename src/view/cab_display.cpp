#include "view/cab_display.h"

namespace velmoria {

void setUpCabDisplay(CabDisplay& display, const Vehicle& vehicle, const Strings& strings) {
  const auto needle = [](const NeedleSpec& layout) { return NeedleView{!layout.file.empty(), 0}; };
  display.Needle_Speed = needle(vehicle.Needle_Speed);
  display.Needle_BC = needle(vehicle.Needle_BC);
  display.Needle_SAP = needle(vehicle.Needle_SAP);
  display.Needle_ER = needle(vehicle.Needle_ER);
  display.Needle_BP = needle(vehicle.Needle_BP);
  display.Needle_MR = needle(vehicle.Needle_MR);
  display.Needle_V = needle(vehicle.Needle_V);
  display.Needle_I = needle(vehicle.Needle_I);
  for (size_t i = 0; i < display.Others.size(); ++i) display.Others[i] = i < 5;
  display.E233Speed.visible = vehicle.fileName == "train_E233.dat";
  display.CarsLabel.text = std::to_string(vehicle.Cars) + "両";
  display.GearLabel = LabelView{"変", vehicle.Engine_Type == 0};
  display.Label1.text = strings.Forward;
  display.Lamp_EB = false;  // hidden once the sounds are loaded
  display.cardLeft = 640;
  display.cardTop = 0;
  display.cardShown = false;
}

}  // namespace velmoria
