// Sound buffers on OpenAL Soft: a loopback device renders every source into the mix, so the
// game never opens a sound card itself and the headless backend hears exactly the same thing.
#include "platform/sound.h"

#define AL_ALEXT_PROTOTYPES  // the loopback device's functions, exported by OpenAL Soft
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <cmath>
#include <iterator>
#include <new>

#include "platform/audio/levels.h"
#include "platform/audio/mix_state.h"
#include "platform/faults.h"
#include "platform/mix.h"

struct PLAT_SOUND_DEVICE_TYP {
  ALCdevice* device;
  ALCcontext* context;
};

// Sample data shared by a buffer and its duplicates.
struct SOUND_SAMPLES_TYP {
  ALuint al_buffer;
  int32_t bytes;
  int refs;
};

struct PLAT_SOUND_BUFFER_TYP {
  SOUND_SAMPLES_TYP* samples;
  ALuint source;
  int32_t caps;
  int32_t volume;
  int32_t frequency;
  int32_t pan;
};

namespace {

using Hold = std::lock_guard<std::recursive_mutex>;

PLAT_SOUND_DEVICE_TYP* open_device = nullptr;

Hold hold() { return Hold(plat_mix_state().lock); }

// How far apart the two sides sound (dB) for a source at 0, 5, 10 ... 55 degrees off centre,
// measured from OpenAL Soft 1.19's stereo panning; from 60 degrees the far side is silent.
constexpr double PAN_DB_BY_5_DEGREES[] = {0.0,   1.91,  3.86,  5.86,  7.97,  10.22,
                                          12.68, 15.43, 18.63, 22.52, 27.58, 35.51};
// The near side's level (dB) at the same angles, measured the same way: 4.5 dB down at the
// centre, full from 50 degrees on.
constexpr double NEAR_DB_BY_5_DEGREES[] = {-4.500, -3.608, -2.832, -2.161, -1.589, -1.108,
                                           -0.713, -0.401, -0.168, -0.013, 0.0,    0.0};
constexpr double PAN_HARD_DEGREES = 60.0;

// The angle off centre at which the far side is `pan` hundredths of a decibel down.
double pan_degrees(int32_t pan) {
  double db = std::abs(pan) / 100.0;
  for (int i = 1; i < int(std::size(PAN_DB_BY_5_DEGREES)); ++i) {
    if (db <= PAN_DB_BY_5_DEGREES[i]) {
      double low = PAN_DB_BY_5_DEGREES[i - 1];
      return 5.0 * (i - 1) + 5.0 * (db - low) / (PAN_DB_BY_5_DEGREES[i] - low);
    }
  }
  return PAN_HARD_DEGREES;
}

// Gain that brings the near side back to full at that angle: a panned buffer only turns its
// far side down, and a centred one sounds at full level on both sides.
float near_side_gain(double degrees) {
  int last = int(std::size(NEAR_DB_BY_5_DEGREES)) - 1;
  int i = int(degrees / 5.0);
  double db = NEAR_DB_BY_5_DEGREES[last];
  if (i < last) {
    double t = degrees / 5.0 - i;
    db = NEAR_DB_BY_5_DEGREES[i] + t * (NEAR_DB_BY_5_DEGREES[i + 1] - NEAR_DB_BY_5_DEGREES[i]);
  }
  return float(std::pow(10.0, -db / 20.0));
}

// Pan in hundredths of a decibel, negative to the left. The source sits on a unit circle in
// front of the listener at the angle that gives it.
void apply_pan(ALuint source, double degrees, int32_t pan) {
  double angle = degrees * 3.14159265358979323846 / 180.0;
  double x = std::sin(angle) * (pan < 0 ? -1.0 : 1.0);
  alSource3f(source, AL_POSITION, float(x), 0.0f, float(-std::cos(angle)));
}

void apply_settings(PLAT_SOUND_BUFFER_TYP* buffer) {
  double degrees = pan_degrees(buffer->pan);
  alSourcef(buffer->source, AL_GAIN, sound_gain_of(buffer->volume) * near_side_gain(degrees));
  int32_t f = buffer->frequency == DSBFREQUENCY_ORIGINAL ? SOUND_BUFFER_RATE : buffer->frequency;
  alSourcef(buffer->source, AL_PITCH, float(f) / float(SOUND_BUFFER_RATE));
  apply_pan(buffer->source, degrees, buffer->pan);
}

// A source for these samples, positioned relative to the listener so pan is all that moves it.
PLAT_SOUND_BUFFER_TYP* new_buffer(SOUND_SAMPLES_TYP* samples, int32_t caps) {
  alGetError();
  ALuint source = 0;
  alGenSources(1, &source);
  if (alGetError() != AL_NO_ERROR) return nullptr;
  alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
  // Gains above 1 make up for the panning's loss at the centre (at most +4.5 dB).
  alSourcef(source, AL_MAX_GAIN, 2.0f);
  alSourcei(source, AL_BUFFER, ALint(samples->al_buffer));
  if (alGetError() != AL_NO_ERROR) {
    alDeleteSources(1, &source);
    return nullptr;
  }
  auto* buffer = new (std::nothrow) PLAT_SOUND_BUFFER_TYP{samples, source, caps, 0, 0, 0};
  if (!buffer) {
    alDeleteSources(1, &source);
    return nullptr;
  }
  ++samples->refs;
  apply_settings(buffer);
  return buffer;
}

ALint state_of(ALuint source) {
  ALint state = AL_INITIAL;
  alGetSourcei(source, AL_SOURCE_STATE, &state);
  return state;
}

}  // namespace

