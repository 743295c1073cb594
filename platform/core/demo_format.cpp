// Writing and reading the demo file's bytes. The reader trusts nothing: every count is checked
// against the bytes that are really there, so a damaged file is refused, never followed.
#include "platform/core/demo_format.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* MAGIC = "ASHFALLOW DEMO\n";
constexpr uint8_t CHUNK_TAG = 'C';
constexpr uint8_t END_TAG = 'E';
// Far above a long game (a 10-minute game holds about 20,000 records; this is some 37 hours)
// and far below what would exhaust memory.
constexpr uint64_t MAX_RECORDS = 4000000;

void put_varint(std::vector<uint8_t>& out, uint64_t v) {
  while (v >= 0x80) {
    out.push_back(static_cast<uint8_t>(v | 0x80));
    v >>= 7;
  }
  out.push_back(static_cast<uint8_t>(v));
}

void put_crc(std::vector<uint8_t>& out, size_t from) {
  const uint32_t crc = plat_demo_crc32(0, out.data() + from, out.size() - from);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(crc >> (8 * i)));
}

// A cursor over bytes that refuses to read past their end.
struct READER_REC {
  const uint8_t* at;
  const uint8_t* end;
  int ok = 1;

  size_t left() const { return static_cast<size_t>(end - at); }
  uint8_t byte() {
    if (at >= end) {
      ok = 0;
      return 0;
    }
    return *at++;
  }
  // At most 32 bits (5 bytes); a longer or overlong one is damage.
  uint32_t varint() {
    uint64_t v = 0;
    for (int shift = 0; shift < 35; shift += 7) {
      const uint8_t b = byte();
      if (!ok) return 0;
      v |= uint64_t(b & 0x7F) << shift;
      if (!(b & 0x80)) {
        if (v > 0xFFFFFFFFu) ok = 0;
        return static_cast<uint32_t>(v);
      }
    }
    ok = 0;
    return 0;
  }
  uint32_t le32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t(byte()) << (8 * i);
    return v;
  }
};

// A header line "KEY VALUE\n" at *at; the value's text, or 0 when the line is not that.
int header_line(READER_REC* r, const char* key, std::string* value) {
  const size_t key_size = std::strlen(key);
  if (r->left() < key_size + 1 || std::memcmp(r->at, key, key_size) != 0 || r->at[key_size] != ' ')
    return 0;
  const uint8_t* start = r->at + key_size + 1;
  const uint8_t* stop = start;
  while (stop < r->end && *stop != '\n' && stop - start < 16) ++stop;
  if (stop >= r->end || *stop != '\n' || stop == start) return 0;
  value->assign(reinterpret_cast<const char*>(start), static_cast<size_t>(stop - start));
  r->at = stop + 1;
  return 1;
}

int decimal(const std::string& text, uint64_t max, uint64_t* value) {
  if (text.empty() || text.size() > 10) return 0;
  uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    v = v * 10 + uint64_t(c - '0');
  }
  if (v > max) return 0;
  *value = v;
  return 1;
}

int hex8(const std::string& text, uint32_t* value) {
  if (text.size() != 8) return 0;
  uint32_t v = 0;
  for (char c : text) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else return 0;
    v = (v << 4) | uint32_t(d);
  }
  *value = v;
  return 1;
}

int parse_header(READER_REC* r, DEMO_HEADER_TYP* header, std::string* reason) {
  const size_t magic_size = std::strlen(MAGIC);
  if (r->left() < magic_size || std::memcmp(r->at, MAGIC, magic_size) != 0) {
    // A file cut inside its magic line is a cut demo, not something else.
    const bool prefix = r->left() < magic_size && std::memcmp(r->at, MAGIC, r->left()) == 0;
    *reason = prefix ? "is cut short in its header" : "is not an Ashfallow demo";
    return 0;
  }
  r->at += magic_size;
  std::string value;
  uint64_t version = 0;
  if (!header_line(r, "version", &value) || !decimal(value, 0xFFFFFFFFu, &version)) {
    *reason = "has a damaged header (no version line)";
    return 0;
  }
  if (version != DEMO_VERSION) {
    *reason = "is a version " + std::to_string(version) + " demo; this game reads version " +
              std::to_string(DEMO_VERSION);
    return 0;
  }
  uint64_t seed = 0;
  if (!header_line(r, "seed", &value) || !decimal(value, 0xFFFFFFFFu, &seed)) {
    *reason = "has a damaged header (no seed line)";
    return 0;
  }
  uint32_t data_sum = 0;
  if (!header_line(r, "data", &value) || !hex8(value, &data_sum)) {
    *reason = "has a damaged header (no data line)";
    return 0;
  }
  header->seed = static_cast<uint32_t>(seed);
  header->data_sum = data_sum;
  return 1;
}

