#include "tools/assetgen/music.h"

#include <string>

#include "tools/assetgen/midi_writer.h"

namespace {

const uint32_t BAR = 4 * MUSIC_TICKS_PER_QUARTER;
const uint32_t EIGHTH = MUSIC_TICKS_PER_QUARTER / 2;
const uint32_t SIXTEENTH = MUSIC_TICKS_PER_QUARTER / 4;

// General MIDI programs (numbered from 0) and channels.
const int PROGRAM_BASS = 34;    // electric bass, picked
const int PROGRAM_GUITAR = 30;  // distortion guitar
const int PROGRAM_ORGAN = 19;   // church organ
const int PROGRAM_STRINGS = 48; // string ensemble
const int CH_BASS = 0, CH_GUITAR = 1, CH_LEAD = 2, CH_PAD = 3, CH_DRUMS = 9;

// Drum keys.
const int KICK = 36, SNARE = 38, HAT = 42, OPEN_HAT = 46, CRASH = 49, RIDE = 51;
const int TOM_HIGH = 50, TOM_MID = 47, TOM_LOW = 45, TOM_FLOOR = 41;

enum SECTION { INTRO, VERSE, CHORUS, BRIDGE, OUTRO };

struct BAR_TYP {
  SECTION section;
  int root;   // bass key
  bool minor; // chord quality
  bool first; // first bar of its section
};

// Chord roots as bass keys: E2 40, F2 41, A1 33, B1 35, C2 36, D2 38.
std::vector<BAR_TYP> form() {
  std::vector<BAR_TYP> bars;
  auto section = [&](SECTION s, std::initializer_list<std::pair<int, bool>> chords) {
    bool first = true;
    for (auto& c : chords) {
      bars.push_back({s, c.first, c.second, first});
      first = false;
    }
  };
  auto verse = {std::pair{40, true}, {40, true}, {36, false}, {38, false},
                {40, true},          {40, true}, {36, false}, {35, false}};
  auto chorus = {std::pair{33, true}, {33, true}, {40, true}, {40, true},
                 {36, false},         {36, false}, {35, false}, {35, false}};
  section(INTRO, {{40, true}, {40, true}, {40, true}, {35, false}});
  section(VERSE, verse);
  section(CHORUS, chorus);
  section(BRIDGE, {{40, true}, {41, false}, {40, true}, {41, false}, {36, false}, {38, false}, {35, false}, {35, false}});
  section(VERSE, verse);
  section(CHORUS, chorus);
  section(OUTRO, {{40, true}, {40, true}, {36, false}, {35, false}});
  return bars;
}

// Melodies: (key, length in eighths), key 0 a rest; eight bars each.
using PHRASE = std::vector<std::pair<int, int>>;
const PHRASE VERSE_TUNE = {
    {76, 2}, {71, 1}, {76, 1}, {79, 3}, {78, 1},  // Em
    {76, 2}, {74, 1}, {71, 1}, {67, 4},           // Em
    {72, 2}, {76, 1}, {79, 1}, {81, 3}, {79, 1},  // C
    {78, 2}, {74, 1}, {69, 1}, {74, 4},           // D
    {76, 2}, {71, 1}, {76, 1}, {79, 3}, {81, 1},  // Em
    {83, 2}, {81, 1}, {79, 1}, {78, 2}, {76, 2},  // Em
    {79, 3}, {76, 1}, {72, 2}, {76, 2},           // C
    {78, 2}, {71, 2}, {75, 4},                    // B
};
const PHRASE CHORUS_TUNE = {
    {81, 3}, {79, 1}, {76, 2}, {72, 2},           // Am
    {81, 1}, {83, 1}, {84, 2}, {83, 2}, {81, 2},  // Am
    {79, 3}, {78, 1}, {76, 2}, {71, 2},           // Em
    {76, 6}, {0, 2},                              // Em
    {76, 2}, {79, 2}, {84, 3}, {83, 1},           // C
    {81, 2}, {79, 1}, {76, 1}, {79, 4},           // C
    {78, 3}, {75, 1}, {71, 2}, {75, 2},           // B
    {78, 4}, {83, 4},                             // B
};
const PHRASE BRIDGE_TUNE = {
    {76, 8},                     // E
    {77, 6}, {76, 2},            // F
    {71, 4}, {67, 4},            // E
    {69, 4}, {72, 4},            // F
    {76, 6}, {74, 2},            // C
    {78, 4}, {81, 4},            // D
    {83, 8},                     // B
    {81, 2}, {78, 2}, {75, 2}, {71, 2},  // B
};

int vary(uint32_t tick, int amount) {
  uint32_t h = tick * 2654435761u;
  return static_cast<int>((h >> 24) % static_cast<uint32_t>(2 * amount + 1)) - amount;
}

void play_phrase(MIDI_TRACK_TYP* t, uint32_t start, const PHRASE& phrase, int velocity, int transpose) {
  uint32_t at = start;
  for (auto& n : phrase) {
    uint32_t len = n.second * EIGHTH;
    if (n.first) midi_note(t, at, len - 24, CH_LEAD, n.first + transpose, velocity + vary(at, 6));
    at += len;
  }
}

void drums_bar(MIDI_TRACK_TYP* t, uint32_t s, const BAR_TYP& bar, bool last_bar) {
  if (bar.first || (bar.section == INTRO && s == 0)) midi_note(t, s, EIGHTH, CH_DRUMS, CRASH, 110);
  if (last_bar) {
    // Fill into the top of the loop: groove for two beats, then snare and toms, silent last eighth.
    midi_note(t, s, EIGHTH, CH_DRUMS, KICK, 110);
    midi_note(t, s + 2 * EIGHTH, EIGHTH, CH_DRUMS, SNARE, 108);
    for (int k = 0; k < 2; ++k) midi_note(t, s + k * EIGHTH, EIGHTH, CH_DRUMS, HAT, 80);
    const int fill[7] = {SNARE, SNARE, TOM_HIGH, TOM_HIGH, TOM_MID, TOM_LOW, TOM_FLOOR};
    for (int k = 0; k < 7; ++k) {
      uint32_t at = s + 2 * MUSIC_TICKS_PER_QUARTER + k * SIXTEENTH;
      midi_note(t, at, SIXTEENTH, CH_DRUMS, fill[k], 92 + k * 4);
      if (k % 2 == 0) midi_note(t, at, SIXTEENTH, CH_DRUMS, KICK, 100);
    }
    return;
  }
  switch (bar.section) {
    case BRIDGE:
      // Half time: kick on one and the "and" of three, snare on three, ride eighths.
      midi_note(t, s, EIGHTH, CH_DRUMS, KICK, 112);
      midi_note(t, s + 5 * EIGHTH, EIGHTH, CH_DRUMS, KICK, 96);
      midi_note(t, s + 4 * EIGHTH, EIGHTH, CH_DRUMS, SNARE, 112);
      for (int k = 0; k < 8; ++k) midi_note(t, s + k * EIGHTH, EIGHTH, CH_DRUMS, RIDE, 78 + (k % 2 ? 0 : 12));
      break;
    case CHORUS:
      // Galloping kick under a backbeat.
      for (int k = 0; k < 16; ++k)
        if (k % 4 != 1) midi_note(t, s + k * SIXTEENTH, SIXTEENTH, CH_DRUMS, KICK, 96 + (k % 4 == 0 ? 16 : 0));
      midi_note(t, s + 4 * SIXTEENTH, EIGHTH, CH_DRUMS, SNARE, 116);
      midi_note(t, s + 12 * SIXTEENTH, EIGHTH, CH_DRUMS, SNARE, 116);
      for (int k = 0; k < 8; ++k) midi_note(t, s + k * EIGHTH, EIGHTH, CH_DRUMS, k == 7 ? OPEN_HAT : HAT, 84 + vary(s + k, 6));
      break;
    default:
      midi_note(t, s, EIGHTH, CH_DRUMS, KICK, 116);
      midi_note(t, s + 3 * EIGHTH, EIGHTH, CH_DRUMS, KICK, 100);
      midi_note(t, s + 4 * EIGHTH, EIGHTH, CH_DRUMS, KICK, 108);
      midi_note(t, s + 2 * EIGHTH, EIGHTH, CH_DRUMS, SNARE, 112);
      midi_note(t, s + 6 * EIGHTH, EIGHTH, CH_DRUMS, SNARE, 112);
      for (int k = 0; k < 8; ++k) midi_note(t, s + k * EIGHTH, EIGHTH, CH_DRUMS, HAT, (k % 2 ? 70 : 92) + vary(s + k, 5));
      break;
  }
}

}  // namespace