PLAT_SOUND_DEVICE_TYP* plat_sound_create_device() {
  if (plat_fault(CALL_SOUND_DEVICE)) return nullptr;
  auto lock = hold();
  if (open_device) return nullptr;  // one device per process
  ALCdevice* device = alcLoopbackOpenDeviceSOFT(nullptr);
  if (!device) return nullptr;
  // Float output keeps silence exactly zero; no limiter or HRTF, so levels stay as asked.
  const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT,
                               ALC_FORMAT_TYPE_SOFT,     ALC_FLOAT_SOFT,
                               ALC_FREQUENCY,            MIX_RATE,
                               ALC_HRTF_SOFT,            ALC_FALSE,
                               ALC_OUTPUT_LIMITER_SOFT,  ALC_FALSE,
                               ALC_MONO_SOURCES,         512,
                               ALC_STEREO_SOURCES,       0,
                               0};
  ALCcontext* context = nullptr;
  if (alcIsRenderFormatSupportedSOFT(device, MIX_RATE, ALC_STEREO_SOFT, ALC_FLOAT_SOFT))
    context = alcCreateContext(device, attributes);
  if (!context || !alcMakeContextCurrent(context)) {
    if (context) alcDestroyContext(context);
    alcCloseDevice(device);
    return nullptr;
  }
  // Sources sit at distance 1 only to be panned; distance must not turn them down.
  alDistanceModel(AL_NONE);
  open_device = new (std::nothrow) PLAT_SOUND_DEVICE_TYP{device, context};
  if (!open_device) {
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
    alcCloseDevice(device);
    return nullptr;
  }
  plat_mix_state().effects = device;
  return open_device;
}

void plat_sound_release_device(PLAT_SOUND_DEVICE_TYP* device) {
  if (!device) return;
  auto lock = hold();
  if (device != open_device) return;
  plat_mix_state().effects = nullptr;
  alcMakeContextCurrent(nullptr);
  alcDestroyContext(device->context);
  alcCloseDevice(device->device);
  delete device;
  open_device = nullptr;
}

PLAT_SOUND_BUFFER_TYP* plat_sound_create_buffer(PLAT_SOUND_DEVICE_TYP* device,
                                                const uint8_t* samples, int32_t bytes,
                                                int32_t caps) {
  if (plat_fault(CALL_SOUND_BUFFER)) return nullptr;
  if (!device || !samples || bytes < DSBSIZE_MIN || bytes > DSBSIZE_MAX) return nullptr;
  auto lock = hold();
  if (device != open_device) return nullptr;
  alGetError();
  auto* shared = new (std::nothrow) SOUND_SAMPLES_TYP{0, bytes, 0};
  if (!shared) return nullptr;
  alGenBuffers(1, &shared->al_buffer);
  if (alGetError() == AL_NO_ERROR) {
    // Unsigned 8-bit mono at 11025 Hz, whatever the file said.
    alBufferData(shared->al_buffer, AL_FORMAT_MONO8, samples, bytes, SOUND_BUFFER_RATE);
    if (alGetError() == AL_NO_ERROR) {
      PLAT_SOUND_BUFFER_TYP* buffer = new_buffer(shared, caps);
      if (buffer) return buffer;
    }
    alDeleteBuffers(1, &shared->al_buffer);
  }
  delete shared;
  return nullptr;
}

