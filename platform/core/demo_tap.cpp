// Recording and replaying a demo beneath the platform's reads. A recording gathers one frame's
// reads at a time, encodes each finished frame into the chunk being filled, and writes the
// chunk out about once a second, so a game that crashes loses at most its last second. A
// replay reads and checks the whole file first, then hands out its readings in order and
// notices the first read the recording does not hold.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/core/backend.h"
#include "platform/core/demo_format.h"
#include "platform/core/demo_tap.h"
#include "platform/demo.h"
#include "platform/file_open.h"
#include "platform/ticks.h"

int demo_mode = DEMO_OFF;

namespace {

void set_reason(char* reason, int size, const std::string& text) {
  if (reason && size > 0) std::snprintf(reason, static_cast<size_t>(size), "%s", text.c_str());
}

// Recording -----------------------------------------------------------------------------

struct RECORDER_REC {
  FILE* file = nullptr;
  std::string path;
  std::string failure;  // the first write that failed; the recording stopped there
  DEMO_FRAME_TYP frame;
  uint8_t state[256] = {};  // the state as last recorded
  std::vector<uint8_t> payload;
  uint32_t payload_records = 0;
  uint64_t records = 0;
  uint32_t prev_clock = 0;
  uint64_t last_write_us = 0;
};
RECORDER_REC rec;

constexpr uint64_t WRITE_EVERY_US = 1000000;

void record_failed(const char* what) {
  if (rec.failure.empty())
    rec.failure = "cannot " + std::string(what) + " the demo " + rec.path + ": " + std::strerror(errno);
  std::fclose(rec.file);  // its own failure adds nothing to the first
  rec.file = nullptr;
  demo_mode = DEMO_OFF;
}

int write_bytes(const std::vector<uint8_t>& bytes) {
  if (!rec.file) return 0;
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), rec.file) != bytes.size()) {
    record_failed("write");
    return 0;
  }
  if (std::fflush(rec.file) != 0) {
    record_failed("write");
    return 0;
  }
  return 1;
}

void end_record() {
  demo_put_record(rec.payload, rec.frame, &rec.prev_clock);
  ++rec.payload_records;
  ++rec.records;
  rec.frame = DEMO_FRAME_TYP{};
}

void write_chunk() {
  if (rec.payload_records == 0) return;
  std::vector<uint8_t> bytes;
  demo_put_chunk(bytes, rec.payload_records, rec.payload);
  rec.payload.clear();
  rec.payload_records = 0;
  write_bytes(bytes);
  rec.last_write_us = plat_real_time_us();
}

// Replaying -----------------------------------------------------------------------------

struct REPLAY_REC {
  DEMO_TYP demo;
  size_t record = 0;
  // Reads used in the current record.
  uint64_t clocks = 0;
  uint32_t run = 0, run_used = 0;
  uint32_t states = 0, change_at = 0;
  uint32_t downs = 0;
  uint8_t state[256] = {};
  uint32_t last_clock = 0;
  int over = 0;
  std::string divergence;
  int paced = 0;
  int anchored = 0;
  uint64_t anchor_us = 0;
  uint32_t anchor_tick = 0;
};
REPLAY_REC play;

const DEMO_RECORD_TYP& current() { return play.demo.records[play.record]; }

void diverge(const std::string& what) {
  if (play.divergence.empty())
    play.divergence = "at " + demo_record_name(play.record) + ": " + what;
  play.over = 1;
}

std::string times(uint64_t n) { return std::to_string(n) + (n == 1 ? " time" : " times"); }

// The current record's reads all used: 1, else 0 and the divergence noted.
int record_used() {
  const DEMO_RECORD_TYP& r = current();
  const uint64_t clocks = demo_clock_reads(play.demo, play.record);
  if (play.clocks != clocks) {
    diverge("the game read the clock " + times(play.clocks) + ", the recording holds " +
            std::to_string(clocks));
  } else if (play.states != r.state_reads) {
    diverge("the game read the keyboard state " + times(play.states) +
            ", the recording holds " + std::to_string(r.state_reads));
  } else if (play.downs != r.down_count) {
    diverge("the game asked for a key down now " + times(play.downs) +
            ", the recording holds " + std::to_string(r.down_count));
  }
  return play.divergence.empty();
}

