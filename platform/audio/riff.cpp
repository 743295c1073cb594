// RIFF chunk reader over a file or a block of memory.
#include "platform/riff.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "platform/file_open.h"
#include "platform/refusal.h"

struct RIFF_FILE_TYP {
  FILE* fp;             // null when reading from memory
  const uint8_t* data;  // the memory being read, or null
  uint32_t size;
  uint32_t pos;
};

namespace {

// Reads exactly `bytes` at `offset`; 1 when all of them came back.
int read_at(RIFF_FILE_TYP* file, uint64_t offset, void* buffer, uint32_t bytes) {
  if (offset + bytes > file->size) return 0;
  if (bytes == 0) return 1;
  if (file->data) {
    std::memcpy(buffer, file->data + offset, bytes);
    return 1;
  }
  if (std::fseek(file->fp, long(offset), SEEK_SET) != 0) return 0;
  return std::fread(buffer, 1, bytes, file->fp) == bytes ? 1 : 0;
}

uint32_t le32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// The words for a sound file the game cannot read, with what was found.
#define NOT_A_SOUND "not a sound the game can read "

// Four characters of a chunk id as they stand in the file, unprintable ones as '?'.
void fourcc_text(uint32_t id, char out[5]) {
  for (int i = 0; i < 4; ++i) {
    const unsigned char c = static_cast<unsigned char>(id >> (8 * i));
    out[i] = c >= 32 && c < 127 ? char(c) : '?';
  }
  out[4] = 0;
}

// A chunk whose size field reaches past what holds it. Past the end of the file it is a file cut
// short, unless the size is beyond anything a sound could be: then the field itself is wrong.
void note_overrun(const RIFF_FILE_TYP* file, uint32_t ckid, uint32_t cksize, uint64_t start,
                  uint64_t limit) {
  constexpr uint32_t BEYOND_ANY_SOUND = 256u << 20;
  const uint64_t end = start + 8 + cksize;
  char id[5];
  fourcc_text(ckid, id);
  if (cksize >= BEYOND_ANY_SOUND) {
    char size[32];
    plat_size_words(cksize, size, sizeof size);
    plat_refusal_note(NOT_A_SOUND "(\"%s\" chunk with size field %s)", id, size);
  } else if (limit == file->size) {
    plat_refusal_note("cut short (expected %llu bytes, found %u)",
                      static_cast<unsigned long long>(end), unsigned(file->size));
  } else {
    plat_refusal_note(NOT_A_SOUND "(\"%s\" chunk larger than the chunk holding it)", id);
  }
}

// The chunk asked for is not there: a form of another type, or no such chunk.
void note_not_found(const RIFF_FILE_TYP* file, const RIFF_CHUNK_TYP* chunk, int flags,
                    bool saw_other_form) {
  char id[5];
  if (flags & RIFF_FIND_RIFF) {
    fourcc_text(chunk->fcc_type, id);
    if (saw_other_form)
      plat_refusal_note(NOT_A_SOUND "(RIFF but not %s)", id);
    else if (file->size < 12)
      plat_refusal_note("cut short (expected at least 12 bytes, found %u)", unsigned(file->size));
    else
      plat_refusal_note(NOT_A_SOUND "(no RIFF header)");
  } else {
    fourcc_text(chunk->ckid, id);
    plat_refusal_note(NOT_A_SOUND "(no \"%s\" chunk)", id);
  }
}

}  // namespace

RIFF_FILE_TYP* plat_riff_open(const char* path) {
  if (!path) return nullptr;
  FILE* fp = plat_open_regular_file(path, "rb");
  if (!fp) return nullptr;
  long length = -1;
  if (std::fseek(fp, 0, SEEK_END) == 0) length = std::ftell(fp);
  // A RIFF file cannot be larger than its 32-bit sizes can describe.
  if (length < 0 || uint64_t(length) > 0xFFFFFFFFull) {
    std::fclose(fp);
    return nullptr;
  }
  auto* file = new (std::nothrow) RIFF_FILE_TYP{fp, nullptr, uint32_t(length), 0};
  if (!file) std::fclose(fp);
  return file;
}

