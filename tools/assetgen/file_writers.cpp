#include "tools/assetgen/file_writers.h"

#include <algorithm>
#include <cstdio>

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}
void put32be(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(v >> s));
}
void put_tag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

uint32_t crc32(const uint8_t* data, size_t n, uint32_t crc = 0) {
  crc = ~crc;
  for (size_t i = 0; i < n; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

void png_chunk(std::vector<uint8_t>& out, const char* tag, const std::vector<uint8_t>& data) {
  put32be(out, static_cast<uint32_t>(data.size()));
  size_t start = out.size();
  put_tag(out, tag);
  out.insert(out.end(), data.begin(), data.end());
  put32be(out, crc32(out.data() + start, out.size() - start));
}

}  // namespace

void picture_create(PICTURE_TYP* picture, int width, int height) {
  picture->width = width;
  picture->height = height;
  picture->pixels.assign(static_cast<size_t>(width) * height, 0);
}

int file_write_bytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  size_t n = std::fwrite(bytes.data(), 1, bytes.size(), f);
  int closed = std::fclose(f) == 0;
  return n == bytes.size() && closed ? 1 : 0;
}

int bmp_write_8bit(const std::string& path, const PICTURE_TYP* picture, const PALETTEENTRY palette[256]) {
  if (picture->width <= 0 || picture->height <= 0 || picture->width % 4 != 0) return 0;
  uint32_t image_size = static_cast<uint32_t>(picture->width) * picture->height;
  uint32_t offset = 14 + 40 + 1024;
  std::vector<uint8_t> out;
  out.reserve(offset + image_size);
  out.push_back('B');
  out.push_back('M');
  put32(out, offset + image_size);
  put32(out, 0);
  put32(out, offset);
  put32(out, 40);
  put32(out, static_cast<uint32_t>(picture->width));
  put32(out, static_cast<uint32_t>(picture->height));
  put16(out, 1);
  put16(out, 8);
  put32(out, 0);  // BI_RGB
  put32(out, image_size);
  put32(out, 2835);  // 72 dpi
  put32(out, 2835);
  put32(out, 256);
  put32(out, 256);
  for (int i = 0; i < 256; ++i) {
    out.push_back(palette[i].blue);
    out.push_back(palette[i].green);
    out.push_back(palette[i].red);
    out.push_back(0);
  }
  for (int y = picture->height - 1; y >= 0; --y) {
    const uint8_t* row = picture->pixels.data() + static_cast<size_t>(y) * picture->width;
    out.insert(out.end(), row, row + picture->width);
  }
  return file_write_bytes(path, out);
}

int palette_write_text(const std::string& path, const PALETTEENTRY palette[256]) {
  std::string text;
  char line[64];
  for (int i = 0; i < 256; ++i) {
    std::snprintf(line, sizeof line, "\n%d %d %d %d", palette[i].red, palette[i].green, palette[i].blue,
                  palette[i].flags);
    text += line;
  }
  return file_write_bytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

int wav_write_8bit(const std::string& path, const std::vector<uint8_t>& samples) {
  std::vector<uint8_t> out;
  uint32_t data_size = static_cast<uint32_t>(samples.size());
  uint32_t pad = data_size & 1;
  put_tag(out, "RIFF");
  put32(out, 4 + (8 + 18) + (8 + data_size + pad));
  put_tag(out, "WAVE");
  put_tag(out, "fmt ");
  put32(out, 18);
  put16(out, 1);      // PCM
  put16(out, 1);      // mono
  put32(out, 11025);  // samples per second
  put32(out, 11025);  // bytes per second
  put16(out, 1);      // block alignment
  put16(out, 8);      // bits per sample
  put16(out, 0);      // no extra format bytes
  put_tag(out, "data");
  put32(out, data_size);
  out.insert(out.end(), samples.begin(), samples.end());
  if (pad) out.push_back(0x80);
  return file_write_bytes(path, out);
}

int png_write_rgb(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height) {
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(width * 3 + 1) * height);
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    const uint8_t* row = rgb.data() + static_cast<size_t>(y) * width * 3;
    raw.insert(raw.end(), row, row + width * 3);
  }
  // zlib stream of stored blocks.
  std::vector<uint8_t> z = {0x78, 0x01};
  size_t pos = 0;
  do {
    size_t n = std::min<size_t>(65535, raw.size() - pos);
    z.push_back(pos + n == raw.size() ? 1 : 0);
    put16(z, static_cast<uint32_t>(n));
    put16(z, static_cast<uint32_t>(~n & 0xFFFF));
    z.insert(z.end(), raw.begin() + static_cast<long>(pos), raw.begin() + static_cast<long>(pos + n));
    pos += n;
  } while (pos < raw.size());
  uint32_t a = 1, b = 0;
  for (uint8_t c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  put32be(z, b << 16 | a);

  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> ihdr;
  put32be(ihdr, static_cast<uint32_t>(width));
  put32be(ihdr, static_cast<uint32_t>(height));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
  png_chunk(out, "IHDR", ihdr);
  png_chunk(out, "IDAT", z);
  png_chunk(out, "IEND", {});
  return file_write_bytes(path, out);
}
