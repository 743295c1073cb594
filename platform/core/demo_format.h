// The demo file: a text header, then chunks of frame records, then an end record.
//
//   ASHFALLOW DEMO\n            magic line
//   version 1\n
//   seed 1733688000\n           decimal, 0 to 4294967295
//   data 1a2b3c4d\n             checksum of the data files, 8 lowercase hex digits
//   chunk*                      'C' varint(records) varint(bytes) record* crc32
//   end                         'E' varint(records in the whole file) crc32
//
// Varints are unsigned LEB128 (7 bits a byte, low first, at most 5 bytes); each crc32 is
// little-endian, over the chunk or end record from its tag on. Record 0 holds the reads made
// before the first frame, record N + 1 those of frame N. A record:
//
//   flags        bits 0-1 state reads (3: a varint follows), bit 2 change lists follow,
//                bits 3-4 down-now reads (3: a varint follows), bits 5-6 the first two
//                down-now results when there are at most two, bit 7 zero
//   [varint state reads] [varint down-now reads]
//   varint runs, then per run: varint (reading - previous reading, mod 2^32), varint count:
//                the clock readings in order, equal readings in a run; the previous reading
//                of the first record is 0
//   when bit 2:  per state read: varint changes, then per change: scan code byte, value byte
//                (against the state read before it, all zero at the start)
//   more than two down-now reads: their results, a bit each, low bit first, in whole bytes
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/demo.h"

constexpr int DEMO_VERSION = 1;

struct DEMO_RUN_TYP {
  uint32_t value;
  uint32_t count;
};

struct DEMO_CHANGE_TYP {
  uint32_t read;  // which state read of the record it belongs to
  uint8_t dik;
  uint8_t value;
};

// One frame's reads as the recorder gathers them and the writer encodes them.
struct DEMO_FRAME_TYP {
  std::vector<DEMO_RUN_TYP> clock;
  uint32_t state_reads = 0;
  std::vector<DEMO_CHANGE_TYP> changes;  // in read order
  std::vector<uint8_t> downs;            // per down-now read, 0 or 1
};

// A read file: its records as ranges of shared arrays (a long demo holds many records).
struct DEMO_RECORD_TYP {
  uint32_t run_first, run_count;
  uint32_t state_reads;
  uint32_t change_first, change_count;
  uint32_t down_first, down_count;
};

struct DEMO_TYP {
  DEMO_HEADER_TYP header;
  std::vector<DEMO_RECORD_TYP> records;
  std::vector<DEMO_RUN_TYP> runs;
  std::vector<DEMO_CHANGE_TYP> changes;
  std::vector<uint8_t> downs;
  int finished;  // the end record was there
};

// The largest file a reader takes (a 10-minute game takes about 200 KB).
constexpr size_t DEMO_MAX_FILE = 64u << 20;

// Writers. prev is the last clock reading before the record (updated).
void demo_put_header(std::vector<uint8_t>& out, const DEMO_HEADER_TYP& header);
void demo_put_record(std::vector<uint8_t>& out, const DEMO_FRAME_TYP& frame, uint32_t* prev);
// A chunk of `records` records already encoded in payload.
void demo_put_chunk(std::vector<uint8_t>& out, uint32_t records, const std::vector<uint8_t>& payload);
void demo_put_end(std::vector<uint8_t>& out, uint64_t records);

// Reads a whole file image. 1, or 0 with the reason ("is not an Ashfallow demo", "is cut short
// in frame 12", ...) in *reason, to follow the file's name.
int demo_parse(const uint8_t* bytes, size_t size, DEMO_TYP* demo, std::string* reason);

// A read record as a frame again (to write it anew), and its number of clock readings.
DEMO_FRAME_TYP demo_frame_of(const DEMO_TYP& demo, size_t record);
uint64_t demo_clock_reads(const DEMO_TYP& demo, size_t record);

// "start-up" for record 0, "frame N" for record N + 1.
std::string demo_record_name(size_t record);
