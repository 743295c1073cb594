// Walking a Standard MIDI file's tracks for their tempo changes and their last events. Every
// read is checked against the track it is in, so a size or length that lies ends the walk.
#include "platform/web/silent/midi_length.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int64_t DEFAULT_TEMPO_US = 500000;  // a quarter note, until a tempo says otherwise

struct TEMPO_REC {
  int64_t tick;
  int64_t us_per_quarter;
};

uint32_t be32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// A variable-length number (at most four bytes of seven bits); false past the end.
bool read_number(const uint8_t*& at, const uint8_t* end, uint32_t* value) {
  *value = 0;
  for (int i = 0; i < 4; ++i) {
    if (at >= end) return false;
    const uint8_t byte = *at++;
    *value = (*value << 7) | (byte & 0x7F);
    if (!(byte & 0x80)) return true;
  }
  return false;
}

// Walks one track: its tempo changes go into `tempos`; returns the tick of its last event.
int64_t walk_track(const uint8_t* at, const uint8_t* end, std::vector<TEMPO_REC>* tempos) {
  int64_t tick = 0;
  uint8_t status = 0;
  while (at < end) {
    uint32_t delta;
    if (!read_number(at, end, &delta)) break;
    const int64_t event_tick = tick + delta;
    if (at >= end) break;
    uint8_t byte = *at;
    if (byte & 0x80) {
      status = byte;
      ++at;
    } else if (status == 0 || status >= 0xF0) {
      break;  // data with no running status to belong to
    }
    if (status == 0xFF) {
      if (at >= end) break;
      const uint8_t type = *at++;
      uint32_t length;
      if (!read_number(at, end, &length) || length > size_t(end - at)) break;
      tick = event_tick;
      if (type == 0x51 && length == 3)
        tempos->push_back({tick, int64_t(at[0]) << 16 | int64_t(at[1]) << 8 | at[2]});
      at += length;
      status = 0;  // meta and system events cancel the running status
      if (type == 0x2F) break;  // end of track
    } else if (status == 0xF0 || status == 0xF7) {
      uint32_t length;
      if (!read_number(at, end, &length) || length > size_t(end - at)) break;
      at += length;
      tick = event_tick;
      status = 0;
    } else {
      const int data = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
      if (end - at < data) break;
      at += data;
      tick = event_tick;
    }
  }
  return tick;
}

}  // namespace

int64_t midi_length_us(const uint8_t* bytes, size_t size) {
  if (!bytes || size < 14 || be32(bytes) != 0x4D546864u) return -1;  // "MThd"
  const uint32_t header = be32(bytes + 4);
  if (header < 6) return -1;
  const int tracks = bytes[10] << 8 | bytes[11];
  const int division = bytes[12] << 8 | bytes[13];
  // A file the synthesizer would take but cannot time plays nothing and ends at once.
  if (header > size - 8 || division == 0) return 0;

  std::vector<TEMPO_REC> tempos;
  int64_t last_tick = 0;
  size_t at = 8 + header;
  for (int t = 0; t < tracks && size - at >= 8; ++t) {
    const uint32_t length = be32(bytes + at + 4);
    const bool is_track = be32(bytes + at) == 0x4D54726Bu;  // "MTrk"
    const size_t available = std::min<size_t>(length, size - at - 8);
    if (is_track)
      last_tick = std::max(last_tick,
                           walk_track(bytes + at + 8, bytes + at + 8 + available, &tempos));
    if (length > size - at - 8) break;
    at += 8 + length;
  }

  if (division & 0x8000) {
    // Frames a second (as a negative byte) times ticks a frame: no tempo applies.
    const int frames = 256 - (division >> 8);
    const int per_frame = division & 0xFF;
    if (frames <= 0 || per_frame <= 0) return 0;
    return last_tick * 1000000 / (int64_t{frames} * per_frame);
  }
  // Ticks a quarter note, at the tempo in force at each tick (a later change on the same tick
  // wins, as it is the one the piece plays on with).
  std::stable_sort(tempos.begin(), tempos.end(),
                   [](const TEMPO_REC& a, const TEMPO_REC& b) { return a.tick < b.tick; });
  int64_t us = 0, tick = 0, tempo = DEFAULT_TEMPO_US;
  for (const TEMPO_REC& change : tempos) {
    if (change.tick >= last_tick) break;
    us += (change.tick - tick) * tempo / division;
    tick = change.tick;
    tempo = change.us_per_quarter;
  }
  return us + (last_tick - tick) * tempo / division;
}
