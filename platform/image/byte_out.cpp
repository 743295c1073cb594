// Byte packing for the file writers.
#include "platform/image/byte_out.h"

#include <cstdio>

void plat_put_le16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void plat_put_le32(std::vector<uint8_t>& out, uint32_t v) {
  plat_put_le16(out, v & 0xFFFF);
  plat_put_le16(out, v >> 16);
}

void plat_put_be32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void plat_put_tag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

int plat_write_file(const char* path, const uint8_t* bytes, size_t size) {
  if (!path) return 0;
  FILE* f = std::fopen(path, "wb");
  if (!f) return 0;
  // A short write or a failed close (a full disk shows there) both leave a broken file.
  bool ok = size == 0 || std::fwrite(bytes, 1, size, f) == size;
  ok = std::fclose(f) == 0 && ok;
  return ok ? 1 : 0;
}
