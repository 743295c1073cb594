#include "app/data_sum.h"

#include <cstdio>

#include "app/data_files.h"
#include "platform/demo.h"
#include "platform/file_open.h"

uint32_t data_files_checksum() {
  uint32_t crc = 0;
  for (int i = 0; i < DATA_FILE_COUNT; ++i) {
    const char* name = DATA_FILES[i];
    int length = 0;
    while (name[length]) ++length;
    crc = plat_demo_crc32(crc, name, static_cast<size_t>(length) + 1);
    FILE* file = plat_open_regular_file(name, "rb");
    if (!file) continue;
    unsigned char block[65536];
    size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) crc = plat_demo_crc32(crc, block, got);
    std::fclose(file);
  }
  return crc;
}
