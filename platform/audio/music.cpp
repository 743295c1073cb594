// Music on FluidSynth: the synthesizer renders into the mix, and a MIDI player driven by the
// samples rendered (not by a clock) plays the piece, so the headless mix is deterministic.
#include "platform/music.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

#include "platform/audio/mix_state.h"
#include "platform/faults.h"
#include "platform/file_open.h"
#include "platform/mix.h"
#include "platform/refusal.h"

struct PLAT_MUSIC_SYNTH_TYP {
  fluid_settings_t* settings;
  fluid_synth_t* synth;
  fluid_player_t* player;  // the piece playing now, or null
  PLAT_MIDI_TYP* playing;  // whose piece that is
  int total_ticks;         // the piece's length once the player has read it, else 0
};

struct PLAT_MIDI_TYP {
  std::vector<uint8_t> bytes;
};

namespace {

using Hold = std::lock_guard<std::recursive_mutex>;
Hold hold() { return Hold(plat_mix_state().lock); }

PLAT_MUSIC_SYNTH_TYP* open_synth = nullptr;

// Larger than any song; a bigger file is not music we wrote.
constexpr long MIDI_MAX_BYTES = 16 * 1024 * 1024;

void quiet_log(int, const char*, void*) {}

void silence_logging() {
  for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
    fluid_set_log_function(level, quiet_log, nullptr);
}

// The sound font's samples are loaded by a parallel loop when FluidSynth is built with OpenMP.
// The runtime's first parallel loop starts a worker per core, which spins waiting for more work
// before it sleeps: milliseconds of a core at every start, for a small sound font. The runtime
// reads OMP_WAIT_POLICY only as it is loaded, before main, so instead the loop is given this
// thread alone and no worker is ever started (the mix renders on one core anyway,
// synth.cpu-cores). A player who set OMP_NUM_THREADS keeps what they chose.
void load_on_this_thread_alone() {
  if (std::getenv("OMP_NUM_THREADS")) return;
  using SET_THREADS = void (*)(int);
  if (void* set = dlsym(RTLD_DEFAULT, "omp_set_num_threads")) reinterpret_cast<SET_THREADS>(set)(1);
}

// The synthesizer's sound: near its default gain, so the effects (at full scale) stay clear of it
// (the laser even at the quietest level the game plays it), with a small room and a light chorus.
void configure(fluid_settings_t* settings) {
  fluid_settings_setnum(settings, "synth.sample-rate", MIX_RATE);
  fluid_settings_setnum(settings, "synth.gain", 0.25);
  fluid_settings_setint(settings, "synth.cpu-cores", 1);
  fluid_settings_setint(settings, "synth.reverb.active", 1);
  fluid_settings_setnum(settings, "synth.reverb.room-size", 0.35);
  fluid_settings_setnum(settings, "synth.reverb.damp", 0.4);
  fluid_settings_setnum(settings, "synth.reverb.width", 0.8);
  fluid_settings_setnum(settings, "synth.reverb.level", 0.3);
  fluid_settings_setint(settings, "synth.chorus.active", 1);
  fluid_settings_setnum(settings, "synth.chorus.level", 0.8);
  fluid_settings_setnum(settings, "synth.chorus.depth", 3.0);
  fluid_settings_setstr(settings, "player.timing-source", "sample");
}

// Ends the piece playing now and lets its notes ring out through their release.
void end_piece(PLAT_MUSIC_SYNTH_TYP* synth) {
  if (synth->player) {
    fluid_player_stop(synth->player);
    delete_fluid_player(synth->player);
    synth->player = nullptr;
  }
  synth->playing = nullptr;
  synth->total_ticks = 0;
  for (int channel = 0; channel < 16; ++channel) fluid_synth_cc(synth->synth, channel, 64, 0);
  fluid_synth_all_notes_off(synth->synth, -1);
}

// Why a file was not taken as a piece, for whoever asked for it.
void note_not_midi(const std::vector<uint8_t>& b, long length) {
  char size[32];
  plat_size_words(uint64_t(length < 0 ? 0 : length), size, sizeof size);
  if (length >= 0 && length < 14)
    plat_refusal_note("cut short (expected at least 14 bytes, found %ld)", length);
  else if (length > MIDI_MAX_BYTES)
    plat_refusal_note("not a MIDI file the game can read (%s, more than any piece)", size);
  else if (b.size() < 8)
    plat_refusal_note("could not be read");
  else if (b[0] != 'M' || b[1] != 'T' || b[2] != 'h' || b[3] != 'd')
    plat_refusal_note("not a MIDI file (no MThd header)");
  else
    plat_refusal_note("not a MIDI file the game can read (header length %u)",
                      unsigned(b[4]) << 24 | unsigned(b[5]) << 16 | unsigned(b[6]) << 8 | b[7]);
}

// A piece with a MIDI header is kept as it is, but a chunk whose size runs past the end of the
// file means the piece is damaged, and the player is told.
void note_damage(const std::vector<uint8_t>& b) {
  auto be32 = [&b](size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
  };
  for (uint64_t at = 0; at + 8 <= b.size(); at += 8 + uint64_t(be32(size_t(at) + 4))) {
    const uint64_t end = at + 8 + be32(size_t(at) + 4);
    if (end <= b.size()) continue;
    char size[32];
    plat_size_words(be32(size_t(at) + 4), size, sizeof size);
    if (end - at > uint64_t(MIDI_MAX_BYTES))
      plat_refusal_note("not a MIDI file the game can read (size field %s)", size);
    else
      plat_refusal_note("cut short (expected %llu bytes, found %zu)", (unsigned long long)end,
                        b.size());
    return;
  }
}

}  // namespace