PLAT_SOUND_BUFFER_TYP* plat_sound_duplicate_buffer(PLAT_SOUND_DEVICE_TYP* device,
                                                   PLAT_SOUND_BUFFER_TYP* source) {
  if (plat_fault(CALL_SOUND_BUFFER)) return nullptr;
  if (!device || !source) return nullptr;
  auto lock = hold();
  if (device != open_device) return nullptr;
  PLAT_SOUND_BUFFER_TYP* copy = new_buffer(source->samples, source->caps);
  if (!copy) return nullptr;
  copy->volume = source->volume;
  copy->frequency = source->frequency;
  copy->pan = source->pan;
  apply_settings(copy);
  return copy;
}

void plat_sound_release_buffer(PLAT_SOUND_BUFFER_TYP* buffer) {
  if (!buffer) return;
  auto lock = hold();
  alSourceStop(buffer->source);
  alDeleteSources(1, &buffer->source);
  if (--buffer->samples->refs == 0) {
    alDeleteBuffers(1, &buffer->samples->al_buffer);
    delete buffer->samples;
  }
  delete buffer;
}

int plat_sound_play(PLAT_SOUND_BUFFER_TYP* buffer, int32_t flags) {
  if (!buffer) return 0;
  auto lock = hold();
  alGetError();
  alSourcei(buffer->source, AL_LOOPING, (flags & DSBPLAY_LOOPING) ? AL_TRUE : AL_FALSE);
  // Playing a buffer that already plays only changes its looping; it does not restart it.
  if (state_of(buffer->source) != AL_PLAYING) alSourcePlay(buffer->source);
  return alGetError() == AL_NO_ERROR ? 1 : 0;
}

int plat_sound_stop(PLAT_SOUND_BUFFER_TYP* buffer) {
  if (!buffer) return 0;
  auto lock = hold();
  if (state_of(buffer->source) == AL_PLAYING) alSourcePause(buffer->source);
  return 1;
}

int plat_sound_set_position(PLAT_SOUND_BUFFER_TYP* buffer, int32_t byte_offset) {
  if (!buffer || byte_offset < 0 || byte_offset >= buffer->samples->bytes) return 0;
  auto lock = hold();
  alGetError();
  ALint state = state_of(buffer->source);
  if (byte_offset == 0 && state != AL_PLAYING)
    alSourceRewind(buffer->source);
  else
    alSourcei(buffer->source, AL_BYTE_OFFSET, byte_offset);
  return alGetError() == AL_NO_ERROR ? 1 : 0;
}

int plat_sound_set_volume(PLAT_SOUND_BUFFER_TYP* buffer, int32_t hundredths_db) {
  if (!buffer || !(buffer->caps & DSBCAPS_CTRLVOLUME)) return 0;
  if (hundredths_db < DSBVOLUME_MIN || hundredths_db > DSBVOLUME_MAX) return 0;
  auto lock = hold();
  buffer->volume = hundredths_db;
  apply_settings(buffer);
  return 1;
}

int plat_sound_set_frequency(PLAT_SOUND_BUFFER_TYP* buffer, int32_t samples_per_second) {
  if (!buffer || !(buffer->caps & DSBCAPS_CTRLFREQUENCY)) return 0;
  if (samples_per_second != DSBFREQUENCY_ORIGINAL &&
      (samples_per_second < DSBFREQUENCY_MIN || samples_per_second > DSBFREQUENCY_MAX))
    return 0;
  auto lock = hold();
  buffer->frequency = samples_per_second;
  apply_settings(buffer);
  return 1;
}

int plat_sound_set_pan(PLAT_SOUND_BUFFER_TYP* buffer, int32_t hundredths_db) {
  if (!buffer || !(buffer->caps & DSBCAPS_CTRLPAN)) return 0;
  if (hundredths_db < DSBPAN_LEFT || hundredths_db > DSBPAN_RIGHT) return 0;
  auto lock = hold();
  buffer->pan = hundredths_db;
  apply_settings(buffer);
  return 1;
}

int32_t plat_sound_status(PLAT_SOUND_BUFFER_TYP* buffer) {
  if (!buffer) return 0;
  auto lock = hold();
  if (state_of(buffer->source) != AL_PLAYING) return 0;
  ALint looping = AL_FALSE;
  alGetSourcei(buffer->source, AL_LOOPING, &looping);
  return DSBSTATUS_PLAYING | (looping ? DSBSTATUS_LOOPING : 0);
}