// A wait's reading in a paced replay comes when the recording's time says so: the frames
// last what they lasted when played. A replay that fell far behind (a window moved) takes
// up the pace from where it is rather than rushing to catch up.
void pace_until(uint32_t tick) {
  const uint64_t now = plat_real_time_us();
  if (!play.anchored) {
    play.anchored = 1;
    play.anchor_us = now;
    play.anchor_tick = tick;
    return;
  }
  const uint64_t due = play.anchor_us + uint64_t(static_cast<uint32_t>(tick - play.anchor_tick)) * 1000;
  if (now + 250000 < due || now > due + 250000) {
    play.anchor_us = now;
    play.anchor_tick = tick;
    return;
  }
  if (due > now) plat_backend_sleep(static_cast<uint32_t>((due - now + 999) / 1000));
}

}  // namespace

void demo_record_clock(uint32_t reading) {
  if (demo_mode != DEMO_RECORDING) return;
  std::vector<DEMO_RUN_TYP>& clock = rec.frame.clock;
  if (!clock.empty() && clock.back().value == reading && clock.back().count < 0xFFFFFFFFu)
    ++clock.back().count;
  else
    clock.push_back({reading, 1});
}

void demo_record_state(const uint8_t* state) {
  if (demo_mode != DEMO_RECORDING) return;
  const uint32_t read = rec.frame.state_reads++;
  for (int i = 0; i < 256; ++i) {
    if (state[i] == rec.state[i]) continue;
    rec.frame.changes.push_back({read, static_cast<uint8_t>(i), state[i]});
    rec.state[i] = state[i];
  }
}

void demo_record_down(int down) {
  if (demo_mode == DEMO_RECORDING) rec.frame.downs.push_back(down ? 1 : 0);
}

uint32_t demo_replay_clock(int wait_end) {
  if (play.over) return play.last_clock;
  const DEMO_RECORD_TYP& r = current();
  while (play.run < r.run_count && play.run_used >= play.demo.runs[r.run_first + play.run].count) {
    ++play.run;
    play.run_used = 0;
  }
  if (play.run >= r.run_count) {
    diverge("the game read the clock more than the " + times(play.clocks) + " recorded");
    return play.last_clock;
  }
  const uint32_t reading = play.demo.runs[r.run_first + play.run].value;
  if (wait_end && play.paced) pace_until(reading);
  ++play.run_used;
  ++play.clocks;
  play.last_clock = reading;
  return reading;
}

void demo_replay_state(uint8_t* state) {
  if (!play.over) {
    const DEMO_RECORD_TYP& r = current();
    if (play.states >= r.state_reads) {
      diverge("the game read the keyboard state more than the " + times(play.states) + " recorded");
    } else {
      while (play.change_at < r.change_count &&
             play.demo.changes[r.change_first + play.change_at].read == play.states) {
        const DEMO_CHANGE_TYP& change = play.demo.changes[r.change_first + play.change_at];
        play.state[change.dik] = change.value;
        ++play.change_at;
      }
      ++play.states;
    }
  }
  std::memcpy(state, play.state, sizeof play.state);
}

int demo_replay_down() {
  if (play.over) return 0;
  const DEMO_RECORD_TYP& r = current();
  if (play.downs >= r.down_count) {
    diverge("the game asked for a key down now more than the " + times(play.downs) + " recorded");
    return 0;
  }
  return play.demo.downs[r.down_first + play.downs++];
}

int plat_demo_record_start(const char* path, const DEMO_HEADER_TYP* header, char* reason,
                           int reason_size) {
  if (demo_mode != DEMO_OFF || !path || !header) {
    set_reason(reason, reason_size, "a demo is already being recorded or replayed");
    return 0;
  }
  rec = RECORDER_REC{};
  rec.path = path;
  rec.file = std::fopen(path, "wb");
  if (!rec.file) {
    set_reason(reason, reason_size, "cannot create the demo " + rec.path + ": " + std::strerror(errno));
    return 0;
  }
  std::vector<uint8_t> bytes;
  demo_put_header(bytes, *header);
  demo_mode = DEMO_RECORDING;
  if (!write_bytes(bytes)) {
    set_reason(reason, reason_size, rec.failure);
    return 0;
  }
  rec.last_write_us = plat_real_time_us();
  return 1;
}