// One record from a chunk's payload, appended to the demo's arrays; its readings are still
// against `prev`, the previous record's last. 0 when the payload does not hold it whole and sound.
int parse_record(READER_REC* r, DEMO_TYP* demo, uint32_t* prev) {
  const uint8_t flags = r->byte();
  if (!r->ok || (flags & 0x80)) return 0;
  uint32_t states = flags & 3;
  uint32_t downs = (flags >> 3) & 3;
  if (states == 3) {
    states = r->varint();
    if (states < 3) return 0;
  }
  if (downs == 3) {
    downs = r->varint();
    if (downs < 3) return 0;
  }
  // Unused result bits must be clear.
  const uint32_t short_bits = (flags >> 5) & 3;
  if (downs > 2 ? short_bits != 0 : (short_bits >> downs) != 0) return 0;
  const int change_lists = (flags >> 2) & 1;
  if (!r->ok || (change_lists && (states == 0 || states > r->left()))) return 0;

  DEMO_RECORD_TYP record = {};
  record.state_reads = states;
  const uint32_t runs = r->varint();
  if (!r->ok || runs > r->left() / 2) return 0;  // each run takes two bytes at least
  record.run_first = static_cast<uint32_t>(demo->runs.size());
  record.run_count = runs;
  for (uint32_t i = 0; i < runs; ++i) {
    DEMO_RUN_TYP run;
    *prev += r->varint();
    run.value = *prev;
    run.count = r->varint();
    if (!r->ok || run.count == 0) return 0;
    demo->runs.push_back(run);
  }
  record.change_first = static_cast<uint32_t>(demo->changes.size());
  if (change_lists) {
    for (uint32_t read = 0; read < states; ++read) {
      const uint32_t count = r->varint();
      if (!r->ok || count > 256 || count > r->left() / 2) return 0;
      for (uint32_t i = 0; i < count; ++i) {
        DEMO_CHANGE_TYP change;
        change.read = read;
        change.dik = r->byte();
        change.value = r->byte();
        demo->changes.push_back(change);
      }
    }
  }
  record.change_count = static_cast<uint32_t>(demo->changes.size()) - record.change_first;
  record.down_first = static_cast<uint32_t>(demo->downs.size());
  record.down_count = downs;
  if (downs <= 2) {
    for (uint32_t i = 0; i < downs; ++i) demo->downs.push_back((short_bits >> i) & 1);
  } else {
    const size_t bytes = (size_t(downs) + 7) / 8;
    if (bytes > r->left()) return 0;
    for (uint32_t i = 0; i < downs; ++i) demo->downs.push_back((r->at[i / 8] >> (i % 8)) & 1);
    // The bits past the last read must be clear.
    if (downs % 8 && (r->at[bytes - 1] >> (downs % 8)) != 0) return 0;
    r->at += bytes;
  }
  demo->records.push_back(record);
  return r->ok;
}

}  // namespace