RIFF_FILE_TYP* plat_riff_open_memory(const uint8_t* data, size_t size) {
  if (!data || size > 0xFFFFFFFFull) return nullptr;
  return new (std::nothrow) RIFF_FILE_TYP{nullptr, data, uint32_t(size), 0};
}

void plat_riff_close(RIFF_FILE_TYP* file) {
  if (!file) return;
  if (file->fp) std::fclose(file->fp);
  delete file;
}

uint32_t plat_riff_size(const RIFF_FILE_TYP* file) { return file ? file->size : 0; }

int plat_riff_descend(RIFF_FILE_TYP* file, RIFF_CHUNK_TYP* chunk, const RIFF_CHUNK_TYP* parent,
                      int flags) {
  if (!file || !chunk) return 0;
  uint64_t limit = file->size;
  if (parent) {
    uint64_t parent_end = uint64_t(parent->data_offset) + parent->cksize;
    if (parent_end < limit) limit = parent_end;
  }
  uint64_t start = file->pos;
  bool saw_form = false;        // a "RIFF" chunk
  bool saw_other_form = false;  // one of another form type than the one asked for
  for (;;) {
    if (start + 8 > limit) {
      note_not_found(file, chunk, flags, saw_other_form);
      return 0;
    }
    uint8_t header[12];
    if (!read_at(file, start, header, 8)) return 0;
    uint32_t ckid = le32(header);
    uint32_t cksize = le32(header + 4);
    // A chunk must fit inside what holds it; a size beyond that is a damaged or hostile file.
    if (cksize > limit - (start + 8)) {
      // Bytes that never held a form are no sound at all, whatever their "size" says.
      if ((flags & RIFF_FIND_RIFF) && ckid != RIFF_ID_RIFF && !saw_form)
        plat_refusal_note(NOT_A_SOUND "(no RIFF header)");
      else
        note_overrun(file, ckid, cksize, start, limit);
      return 0;
    }
    uint32_t fcc_type = 0;
    if (ckid == RIFF_ID_RIFF) {
      if (cksize < 4 || !read_at(file, start + 8, header + 8, 4)) {
        plat_refusal_note(NOT_A_SOUND "(a RIFF chunk with no form type)");
        return 0;
      }
      fcc_type = le32(header + 8);
    }
    bool found = false;
    if (flags & RIFF_FIND_RIFF) {
      found = ckid == RIFF_ID_RIFF && fcc_type == chunk->fcc_type;
      saw_form = saw_form || ckid == RIFF_ID_RIFF;
      saw_other_form = saw_other_form || (ckid == RIFF_ID_RIFF && !found);
    } else if (flags & RIFF_FIND_CHUNK) {
      found = ckid == chunk->ckid;
    } else {
      found = true;
    }
    if (found) {
      chunk->ckid = ckid;
      chunk->cksize = cksize;
      chunk->fcc_type = fcc_type;
      chunk->data_offset = uint32_t(start + 8);
      file->pos = uint32_t(start + 8 + (ckid == RIFF_ID_RIFF ? 4 : 0));
      return 1;
    }
    // Chunks are padded to an even length.
    start += 8 + uint64_t(cksize) + (cksize & 1);
  }
}

int plat_riff_ascend(RIFF_FILE_TYP* file, const RIFF_CHUNK_TYP* chunk) {
  if (!file || !chunk) return 0;
  uint64_t end = uint64_t(chunk->data_offset) + chunk->cksize + (chunk->cksize & 1);
  // The last chunk of a file may lack its pad byte.
  file->pos = uint32_t(end < file->size ? end : file->size);
  return 1;
}

int32_t plat_riff_read(RIFF_FILE_TYP* file, void* buffer, int32_t bytes) {
  if (!file || !buffer || bytes < 0) return -1;
  uint32_t left = file->size - file->pos;
  uint32_t count = uint32_t(bytes) < left ? uint32_t(bytes) : left;
  if (!read_at(file, file->pos, buffer, count)) return -1;
  file->pos += count;
  return int32_t(count);
}