int plat_demo_record_finish(char* reason, int reason_size) {
  if (demo_mode == DEMO_RECORDING) {
    end_record();
    write_chunk();
    std::vector<uint8_t> bytes;
    demo_put_end(bytes, rec.records);
    write_bytes(bytes);
  }
  demo_mode = DEMO_OFF;
  if (rec.file) {
    errno = 0;
    if (std::fclose(rec.file) != 0 && rec.failure.empty())
      rec.failure = "cannot close the demo " + rec.path + ": " + std::strerror(errno);
    rec.file = nullptr;
  }
  const int ok = rec.failure.empty();
  if (!ok) set_reason(reason, reason_size, rec.failure);
  rec = RECORDER_REC{};
  return ok;
}

int plat_demo_replay_start(const char* path, DEMO_HEADER_TYP* header, int* unfinished,
                           char* reason, int reason_size) {
  if (demo_mode != DEMO_OFF || !path) {
    set_reason(reason, reason_size, "a demo is already being recorded or replayed");
    return 0;
  }
  errno = 0;
  FILE* file = plat_open_regular_file(path, "rb");
  if (!file) {
    set_reason(reason, reason_size,
               std::string(path) + ": " + (errno ? std::strerror(errno) : "not a regular file"));
    return 0;
  }
  // Read to one byte past the largest demo, which tells a file too large from one just large
  // enough.
  std::vector<uint8_t> bytes;
  uint8_t block[65536];
  size_t got = 0;
  while (bytes.size() <= DEMO_MAX_FILE && (got = std::fread(block, 1, sizeof block, file)) > 0)
    bytes.insert(bytes.end(), block, block + got);
  const int read_failed = std::ferror(file);
  std::fclose(file);
  if (read_failed) {
    set_reason(reason, reason_size, std::string(path) + ": cannot be read");
    return 0;
  }
  play = REPLAY_REC{};
  std::string why;
  if (!demo_parse(bytes.data(), bytes.size(), &play.demo, &why)) {
    set_reason(reason, reason_size, std::string(path) + ": " + why);
    play = REPLAY_REC{};
    return 0;
  }
  if (header) *header = play.demo.header;
  if (unfinished) *unfinished = !play.demo.finished;
  demo_mode = DEMO_REPLAYING;
  return 1;
}

void plat_demo_replay_paced(int paced) { play.paced = paced; }

long plat_demo_frames() {
  return play.demo.records.empty() ? 0 : static_cast<long>(play.demo.records.size() - 1);
}

uint32_t plat_demo_frame_clock(long frame) {
  // Record 0 holds the start-up's reads; frame N is record N + 1.
  const size_t last = std::min(static_cast<size_t>(frame < 0 ? 0 : frame) + 1,
                               play.demo.records.empty() ? 0 : play.demo.records.size() - 1);
  for (size_t r = last; r >= 1; --r) {
    const DEMO_RECORD_TYP& record = play.demo.records[r];
    if (record.run_count > 0) return play.demo.runs[record.run_first].value;
  }
  return 0;
}

int plat_demo_frame() {
  if (demo_mode == DEMO_RECORDING) {
    end_record();
    if (plat_real_time_us() - rec.last_write_us >= WRITE_EVERY_US) write_chunk();
    return 1;
  }
  if (demo_mode != DEMO_REPLAYING) return 1;
  if (play.over || !record_used()) return 0;
  if (play.record + 1 >= play.demo.records.size()) {
    play.over = 1;
    return 0;
  }
  ++play.record;
  play.clocks = 0;
  play.run = play.run_used = 0;
  play.states = play.change_at = 0;
  play.downs = 0;
  return 1;
}

int plat_demo_replay_finish(int whole, char* reason, int reason_size) {
  if (demo_mode != DEMO_REPLAYING) return 1;
  demo_mode = DEMO_OFF;
  if (!play.over) record_used();
  if (play.divergence.empty() && whole && play.record + 1 < play.demo.records.size()) {
    play.divergence = "the game ended at " + demo_record_name(play.record) +
                      "; its recording goes on to " + demo_record_name(play.demo.records.size() - 1);
  }
  const int ok = play.divergence.empty();
  if (!ok) set_reason(reason, reason_size, play.divergence);
  play = REPLAY_REC{};
  return ok;
}
