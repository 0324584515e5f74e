#pragma once
// The run's waves and where they sit: drive sounds on channels 0..D-1, route sounds on D..D+S-1,
// motor sounds from 240, commentary and board clips attached to channel 254 when they play.
#include <functional>
#include <string>
#include <vector>

#include "frame/data_folder.h"
#include "media/sound_device.h"

namespace velmoria {

struct Vehicle;
struct Route;

constexpr int kMotorChannelBase = 240;
constexpr int kCalloutChannel = 254;
constexpr int kEventChannel = 255;

struct SoundBank {
  std::vector<WaveId> drive;   // per [DriveSound] entry, -1 for an empty line
  std::vector<WaveId> route;   // per [SoundData] entry
  std::vector<WaveId> kanko;   // commentary clips by number (0..17 fixed, 18.. [KankoSound2])
  std::vector<WaveId> boards;  // per OtherImageList picture: its board clip
  std::vector<WaveId> motor;   // per [MotorSound] entry
  int driveCount = 0;          // D: the first route channel
};

// Loads and attaches every wave of the run. Throws StartupError with the channel-limit message
// when a channel beyond 255 would be needed. `status` receives the two phase texts.
SoundBank loadSoundBank(SoundDevice& device, const Vehicle& vehicle, const Route& route,
                        const DataFolder& folder,
                        const std::function<void(const std::string&)>& status = {});

// Stops every channel and frees every wave (closing the cab window).
void freeSoundBank(SoundDevice& device, SoundBank& bank);

}  // namespace velmoria
