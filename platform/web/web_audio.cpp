// The page's sound: the silent mix keeps every buffer's and the music's time, and this makes
// them heard once the player's first key press lets the page's audio start. Effects play on
// emscripten's OpenAL (WebAudio underneath), one source per buffer; the music is the piece
// rendered by the native synthesizer, decoded by the browser and played by the page (page.js).
// No audio at all (no WebAudio, a context refused) leaves the game silent, never stopped.
#include <AL/al.h>
#include <AL/alc.h>
#include <emscripten.h>

#include <cmath>
#include <unordered_map>

#include "platform/audio/levels.h"
#include "platform/sound.h"
#include "platform/web/silent/voices.h"
#include "platform/web/web_state.h"

namespace {

// Turns the WebAudio panner off for a source: a centred buffer plays on both sides at its
// own level, as the native mix plays it.
constexpr ALenum SOURCE_SPATIALIZE = 0x1214;

ALCdevice* device = nullptr;
ALCcontext* context = nullptr;
int tried = 0;
std::unordered_map<const void*, ALuint> sample_buffers;  // by the samples a buffer shares
std::unordered_map<PLAT_SOUND_BUFFER_TYP*, ALuint> sources;

ALuint source_for(PLAT_SOUND_BUFFER_TYP* buffer, const SOUND_VOICE_VIEW_TYP* view) {
  auto found = sources.find(buffer);
  if (found != sources.end()) return found->second;
  alGetError();
  ALuint samples = 0;
  auto shared = sample_buffers.find(view->samples_key);
  if (shared != sample_buffers.end()) {
    samples = shared->second;
  } else {
    alGenBuffers(1, &samples);
    if (alGetError() != AL_NO_ERROR) return 0;
    alBufferData(samples, AL_FORMAT_MONO8, view->samples, view->bytes, SOUND_BUFFER_RATE);
    if (alGetError() != AL_NO_ERROR) {
      alDeleteBuffers(1, &samples);
      return 0;
    }
    sample_buffers[view->samples_key] = samples;
  }
  ALuint source = 0;
  alGenSources(1, &source);
  if (alGetError() != AL_NO_ERROR) return 0;
  alSourcei(source, AL_BUFFER, ALint(samples));
  if (alGetError() != AL_NO_ERROR) {
    alDeleteSources(1, &source);
    return 0;
  }
  sources[buffer] = source;
  return source;
}

// Volume, frequency and pan. A panned buffer goes through WebAudio's equal-power panner, placed
// where its far side is `pan` down, with the near side brought back to the buffer's level.
void apply_settings(ALuint source, const SOUND_VOICE_VIEW_TYP* view) {
  float gain = sound_gain_of(view->volume);
  if (view->pan == 0) {
    alSourcei(source, SOURCE_SPATIALIZE, AL_FALSE);
  } else {
    alSourcei(source, SOURCE_SPATIALIZE, AL_TRUE);
    const double ratio = sound_far_side_gain(view->pan);   // far side over near side
    const double half_turn = std::atan(1.0 / ratio);       // 45 degrees at the centre
    const double azimuth = 2.0 * half_turn - M_PI / 2.0;  // 0 ahead, pi/2 to the side
    const double side = view->pan < 0 ? -1.0 : 1.0;
    alSource3f(source, AL_POSITION, float(side * std::sin(azimuth)), 0.0f,
               float(-std::cos(azimuth)));
    gain *= float(1.0 / std::sin(half_turn));
  }
  alSourcef(source, AL_GAIN, gain);
  const int32_t f = view->frequency == DSBFREQUENCY_ORIGINAL ? SOUND_BUFFER_RATE : view->frequency;
  alSourcef(source, AL_PITCH, float(f) / float(SOUND_BUFFER_RATE));
  alSourcei(source, AL_LOOPING, view->looping ? AL_TRUE : AL_FALSE);
}

void sound_changed(PLAT_SOUND_BUFFER_TYP* buffer, const SOUND_VOICE_VIEW_TYP* view, int restart) {
  const ALuint source = source_for(buffer, view);
  if (!source) return;
  apply_settings(source, view);
  if (!view->playing) {
    alSourceStop(source);
  } else if (restart) {
    alSourceStop(source);
    alSourcePlay(source);
    if (view->position >= 1.0) alSourcei(source, AL_BYTE_OFFSET, ALint(view->position));
    // Who listens to the page (its tests) learns when, on the audio clock, each sound started.
    EM_ASM({ if (Module['soundPlayed']) Module['soundPlayed'](AL.currentCtx.audioCtx.currentTime, $0, $1); },
           view->bytes, view->volume);
  }
}

void sound_released(PLAT_SOUND_BUFFER_TYP* buffer, const void* samples_key, int last) {
  auto found = sources.find(buffer);
  if (found != sources.end()) {
    alSourceStop(found->second);
    alDeleteSources(1, &found->second);
    sources.erase(found);
  }
  auto shared = sample_buffers.find(samples_key);
  if (last && shared != sample_buffers.end()) {
    alDeleteBuffers(1, &shared->second);
    sample_buffers.erase(shared);
  }
}

void music_changed(int playing, double seconds) {
  EM_ASM({ Module['music'].set($0, $1); }, playing, seconds);
}

const SILENT_VOICES_TYP page_voices = {sound_changed, sound_released, music_changed};

}  // namespace

void web_audio_show_hint(int shown) {
  EM_ASM({ if (Module['showSoundLine']) Module['showSoundLine']($0); }, shown && !tried);
}

void web_audio_start_on_key() {
  if (tried) return;
  tried = 1;
  web_audio_show_hint(0);
  device = alcOpenDevice(nullptr);
  if (device) context = alcCreateContext(device, nullptr);
  if (!context || !alcMakeContextCurrent(context)) {
    if (context) alcDestroyContext(context);
    if (device) alcCloseDevice(device);
    context = nullptr;
    device = nullptr;
    return;  // no audio here: the game plays on silently
  }
  // Buffers sit around the listener only to be panned: distance must not turn them down.
  alDistanceModel(AL_NONE);
  const ALfloat facing[] = {0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f};
  alListenerfv(AL_ORIENTATION, facing);
  EM_ASM({ Module['startAudio'](AL.currentCtx.audioCtx, AL.currentCtx.gain); });
  silent_set_voices(&page_voices);
}

void web_audio_stop() {
  silent_set_voices(nullptr);
  if (!context) return;
  for (auto& [buffer, source] : sources) {
    alSourceStop(source);
    alDeleteSources(1, &source);
  }
  sources.clear();
  for (auto& [key, samples] : sample_buffers) alDeleteBuffers(1, &samples);
  sample_buffers.clear();
  alcMakeContextCurrent(nullptr);
  alcDestroyContext(context);
  alcCloseDevice(device);
  context = nullptr;
  device = nullptr;
}

// The page decoded the rendered piece: the music lasts as long as it does.
extern "C" EMSCRIPTEN_KEEPALIVE void web_music_rendered(double microseconds) {
  silent_music_set_rendered_length_us(static_cast<int64_t>(microseconds));
}
