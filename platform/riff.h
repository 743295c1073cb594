// RIFF chunk reader for WAV files: open, descend into a form or a chunk by id, read, ascend,
// close. Every chunk found is checked against its parent and against the file, so a size field
// that claims more than the file holds is an error, never a read past the end.
#pragma once
#include <cstddef>
#include <cstdint>

// A four-character code as it appears in the file ("RIFF", "WAVE", "fmt ", "data").
constexpr uint32_t plat_riff_fourcc(char a, char b, char c, char d) {
  return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
         uint32_t(uint8_t(d)) << 24;
}

constexpr uint32_t RIFF_ID_RIFF = plat_riff_fourcc('R', 'I', 'F', 'F');

// Descend flags: find a "RIFF" chunk of the given form type, or a chunk of the given id.
constexpr int RIFF_FIND_RIFF = 0x20;
constexpr int RIFF_FIND_CHUNK = 0x10;

// One chunk as found by a descend.
struct RIFF_CHUNK_TYP {
  uint32_t ckid;         // chunk id
  uint32_t cksize;       // bytes of data (for a form, including its form type)
  uint32_t fcc_type;     // form type of a "RIFF" chunk
  uint32_t data_offset;  // file offset of the chunk's data
};

struct RIFF_FILE_TYP;

// Opens a file for reading; null if it cannot be opened.
RIFF_FILE_TYP* plat_riff_open(const char* path);
// Reads from memory instead (the bytes must outlive the reader); null on a null pointer.
RIFF_FILE_TYP* plat_riff_open_memory(const uint8_t* data, size_t size);
void plat_riff_close(RIFF_FILE_TYP* file);

// The file's length in bytes.
uint32_t plat_riff_size(const RIFF_FILE_TYP* file);

// Finds, from the current position, the chunk asked for in `chunk` (fcc_type for
// RIFF_FIND_RIFF, ckid for RIFF_FIND_CHUNK) inside `parent` (null: the whole file) and moves to
// its data. 1, or 0 when it is not there or a size field does not fit its parent or the file.
int plat_riff_descend(RIFF_FILE_TYP* file, RIFF_CHUNK_TYP* chunk, const RIFF_CHUNK_TYP* parent,
                      int flags);
// Moves past the end of the chunk (and its pad byte). 1 or 0.
int plat_riff_ascend(RIFF_FILE_TYP* file, const RIFF_CHUNK_TYP* chunk);
// Reads up to `bytes` from the current position, no further than the end of the file. Returns
// the count read, 0 at the end, -1 on a bad argument.
int32_t plat_riff_read(RIFF_FILE_TYP* file, void* buffer, int32_t bytes);
