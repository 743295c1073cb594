// libFuzzer target: any bytes as a WAV file on disk, loaded by name through the RIFF reader's
// file path (seeks and reads on the open file, not the in-memory copy). A load either fails
// with -1 or gives a slot whose buffer holds no more than the file holds. The last byte picks
// how the reader is driven: by the sound loader, or chunk by chunk as a caller might walk it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "engine/audio/sound.h"
#include "fuzz/sound_fuzz.h"
#include "platform/riff.h"

namespace {

// One scratch file per process, removed when the run ends.
struct TempFile {
  // Memory-backed where there is such a folder: a disk round trip per input is far slower.
  std::string path = std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                     "/ashfallow-fuzz-riff-" + std::to_string(::getpid()) + ".wav";
  ~TempFile() { std::remove(path.c_str()); }
};

// Walks every chunk of the file (descending into forms), reading each one's data.
void walk(RIFF_FILE_TYP* file, size_t size) {
  if (plat_riff_size(file) != size) std::abort();
  RIFF_CHUNK_TYP form{};
  uint8_t buffer[64];
  for (int chunks = 0; chunks < 64; ++chunks) {
    RIFF_CHUNK_TYP chunk{};
    if (!plat_riff_descend(file, &chunk, form.ckid ? &form : nullptr, 0)) break;
    if (uint64_t(chunk.data_offset) + chunk.cksize > size) std::abort();
    if (chunk.ckid == RIFF_ID_RIFF && !form.ckid) {
      form = chunk;  // read on inside the form
      continue;
    }
    const int32_t got = plat_riff_read(file, buffer, sizeof buffer);
    if (got < 0 || got > int32_t(sizeof buffer)) std::abort();
    plat_riff_ascend(file, &chunk);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_sound_started();
  static const TempFile temp;
  FILE* out = std::fopen(temp.path.c_str(), "wb");
  if (!out) return 0;
  if (size) std::fwrite(data, 1, size, out);
  std::fclose(out);

  if (size && (data[size - 1] & 1)) {
    if (RIFF_FILE_TYP* file = plat_riff_open(temp.path.c_str())) {
      walk(file, size);
      plat_riff_close(file);
    }
    return 0;
  }
  fuzz_check_load(load_wav_sound(temp.path.c_str(),
                                 DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME),
                  size);
  return 0;
}
