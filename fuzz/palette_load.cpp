// libFuzzer target: any bytes as a palette file.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "engine/graphics/palette.h"

namespace {

// One scratch file per process, removed when the run ends.
struct TempFile {
  // Memory-backed where there is such a folder: a disk round trip per input is far slower.
  std::string path = std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                     "/ashfallow-fuzz-palette-" + std::to_string(::getpid()) + ".pal";
  ~TempFile() { std::remove(path.c_str()); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const TempFile temp;
  const std::string& path = temp.path;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  if (size) std::fwrite(data, 1, size, file);
  std::fclose(file);
  PALETTEENTRY palette[256];
  std::memset(palette, 0xA5, sizeof palette);
  palette_file_load(path.c_str(), palette);
  return 0;
}