uint32_t plat_demo_crc32(uint32_t crc, const void* data, size_t size) {
  static uint32_t table[256];
  static bool ready = false;
  if (!ready) {
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
    ready = true;
  }
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void demo_put_header(std::vector<uint8_t>& out, const DEMO_HEADER_TYP& header) {
  char text[96];
  const int n = std::snprintf(text, sizeof text, "%sversion %d\nseed %u\ndata %08x\n", MAGIC,
                              DEMO_VERSION, header.seed, header.data_sum);
  out.insert(out.end(), text, text + n);
}

void demo_put_record(std::vector<uint8_t>& out, const DEMO_FRAME_TYP& frame, uint32_t* prev) {
  const size_t states = frame.state_reads, downs = frame.downs.size();
  const int change_lists = !frame.changes.empty();
  uint8_t flags = static_cast<uint8_t>((states < 3 ? states : 3) | (change_lists << 2) |
                                       ((downs < 3 ? downs : 3) << 3));
  if (downs <= 2)
    for (size_t i = 0; i < downs; ++i) flags |= static_cast<uint8_t>((frame.downs[i] & 1) << (5 + i));
  out.push_back(flags);
  if (states >= 3) put_varint(out, states);
  if (downs >= 3) put_varint(out, downs);
  put_varint(out, frame.clock.size());
  for (const DEMO_RUN_TYP& run : frame.clock) {
    put_varint(out, static_cast<uint32_t>(run.value - *prev));
    put_varint(out, run.count);
    *prev = run.value;
  }
  if (change_lists) {
    size_t next = 0;
    for (uint32_t read = 0; read < states; ++read) {
      size_t end = next;
      while (end < frame.changes.size() && frame.changes[end].read == read) ++end;
      put_varint(out, end - next);
      for (; next < end; ++next) {
        out.push_back(frame.changes[next].dik);
        out.push_back(frame.changes[next].value);
      }
    }
  }
  if (downs > 2) {
    const size_t first = out.size();
    out.resize(first + (downs + 7) / 8, 0);
    for (size_t i = 0; i < downs; ++i)
      out[first + i / 8] |= static_cast<uint8_t>((frame.downs[i] & 1) << (i % 8));
  }
}

void demo_put_chunk(std::vector<uint8_t>& out, uint32_t records, const std::vector<uint8_t>& payload) {
  const size_t start = out.size();
  out.push_back(CHUNK_TAG);
  put_varint(out, records);
  put_varint(out, payload.size());
  out.insert(out.end(), payload.begin(), payload.end());
  put_crc(out, start);
}

void demo_put_end(std::vector<uint8_t>& out, uint64_t records) {
  const size_t start = out.size();
  out.push_back(END_TAG);
  put_varint(out, records);
  put_crc(out, start);
}

uint64_t demo_clock_reads(const DEMO_TYP& demo, size_t record) {
  const DEMO_RECORD_TYP& r = demo.records[record];
  uint64_t n = 0;
  for (uint32_t i = 0; i < r.run_count; ++i) n += demo.runs[r.run_first + i].count;
  return n;
}

DEMO_FRAME_TYP demo_frame_of(const DEMO_TYP& demo, size_t record) {
  const DEMO_RECORD_TYP& r = demo.records[record];
  DEMO_FRAME_TYP frame;
  frame.clock.assign(demo.runs.begin() + r.run_first, demo.runs.begin() + r.run_first + r.run_count);
  frame.state_reads = r.state_reads;
  frame.changes.assign(demo.changes.begin() + r.change_first,
                       demo.changes.begin() + r.change_first + r.change_count);
  frame.downs.assign(demo.downs.begin() + r.down_first, demo.downs.begin() + r.down_first + r.down_count);
  return frame;
}

std::string demo_record_name(size_t record) {
  return record == 0 ? std::string("start-up") : "frame " + std::to_string(record - 1);
}

int demo_parse(const uint8_t* bytes, size_t size, DEMO_TYP* demo, std::string* reason) {
  demo->records.clear();
  demo->runs.clear();
  demo->changes.clear();
  demo->downs.clear();
  demo->finished = 0;
  if (size == 0) {
    *reason = "is empty";
    return 0;
  }
  if (size > DEMO_MAX_FILE) {
    *reason = "is too large to be a demo";
    return 0;
  }
  READER_REC r{bytes, bytes + size};
  if (!parse_header(&r, &demo->header, reason)) return 0;
  uint32_t prev = 0;
  while (r.left() > 0) {
    const uint8_t* start = r.at;
    const std::string where = demo_record_name(demo->records.size());
    const uint8_t tag = r.byte();
    if (tag == END_TAG) {
      const uint32_t records = r.varint();
      const uint32_t crc = r.le32();
      if (!r.ok) {
        *reason = "is cut short in its end record";
        return 0;
      }
      if (crc != plat_demo_crc32(0, start, static_cast<size_t>(r.at - start) - 4)) {
        *reason = "is damaged: its end record fails its checksum";
        return 0;
      }
      if (records != demo->records.size()) {
        *reason = "is damaged: its end record counts " + std::to_string(records) +
                  " records, the file holds " + std::to_string(demo->records.size());
        return 0;
      }
      if (r.left() > 0) {
        *reason = "is damaged: bytes follow its end record";
        return 0;
      }
      demo->finished = 1;
      break;
    }
    if (tag != CHUNK_TAG) {
      *reason = "is damaged at byte " + std::to_string(start - bytes) + " (" + where + ")";
      return 0;
    }
    const uint32_t records = r.varint();
    const uint32_t payload = r.varint();
    if (!r.ok || r.left() < size_t(payload) + 4) {
      *reason = "is cut short in the chunk that begins at " + where;
      return 0;
    }
    const uint8_t* payload_start = r.at;
    r.at += payload;
    const uint32_t crc = r.le32();
    if (crc != plat_demo_crc32(0, start, static_cast<size_t>(payload_start - start) + payload)) {
      *reason = "is damaged: the chunk at byte " + std::to_string(start - bytes) + " (" + where +
                ") fails its checksum";
      return 0;
    }
    if (records == 0 || records > payload || demo->records.size() + records > MAX_RECORDS) {
      *reason = "is damaged: the chunk at byte " + std::to_string(start - bytes) +
                " holds an impossible record count";
      return 0;
    }
    READER_REC chunk{payload_start, payload_start + payload};
    for (uint32_t i = 0; i < records; ++i) {
      if (!parse_record(&chunk, demo, &prev)) {
        *reason = "is damaged in " + demo_record_name(demo->records.size());
        return 0;
      }
    }
    if (chunk.left() != 0) {
      *reason = "is damaged: the chunk at byte " + std::to_string(start - bytes) +
                " holds more than its records";
      return 0;
    }
  }
  if (demo->records.empty()) {
    *reason = "holds no frames";
    return 0;
  }
  return 1;
}
