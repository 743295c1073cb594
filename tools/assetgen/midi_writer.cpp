#include "tools/assetgen/midi_writer.h"

#include <algorithm>
#include <cstring>

static void put_vlq(std::vector<uint8_t>& out, uint32_t v) {
  uint8_t buf[5];
  int n = 0;
  buf[n++] = v & 0x7F;
  while (v >>= 7) buf[n++] = static_cast<uint8_t>(0x80 | (v & 0x7F));
  while (n) out.push_back(buf[--n]);
}

void midi_meta(MIDI_TRACK_TYP* track, uint32_t tick, uint8_t type, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> b = {0xFF, type};
  put_vlq(b, static_cast<uint32_t>(data.size()));
  b.insert(b.end(), data.begin(), data.end());
  track->events.push_back({tick, 0, b});
}

void midi_name(MIDI_TRACK_TYP* track, const char* name) {
  midi_meta(track, 0, 0x03, std::vector<uint8_t>(name, name + std::strlen(name)));
}

void midi_tempo(MIDI_TRACK_TYP* track, uint32_t tick, uint32_t us) {
  midi_meta(track, tick, 0x51, {static_cast<uint8_t>(us >> 16), static_cast<uint8_t>(us >> 8), static_cast<uint8_t>(us)});
}

void midi_program(MIDI_TRACK_TYP* track, int channel, int program) {
  track->events.push_back({0, 1, {static_cast<uint8_t>(0xC0 | channel), static_cast<uint8_t>(program)}});
}

void midi_control(MIDI_TRACK_TYP* track, uint32_t tick, int channel, int controller, int value) {
  track->events.push_back(
      {tick, 1, {static_cast<uint8_t>(0xB0 | channel), static_cast<uint8_t>(controller), static_cast<uint8_t>(value)}});
}

void midi_note(MIDI_TRACK_TYP* track, uint32_t tick, uint32_t length, int channel, int key, int velocity) {
  velocity = std::clamp(velocity, 1, 127);
  track->events.push_back(
      {tick, 3, {static_cast<uint8_t>(0x90 | channel), static_cast<uint8_t>(key), static_cast<uint8_t>(velocity)}});
  track->events.push_back({tick + length, 2, {static_cast<uint8_t>(0x80 | channel), static_cast<uint8_t>(key), 0}});
}

static void put32be(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(v >> s));
}

std::vector<uint8_t> midi_encode(std::vector<MIDI_TRACK_TYP> tracks, int ticks_per_quarter) {
  std::vector<uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
  out.push_back(static_cast<uint8_t>(tracks.size() >> 8));
  out.push_back(static_cast<uint8_t>(tracks.size()));
  out.push_back(static_cast<uint8_t>(ticks_per_quarter >> 8));
  out.push_back(static_cast<uint8_t>(ticks_per_quarter));
  for (MIDI_TRACK_TYP& t : tracks) {
    std::stable_sort(t.events.begin(), t.events.end(), [](const MIDI_EVENT_TYP& a, const MIDI_EVENT_TYP& b) {
      return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<uint8_t> body;
    uint32_t now = 0;
    for (const MIDI_EVENT_TYP& e : t.events) {
      put_vlq(body, e.tick - now);
      now = e.tick;
      body.insert(body.end(), e.bytes.begin(), e.bytes.end());
    }
    put_vlq(body, t.end_tick > now ? t.end_tick - now : 0);
    body.insert(body.end(), {0xFF, 0x2F, 0x00});
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    put32be(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
  }
  return out;
}