PLAT_MUSIC_SYNTH_TYP* plat_music_create_synth() {
  if (plat_fault(CALL_MUSIC_SYNTH)) return nullptr;
  auto lock = hold();
  if (open_synth) return nullptr;  // one synthesizer per process
  silence_logging();
  load_on_this_thread_alone();
  fluid_settings_t* settings = new_fluid_settings();
  if (!settings) return nullptr;
  configure(settings);
  fluid_synth_t* synth = new_fluid_synth(settings);
  if (!synth || fluid_synth_sfload(synth, MUSIC_SOUNDFONT, 1) == FLUID_FAILED) {
    if (synth) delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return nullptr;
  }
  open_synth = new (std::nothrow) PLAT_MUSIC_SYNTH_TYP{settings, synth, nullptr, nullptr, 0};
  if (!open_synth) {
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return nullptr;
  }
  plat_mix_state().music = synth;
  return open_synth;
}

void plat_music_release_synth(PLAT_MUSIC_SYNTH_TYP* synth) {
  if (!synth) return;
  auto lock = hold();
  if (synth != open_synth) return;
  end_piece(synth);
  plat_mix_state().music = nullptr;
  delete_fluid_synth(synth->synth);
  delete_fluid_settings(synth->settings);
  delete synth;
  open_synth = nullptr;
}

PLAT_MIDI_TYP* plat_music_load(PLAT_MUSIC_SYNTH_TYP* synth, const char* path) {
  if (plat_fault(CALL_MUSIC_LOAD)) return nullptr;
  if (!synth || !path) return nullptr;
  FILE* fp = plat_open_regular_file(path, "rb");
  if (!fp) return nullptr;
  long length = -1;
  if (std::fseek(fp, 0, SEEK_END) == 0) length = std::ftell(fp);
  std::rewind(fp);
  // "MThd", a header length of at least 6, format, tracks and division.
  auto* midi = (length >= 14 && length <= MIDI_MAX_BYTES) ? new (std::nothrow) PLAT_MIDI_TYP
                                                          : nullptr;
  if (midi) {
    midi->bytes.resize(size_t(length));
    const uint8_t* b = midi->bytes.data();
    bool ok = std::fread(midi->bytes.data(), 1, size_t(length), fp) == size_t(length) &&
              b[0] == 'M' && b[1] == 'T' && b[2] == 'h' && b[3] == 'd' &&
              (uint32_t(b[4]) << 24 | uint32_t(b[5]) << 16 | uint32_t(b[6]) << 8 | b[7]) >= 6;
    if (ok) note_damage(midi->bytes);
    if (!ok) {
      note_not_midi(midi->bytes, length);
      delete midi;
      midi = nullptr;
    }
  } else {
    note_not_midi({}, length);
  }
  std::fclose(fp);
  return midi;
}

void plat_music_release(PLAT_MUSIC_SYNTH_TYP* synth, PLAT_MIDI_TYP* midi) {
  if (!midi) return;
  auto lock = hold();
  // The player holds its own copy of the bytes, but a piece nobody can stop must not go on.
  if (synth && synth->playing == midi) end_piece(synth);
  delete midi;
}

int plat_music_play(PLAT_MUSIC_SYNTH_TYP* synth, PLAT_MIDI_TYP* midi) {
  if (!synth || !midi) return 0;
  auto lock = hold();
  end_piece(synth);
  // A player cannot rewind: every play starts a fresh one from the loaded bytes.
  fluid_player_t* player = new_fluid_player(synth->synth);
  if (!player) return 0;
  if (fluid_player_add_mem(player, midi->bytes.data(), midi->bytes.size()) != FLUID_OK ||
      fluid_player_play(player) != FLUID_OK) {
    delete_fluid_player(player);
    return 0;
  }
  synth->player = player;
  synth->playing = midi;
  return 1;
}

int plat_music_stop(PLAT_MUSIC_SYNTH_TYP* synth, PLAT_MIDI_TYP* midi) {
  if (!synth || !midi) return 0;
  auto lock = hold();
  if (synth->playing == midi) end_piece(synth);
  return 1;
}

void plat_music_stop_all(PLAT_MUSIC_SYNTH_TYP* synth) {
  if (!synth) return;
  auto lock = hold();
  end_piece(synth);
}

int plat_music_is_playing(PLAT_MUSIC_SYNTH_TYP* synth, PLAT_MIDI_TYP* midi) {
  if (!synth || !midi) return 0;
  auto lock = hold();
  if (synth->playing != midi || !synth->player) return 0;
  if (fluid_player_get_status(synth->player) != FLUID_PLAYER_PLAYING) return 0;
  // The player stays busy while the last notes ring out; the piece itself ends at its last
  // event, and that is when the game wants to start it again.
  // The length walks every event of every track, and the game asks each frame: it is read
  // once, when the player has loaded the piece (0 until then).
  if (synth->total_ticks <= 0) synth->total_ticks = fluid_player_get_total_ticks(synth->player);
  const int total = synth->total_ticks;
  return total > 0 && fluid_player_get_current_tick(synth->player) >= total ? 0 : 1;
}