std::vector<uint8_t> music_make() {
  std::vector<BAR_TYP> bars = form();
  const uint32_t end = static_cast<uint32_t>(bars.size()) * BAR;
  MIDI_TRACK_TYP conductor{{}, end}, bass{{}, end}, guitar{{}, end}, lead{{}, end}, pad{{}, end}, drums{{}, end};
  midi_name(&conductor, "Ashfallow");
  midi_tempo(&conductor, 0, 60000000u / MUSIC_BEATS_PER_MINUTE);
  midi_meta(&conductor, 0, 0x58, {4, 2, 24, 8});  // 4/4
  midi_meta(&conductor, 0, 0x59, {1, 1});         // one sharp, minor: E minor

  struct SETUP {
    MIDI_TRACK_TYP* track;
    const char* name;
    int channel, program, volume, pan, reverb;
  };
  // Channel volumes set the mix, measured per part in the game's own mix (tools/assetgen/mix_meter):
  // the organ's tune on top, drums and bass under it, guitar and strings beneath.
  const SETUP setups[] = {
      {&bass, "Bass", CH_BASS, PROGRAM_BASS, 92, 64, 10},
      {&guitar, "Guitar", CH_GUITAR, PROGRAM_GUITAR, 60, 44, 20},
      {&lead, "Organ", CH_LEAD, PROGRAM_ORGAN, 120, 80, 40},
      {&pad, "Strings", CH_PAD, PROGRAM_STRINGS, 66, 64, 50},
      {&drums, "Drums", CH_DRUMS, 0, 104, 64, 20},
  };
  for (const SETUP& s : setups) {
    midi_name(s.track, s.name);
    if (s.channel != CH_DRUMS) midi_program(s.track, s.channel, s.program);
    midi_control(s.track, 0, s.channel, 7, s.volume);
    midi_control(s.track, 0, s.channel, 10, s.pan);
    midi_control(s.track, 0, s.channel, 91, s.reverb);
  }

  for (size_t i = 0; i < bars.size(); ++i) {
    const BAR_TYP& bar = bars[i];
    uint32_t s = static_cast<uint32_t>(i) * BAR;
    bool last_bar = i + 1 == bars.size();
    // Bass ostinato: driving eighths with octave leaps; a flat second pulls at the E bars.
    const int pattern[8] = {0, 0, 12, 0, 0, bar.root == 40 ? 1 : 7, 0, 12};
    for (int k = 0; k < 8; ++k) {
      if (last_bar && k == 7) break;
      int key = bar.root + pattern[k];
      if (bar.section == BRIDGE && k % 2 == 1) continue;
      midi_note(&bass, s + k * EIGHTH, EIGHTH - 40, CH_BASS, key, 104 + (k == 0 ? 14 : 0) + vary(s + k, 4));
    }
    // Guitar: muted power-chord chugs, held chords in the bridge.
    int g = bar.root + 12;
    if (bar.section == BRIDGE) {
      for (int key : {g, g + 7, g + 12}) midi_note(&guitar, s, BAR - 60, CH_GUITAR, key, 84);
    } else if (bar.section != INTRO || i >= 2) {
      for (int k = 0; k < 8; ++k) {
        if (last_bar && k >= 4) break;
        bool accent = k == 0 || k == 3 || k == 6;
        uint32_t len = accent ? EIGHTH - 30 : EIGHTH / 2;
        for (int key : {g, g + 7}) midi_note(&guitar, s + k * EIGHTH, len, CH_GUITAR, key, accent ? 100 : 76);
      }
    }
    // Strings: the chord, held; they stop a bar early so nothing rings over the loop point.
    if (i >= 2 && i + 1 < bars.size()) {
      int third = bar.minor ? 3 : 4;
      for (int key : {bar.root + 24, bar.root + 24 + third, bar.root + 31})
        midi_note(&pad, s, BAR - 30, CH_PAD, key, bar.section == BRIDGE ? 84 : 64);
    }
    drums_bar(&drums, s, bar, last_bar);
  }
  // The tunes, at the first bar of each section.
  for (size_t i = 0; i < bars.size(); ++i) {
    if (!bars[i].first) continue;
    uint32_t s = static_cast<uint32_t>(i) * BAR;
    bool second_time = i > 28;
    switch (bars[i].section) {
      case VERSE: play_phrase(&lead, s, VERSE_TUNE, second_time ? 100 : 90, 0); break;
      case CHORUS: play_phrase(&lead, s, CHORUS_TUNE, 104, 0); break;
      case BRIDGE: play_phrase(&lead, s, BRIDGE_TUNE, 86, -12); break;
      default: break;
    }
    if (second_time && bars[i].section == VERSE) play_phrase(&lead, s, VERSE_TUNE, 70, -12);  // doubled an octave down
  }
  return midi_encode({conductor, bass, guitar, lead, pad, drums}, MUSIC_TICKS_PER_QUARTER);
}
