// A small PNG writer for captured frames and contact sheets: 8-bit RGB, no filtering, the image
// data in stored (uncompressed) deflate blocks. Any PNG reader opens it; size is not a concern
// for pictures people look at.
#include <cstddef>
#include <vector>

#include "platform/image/byte_out.h"
#include "platform/image/png_frame.h"
#include "platform/image_file.h"

namespace {

uint32_t crc_table[256];
bool crc_ready = false;

uint32_t crc32_of(const uint8_t* data, size_t size, uint32_t crc = 0) {
  if (!crc_ready) {
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      crc_table[n] = c;
    }
    crc_ready = true;
  }
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = crc_table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  plat_put_be32(out, static_cast<uint32_t>(data.size()));
  size_t start = out.size();
  plat_put_tag(out, type);
  out.insert(out.end(), data.begin(), data.end());
  plat_put_be32(out, crc32_of(out.data() + start, out.size() - start));
}

// zlib stream of stored blocks of at most 65535 bytes, with the Adler-32 of the data.
std::vector<uint8_t> zlib_stored(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> z{0x78, 0x01};
  size_t pos = 0;
  do {
    size_t n = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
    bool last = pos + n == raw.size();
    z.push_back(last ? 1 : 0);
    plat_put_le16(z, static_cast<uint32_t>(n));
    plat_put_le16(z, static_cast<uint32_t>(~n & 0xFFFF));
    z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
             raw.begin() + static_cast<std::ptrdiff_t>(pos + n));
    pos += n;
  } while (pos < raw.size());
  uint32_t a = 1, b = 0;
  for (uint8_t v : raw) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  plat_put_be32(z, (b << 16) | a);
  return z;
}

}  // namespace

int plat_write_png(const char* path, const uint8_t* rgb, int width, int height) {
  if (!path || !rgb || width <= 0 || height <= 0 || width > 65536 || height > 65536) return 0;
  const size_t row = static_cast<size_t>(width) * 3;
  std::vector<uint8_t> raw;
  raw.reserve((row + 1) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // filter: none
    const uint8_t* line = rgb + row * static_cast<size_t>(y);
    raw.insert(raw.end(), line, line + row);
  }

  return plat_write_png_stream(path, width, height, PNG_COLOR_RGB, zlib_stored(raw));
}

int plat_write_png_stream(const char* path, int width, int height, int color_type,
                          const std::vector<uint8_t>& zlib_stream) {
  std::vector<uint8_t> file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  plat_put_be32(header, static_cast<uint32_t>(width));
  plat_put_be32(header, static_cast<uint32_t>(height));
  // 8 bits a channel, deflate, the standard filters, no interlace.
  header.insert(header.end(), {8, static_cast<uint8_t>(color_type), 0, 0, 0});
  chunk(file, "IHDR", header);
  chunk(file, "IDAT", zlib_stream);
  chunk(file, "IEND", {});
  return plat_write_file(path, file.data(), file.size());
}
