// libFuzzer target: any bytes as a .BMP file, from memory and through a file; a file that loads
// is then cut into a cell, so its sizes are exercised as well as its headers.
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "engine/graphics/bitmap.h"
#include "engine/graphics/display.h"
#include "engine/graphics/image.h"

namespace {

// One scratch file per process, removed when the run ends.
struct TempFile {
  // Memory-backed where there is such a folder: a disk round trip per input is far slower.
  std::string path = std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                     "/ashfallow-fuzz-bitmap-" + std::to_string(::getpid()) + ".bmp";
  ~TempFile() { std::remove(path.c_str()); }
};

const std::string& temp_path() {
  static const TempFile file;
  return file.path;
}

void cut_cells(const BMP_FILE_TYP& bitmap) {
  IMAGE_TYP image{};
  const int bits = bitmap.info_header.biBitCount;
  if (!image_create(&image, 0, 0, 8, 8, bits == 8 ? 8 : 16)) return;
  for (int cx = 0; cx < 3; ++cx) {
    if (bits == 8)
      image_load(&image, &bitmap, cx, cx, 0);
    else
      image_load16(&image, &bitmap, cx, cx, 0);
  }
  image_destroy(&image);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pixel_format = size && (data[0] & 1) ? 15 : 16;
  BMP_FILE_TYP bitmap{};
  if (bitmap_load_memory(&bitmap, data, size)) cut_cells(bitmap);

  if (FILE* file = std::fopen(temp_path().c_str(), "wb")) {
    if (size) std::fwrite(data, 1, size, file);
    std::fclose(file);
    // Loading over the earlier pixels also exercises their release.
    if (bitmap_load_file(&bitmap, temp_path().c_str())) cut_cells(bitmap);
  }
  bitmap_unload_file(&bitmap);
  return 0;
}
