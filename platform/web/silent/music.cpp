// Music that plays nothing: a piece is read and checked as natively, and it plays for as long
// as its events last (midi_length.h), counted in the frames of the mix that is pulled; then it
// reports stopped, so the game's keep-alive starts it again.
#include "platform/music.h"

#include <cstdio>
#include <new>
#include <vector>

#include "platform/faults.h"
#include "platform/file_open.h"
#include "platform/mix.h"
#include "platform/refusal.h"
#include "platform/web/silent/midi_length.h"
#include "platform/web/silent/silent_state.h"
#include "platform/web/silent/voices.h"

struct PLAT_MUSIC_SYNTH_TYP {
  PLAT_MIDI_TYP* playing;  // the piece playing now, or null
  int64_t played_frames;   // of the mix, since it started
};

struct PLAT_MIDI_TYP {
  std::vector<uint8_t> bytes;
  int64_t length_frames;  // frames of the mix from its start to its last event
};

namespace {

// Larger than any song; a bigger file is not music we wrote.
constexpr long MIDI_MAX_BYTES = 16 * 1024 * 1024;

const SILENT_VOICES_TYP* voices_now = nullptr;
int64_t rendered_us = 0;

int64_t length_of(const PLAT_MIDI_TYP* midi) {
  return rendered_us > 0 ? rendered_us * MIX_RATE / 1000000 : midi->length_frames;
}

// Tells whoever makes the music heard whether it plays now, and from where.
void tell(const PLAT_MUSIC_SYNTH_TYP* synth) {
  if (!voices_now || !voices_now->music_changed) return;
  const int playing = synth && synth->playing && synth->played_frames < length_of(synth->playing);
  voices_now->music_changed(playing, playing ? double(synth->played_frames) / MIX_RATE : 0.0);
}

}  // namespace

void silent_set_voices(const SILENT_VOICES_TYP* voices) {
  voices_now = voices;
  tell(silent_mix().music);
}

const SILENT_VOICES_TYP* silent_voices() { return voices_now; }

void silent_music_set_rendered_length_us(int64_t us) { rendered_us = us; }

void silent_music_advance(int frames) {
  PLAT_MUSIC_SYNTH_TYP* synth = silent_mix().music;
  if (synth && synth->playing) synth->played_frames += frames;
}

PLAT_MUSIC_SYNTH_TYP* plat_music_create_synth() {
  if (plat_fault(CALL_MUSIC_SYNTH)) return nullptr;
  if (silent_mix().music) return nullptr;  // one synthesizer per process
  silent_mix().music = new (std::nothrow) PLAT_MUSIC_SYNTH_TYP{nullptr, 0};
  return silent_mix().music;
}

void plat_music_release_synth(PLAT_MUSIC_SYNTH_TYP* synth) {
  if (!synth || synth != silent_mix().music) return;
  silent_mix().music = nullptr;
  delete synth;
}

PLAT_MIDI_TYP* plat_music_load(PLAT_MUSIC_SYNTH_TYP* synth, const char* path) {
  if (plat_fault(CALL_MUSIC_LOAD)) return nullptr;
  if (!synth || !path) return nullptr;
  FILE* fp = plat_open_regular_file(path, "rb");
  if (!fp) return nullptr;
  long length = -1;
  if (std::fseek(fp, 0, SEEK_END) == 0) length = std::ftell(fp);
  std::rewind(fp);
  auto* midi = (length >= 14 && length <= MIDI_MAX_BYTES) ? new (std::nothrow) PLAT_MIDI_TYP
                                                          : nullptr;
  if (midi) {
    midi->bytes.resize(size_t(length));
    const int64_t us = std::fread(midi->bytes.data(), 1, size_t(length), fp) == size_t(length)
                           ? midi_length_us(midi->bytes.data(), midi->bytes.size())
                           : -1;
    if (us < 0) {
      const bool mthd = midi->bytes[0] == 'M' && midi->bytes[1] == 'T' && midi->bytes[2] == 'h' &&
                        midi->bytes[3] == 'd';
      plat_refusal_note(mthd ? "not a MIDI file the game can read (header too short)"
                             : "not a MIDI file (no MThd header)");
      delete midi;
      midi = nullptr;
    } else {
      midi->length_frames = us * MIX_RATE / 1000000;
    }
  } else if (length >= 0 && length < 14) {
    plat_refusal_note("cut short (expected at least 14 bytes, found %ld)", length);
  } else if (length > MIDI_MAX_BYTES) {
    plat_refusal_note("not a MIDI file the game can read (more than any piece)");
  }
  std::fclose(fp);
  return midi;
}

void plat_music_release(PLAT_MUSIC_SYNTH_TYP* synth, PLAT_MIDI_TYP* midi) {
  if (!midi) return;
  if (synth && synth->playing == midi) {
    synth->playing = nullptr;
    tell(synth);
  }
  delete midi;
}

int plat_music_play(PLAT_MUSIC_SYNTH_TYP* synth, PLAT_MIDI_TYP* midi) {
  if (!synth || !midi) return 0;
  synth->playing = midi;
  synth->played_frames = 0;
  tell(synth);
  return 1;
}

int plat_music_stop(PLAT_MUSIC_SYNTH_TYP* synth, PLAT_MIDI_TYP* midi) {
  if (!synth || !midi) return 0;
  if (synth->playing == midi) {
    synth->playing = nullptr;
    tell(synth);
  }
  return 1;
}

void plat_music_stop_all(PLAT_MUSIC_SYNTH_TYP* synth) {
  if (!synth || !synth->playing) return;
  synth->playing = nullptr;
  tell(synth);
}

int plat_music_is_playing(PLAT_MUSIC_SYNTH_TYP* synth, PLAT_MIDI_TYP* midi) {
  if (!synth || !midi || synth->playing != midi) return 0;
  return synth->played_frames < length_of(midi) ? 1 : 0;
}
