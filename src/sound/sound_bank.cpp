// Loading the run's waves and putting them on their channels.
#include "sound/sound_bank.h"

#include "frame/startup_error.h"
#include "route/route.h"
#include "vehicle/vehicle.h"

namespace velmoria {

namespace {

const std::string kTooManyChannels =
    "DirectSoundの割り当てに失敗しました。256チャンネルを超えています。";

WaveId load(SoundDevice& device, const DataFolder& folder, const std::string& name) {
  if (name.empty()) return -1;
  return device.loadWave(folder.resolve(name));
}

std::vector<WaveId> loadAll(SoundDevice& device, const DataFolder& folder,
                            const std::vector<std::string>& names) {
  std::vector<WaveId> waves;
  waves.reserve(names.size());
  for (const std::string& name : names) waves.push_back(load(device, folder, name));
  return waves;
}

void freeAll(SoundDevice& device, std::vector<WaveId>& waves) {
  for (WaveId w : waves)
    if (w >= 0) device.freeWave(w);
  waves.clear();
}

}  // namespace

SoundBank loadSoundBank(SoundDevice& device, const Vehicle& vehicle, const Route& route,
                        const DataFolder& folder,
                        const std::function<void(const std::string&)>& status) {
  if (status) status("DirectSoundオブジェクトを作成しています");
  SoundBank bank;
  bank.drive = loadAll(device, folder, vehicle.DriveSoundList);
  bank.route = loadAll(device, folder, route.SoundDataList);
  for (const std::string& name : route.KankoSound1)
    bank.kanko.push_back(load(device, folder, name));
  if (route.hasKankoSound2)
    for (const std::string& name : route.KankoSound2)
      bank.kanko.push_back(load(device, folder, name));
  bank.boards = loadAll(device, folder, route.OtherImageTexts);
  std::vector<std::string> motorFiles;
  for (const MotorSoundEntry& m : vehicle.MotorSoundTable) motorFiles.push_back(m.file);
  bank.motor = loadAll(device, folder, motorFiles);
  bank.driveCount = static_cast<int>(bank.drive.size());
  if (status) status("サウンドを読み込んでいます");

  const size_t d = bank.drive.size();
  const size_t s = bank.route.size();
  const size_t m = bank.motor.size();
  if (d + s > kSoundChannels || kMotorChannelBase + m > kSoundChannels) {
    freeSoundBank(device, bank);
    throw StartupError(kTooManyChannels);
  }
  // Route sounds past channel 239 share their channels with the motor sounds, which come last.
  for (size_t i = 0; i < d; ++i) device.attach(static_cast<int>(i), bank.drive[i]);
  for (size_t j = 0; j < s; ++j) device.attach(static_cast<int>(d + j), bank.route[j]);
  for (size_t k = 0; k < m; ++k)
    device.attach(kMotorChannelBase + static_cast<int>(k), bank.motor[k]);

  const int clips = route.kankoClipCount();
  const int lastRouteChannel = static_cast<int>(d + s) + clips - 1;
  for (int ch = 0; ch <= lastRouteChannel && ch < kSoundChannels; ++ch) device.stop(ch);
  for (size_t k = 0; k < m; ++k) device.stop(kMotorChannelBase + static_cast<int>(k));
  return bank;
}

void freeSoundBank(SoundDevice& device, SoundBank& bank) {
  const int d = static_cast<int>(bank.drive.size());
  const int s = static_cast<int>(bank.route.size());
  for (int ch = 0; ch < d + s && ch < kSoundChannels; ++ch) device.stop(ch);
  for (int k = 0; k < static_cast<int>(bank.motor.size()); ++k) device.stop(kMotorChannelBase + k);
  device.stop(kCalloutChannel);
  device.stop(kEventChannel);
  freeAll(device, bank.drive);
  freeAll(device, bank.route);
  freeAll(device, bank.kanko);
  freeAll(device, bank.boards);
  freeAll(device, bank.motor);
}

}  // namespace velmoria
