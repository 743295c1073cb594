// Standard MIDI File writer (format 1): events are collected per track with absolute ticks and
// written as delta times, sorted, each track closed by End of Track.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct MIDI_EVENT_TYP {
  uint32_t tick;
  int order;  // at equal ticks: lower first (note-offs before note-ons, set-up before notes)
  std::vector<uint8_t> bytes;
};

struct MIDI_TRACK_TYP {
  std::vector<MIDI_EVENT_TYP> events;
  uint32_t end_tick;  // End of Track time
};

void midi_meta(MIDI_TRACK_TYP* track, uint32_t tick, uint8_t type, const std::vector<uint8_t>& data);
void midi_name(MIDI_TRACK_TYP* track, const char* name);
void midi_tempo(MIDI_TRACK_TYP* track, uint32_t tick, uint32_t microseconds_per_quarter);
void midi_program(MIDI_TRACK_TYP* track, int channel, int program);
void midi_control(MIDI_TRACK_TYP* track, uint32_t tick, int channel, int controller, int value);
// A note from tick for length ticks.
void midi_note(MIDI_TRACK_TYP* track, uint32_t tick, uint32_t length, int channel, int key, int velocity);

std::vector<uint8_t> midi_encode(std::vector<MIDI_TRACK_TYP> tracks, int ticks_per_quarter);
