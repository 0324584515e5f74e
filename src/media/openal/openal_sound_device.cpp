#include "media/openal/openal_sound_device.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

#include "media/openal/quiet_probe.h"
#include "media/openal/sndfile_wave.h"

namespace velmoria {

namespace {

// Room for all 256 channels and some headroom: OpenAL Soft hands out 256 sources by default.
constexpr ALCint kSourcesAsked = 320;
constexpr double kMinRateHz = 100.0;     // DirectSound's lowest buffer frequency
constexpr double kMaxRateHz = 200000.0;  // and its highest

// The output limiter (ALC_SOFT_output_limiter, OpenAL Soft 1.19 and later) holds a mix that
// would still go past full scale at full scale, instead of letting the device's conversion
// clip it. OpenAL Soft turns it on by itself only for integer output; asked for, it is on
// for every output, so a loopback device renders what a sound card plays. Ends the list.
void askForLimiter(ALCdevice* device, std::vector<ALCint>& attributes) {
  if (alcIsExtensionPresent(device, "ALC_SOFT_output_limiter")) {
    attributes.push_back(ALC_OUTPUT_LIMITER_SOFT);
    attributes.push_back(ALC_TRUE);
  }
  attributes.push_back(0);
}

float gainOf(int hundredthsDb) {
  if (hundredthsDb <= -10000) return 0.0f;
  if (hundredthsDb >= 0) return 1.0f;
  return static_cast<float>(std::pow(10.0, hundredthsDb / 2000.0));
}

}  // namespace

std::unique_ptr<OpenAlSoundDevice> OpenAlSoundDevice::openDefault() {
  QuietProbe probe;
  ALCdevice* device = alcOpenDevice(nullptr);
  probe.finish(device != nullptr);
  if (!device) return nullptr;
  std::vector<ALCint> attributes = {ALC_MONO_SOURCES, kSourcesAsked, ALC_STEREO_SOURCES,
                                    kSourcesAsked};
  askForLimiter(device, attributes);
  ALCcontext* context = alcCreateContext(device, attributes.data());
  if (!context) {
    alcCloseDevice(device);
    return nullptr;
  }
  std::unique_ptr<OpenAlSoundDevice> result(new OpenAlSoundDevice(device, context, false));
  if (!result->createSources()) return nullptr;
  return result;
}

std::unique_ptr<OpenAlSoundDevice> OpenAlSoundDevice::openLoopback(int sampleRate) {
  if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback")) return nullptr;
  auto openLoopbackDevice = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
      alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
  if (!openLoopbackDevice) return nullptr;
  ALCdevice* device = openLoopbackDevice(nullptr);
  if (!device) return nullptr;
  std::vector<ALCint> attributes = {ALC_FORMAT_CHANNELS_SOFT,
                                    ALC_STEREO_SOFT,
                                    ALC_FORMAT_TYPE_SOFT,
                                    ALC_FLOAT_SOFT,
                                    ALC_FREQUENCY,
                                    sampleRate,
                                    ALC_MONO_SOURCES,
                                    kSourcesAsked,
                                    ALC_STEREO_SOURCES,
                                    kSourcesAsked};
  askForLimiter(device, attributes);
  ALCcontext* context = alcCreateContext(device, attributes.data());
  if (!context) {
    alcCloseDevice(device);
    return nullptr;
  }
  std::unique_ptr<OpenAlSoundDevice> result(new OpenAlSoundDevice(device, context, true));
  if (!result->createSources()) return nullptr;
  return result;
}

OpenAlSoundDevice::OpenAlSoundDevice(ALCdevice* device, ALCcontext* context, bool loopback)
    : m_device(device), m_context(context), m_loopback(loopback) {
  makeCurrent();
  // DirectSound's secondary buffers play at their own level wherever the listener is.
  alDistanceModel(AL_NONE);
  // Headroom for the whole mix: the channels keep their levels relative to each other, and
  // sounds that together peak at up to twice full scale stay below it, so the limiter has
  // nothing to do in ordinary driving.
  alListenerf(AL_GAIN, kMasterGain);
}

OpenAlSoundDevice::~OpenAlSoundDevice() {
  if (makeCurrent()) {
    deleteSources();
    for (auto& [id, wave] : m_waves) alDeleteBuffers(1, &wave.buffer);
  }
  if (alcGetCurrentContext() == m_context) alcMakeContextCurrent(nullptr);
  alcDestroyContext(m_context);
  alcCloseDevice(m_device);
}

bool OpenAlSoundDevice::makeCurrent() const {
  if (alcGetCurrentContext() == m_context) return true;
  return alcMakeContextCurrent(m_context) == ALC_TRUE;
}

bool OpenAlSoundDevice::createSources() {
  if (!makeCurrent()) return false;
  for (auto& c : m_channels) {
    c = Channel{};
    alGetError();
    alGenSources(1, &c.source);
    if (alGetError() != AL_NO_ERROR) {
      c.source = 0;
      deleteSources();
      return false;
    }
    alSourcei(c.source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(c.source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcef(c.source, AL_ROLLOFF_FACTOR, 0.0f);
  }
  return true;
}

void OpenAlSoundDevice::deleteSources() {
  for (auto& c : m_channels) {
    if (c.source) {
      alSourceStop(c.source);
      alSourcei(c.source, AL_BUFFER, 0);
      alDeleteSources(1, &c.source);
    }
    c = Channel{};
  }
}

WaveId OpenAlSoundDevice::loadWave(const std::filesystem::path& file) {
  const auto pcm = readStereoWave(file);
  if (!pcm) return -1;
  return addBuffer(pcm->samples.data(), pcm->frames(), pcm->sampleRate);
}

WaveId OpenAlSoundDevice::loadPcm(const PcmSound& pcm) {
  if (pcm.sampleRate <= 0 || pcm.frames() == 0) return -1;
  if (pcm.channels == 2) return addBuffer(pcm.samples.data(), pcm.frames(), pcm.sampleRate);
  if (pcm.channels != 1) return -1;
  std::vector<int16_t> stereo(pcm.frames() * 2);
  for (size_t f = 0; f < pcm.frames(); ++f) stereo[2 * f] = stereo[2 * f + 1] = pcm.samples[f];
  return addBuffer(stereo.data(), pcm.frames(), pcm.sampleRate);
}

WaveId OpenAlSoundDevice::addBuffer(const int16_t* stereo, size_t frames, int sampleRate) {
  const size_t bytes = frames * 2 * sizeof(int16_t);
  if (frames == 0 || sampleRate <= 0 || bytes > static_cast<size_t>(INT32_MAX) || !makeCurrent())
    return -1;
  Wave wave;
  wave.sampleRate = sampleRate;
  wave.durationMs = 1000.0 * static_cast<double>(frames) / sampleRate;
  alGetError();
  alGenBuffers(1, &wave.buffer);
  if (alGetError() != AL_NO_ERROR) return -1;
  alBufferData(wave.buffer, AL_FORMAT_STEREO16, stereo, static_cast<ALsizei>(bytes), sampleRate);
  if (alGetError() != AL_NO_ERROR) {
    alDeleteBuffers(1, &wave.buffer);
    return -1;
  }
  m_waves[m_next] = wave;
  return m_next++;
}

void OpenAlSoundDevice::freeWave(WaveId wave) {
  const auto it = m_waves.find(wave);
  if (it == m_waves.end() || !makeCurrent()) return;
  for (int ch = 0; ch < kSoundChannels; ++ch)
    if (m_channels[ch].wave == wave) attach(ch, -1);
  alDeleteBuffers(1, &it->second.buffer);
  m_waves.erase(it);
}

const OpenAlSoundDevice::Wave* OpenAlSoundDevice::waveOf(const Channel& c) const {
  const auto it = m_waves.find(c.wave);
  return it == m_waves.end() ? nullptr : &it->second;
}

void OpenAlSoundDevice::attach(int channel, WaveId wave) {
  if (!valid(channel) || !makeCurrent()) return;
  Channel& c = m_channels[channel];
  if (!c.source) return;
  alSourceStop(c.source);
  alSourcei(c.source, AL_BUFFER, 0);
  c.wave = -1;
  const auto it = m_waves.find(wave);
  if (it == m_waves.end()) return;
  alSourcei(c.source, AL_BUFFER, static_cast<ALint>(it->second.buffer));
  c.wave = wave;
  alSourcef(c.source, AL_GAIN, gainOf(c.volume));
  applyPitch(c);
}

void OpenAlSoundDevice::start(int channel, bool looped) {
  if (!valid(channel) || !makeCurrent()) return;
  Channel& c = m_channels[channel];
  if (!c.source || !waveOf(c)) return;
  alSourceStop(c.source);
  alSourcei(c.source, AL_LOOPING, looped ? AL_TRUE : AL_FALSE);
  alSourceRewind(c.source);
  // At frequency 0 the channel is held silent: it does not start.
  if (!(c.factor > 0)) return;
  alSourcePlay(c.source);
}

void OpenAlSoundDevice::playOnce(int channel) {
  start(channel, false);
}
void OpenAlSoundDevice::playLooped(int channel) {
  start(channel, true);
}

void OpenAlSoundDevice::stop(int channel) {
  if (!valid(channel) || !makeCurrent() || !m_channels[channel].source) return;
  alSourceStop(m_channels[channel].source);
}

bool OpenAlSoundDevice::isPlaying(int channel) const {
  if (!valid(channel) || !makeCurrent() || !m_channels[channel].source) return false;
  ALint state = AL_STOPPED;
  alGetSourcei(m_channels[channel].source, AL_SOURCE_STATE, &state);
  return state == AL_PLAYING;
}

void OpenAlSoundDevice::setVolume(int channel, int hundredthsDb) {
  if (!valid(channel) || !makeCurrent()) return;
  Channel& c = m_channels[channel];
  c.volume = hundredthsDb;
  if (c.source) alSourcef(c.source, AL_GAIN, gainOf(hundredthsDb));
}

int OpenAlSoundDevice::volume(int channel) const {
  return valid(channel) ? m_channels[channel].volume : 0;
}

void OpenAlSoundDevice::applyPitch(Channel& c) {
  const Wave* wave = waveOf(c);
  if (!c.source || !wave) return;
  if (!(c.factor > 0)) {
    // OpenAL would hold the last sample as a DC level at pitch 0; DirectSound went quiet.
    alSourceStop(c.source);
    return;
  }
  const double rate = wave->sampleRate;
  const double pitch = std::clamp(c.factor, kMinRateHz / rate, kMaxRateHz / rate);
  alSourcef(c.source, AL_PITCH, static_cast<float>(pitch));
}

void OpenAlSoundDevice::setFrequencyFactor(int channel, double factor) {
  if (!valid(channel) || !makeCurrent()) return;
  Channel& c = m_channels[channel];
  c.factor = std::isfinite(factor) ? factor : 0.0;
  applyPitch(c);
}

bool OpenAlSoundDevice::reinitialise() {
  if (!makeCurrent()) return false;
  deleteSources();
  return createSources();
}

double OpenAlSoundDevice::waveDurationMs(WaveId wave) const {
  const auto it = m_waves.find(wave);
  return it == m_waves.end() ? 0.0 : it->second.durationMs;
}

bool OpenAlSoundDevice::render(float* interleavedStereo, int frames) {
  if (!m_loopback || frames < 0 || !makeCurrent()) return false;
  auto renderSamples =
      reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(m_device, "alcRenderSamplesSOFT"));
  if (!renderSamples) return false;
  renderSamples(m_device, interleavedStereo, frames);
  return true;
}

}  // namespace velmoria
