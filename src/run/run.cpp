#include "run/run.h"

#include "frame/startup_error.h"
#include "vehicle/vehicle_file.h"

namespace velmoria {

std::string emptyEventHook(const EventHookInput&) {
  return {};
}

Run::Run(AppState& appState, RunData runData, RunServices runServices)
    : app(appState),
      data(std::move(runData)),
      services(std::move(runServices)),
      vehicle(data.vehicle),
      route(data.route) {
  // The three named positions of brake type 0 are always four brake positions with EB.
  if (data.vehicle.BrakeType == 0) data.vehicle.Brake = 4;
  // The set-up refuses too few brake steps once it has run; nothing of it is seen before the
  // message, so the check comes first and the set-up never works with such a count.
  if (vehicle.BrakeType != 0 && vehicle.Brake < 3)
    throw StartupError("ブレーキの段数を3段以上に設定してください");
  // A train whose brake gives no force could never be stopped (the brake force is [BrakeRate]
  // at a cylinder pressure of [EBPress]).
  if (vehicle.BrakeRate.raw <= 0 || vehicle.EBPress <= 0) throw StartupError(basicSettingsError());

  initPanel();
  initHandle();
  initTrain();
  initAir();
  initPosition();
  initSignals();
  initStations();
  initLimits();
  initSounds();
  index = buildRouteIndex(*this);
  masconupdate();
}

void Run::initPanel() {
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
  display.Label1.text = data.strings.Forward;
  display.Lamp_EB = false;  // hidden once the sounds are loaded
  display.cardLeft = 640;
  display.cardTop = 0;
  display.cardShown = false;
}

void Run::startOnce(int channel) {
  if (!services.sound) return;
  services.sound->stop(channel);
  services.sound->playOnce(channel);
}

void Run::startLooped(int channel) {
  if (!services.sound) return;
  services.sound->stop(channel);
  services.sound->playLooped(channel);
}

int Run::videoFrameCount() const {
  return services.video ? services.video->frameCount() : -1;
}

}  // namespace velmoria
