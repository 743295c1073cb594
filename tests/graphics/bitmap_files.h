// Test helpers: .BMP files built byte by byte, so each test can make exactly the file it needs
// (and then break one field of it).
#pragma once
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "engine/graphics/bitmap.h"
#include "tests/support/temp_path.h"

// Offsets of the header fields the tests change.
constexpr size_t BMP_OFF_BITS = 10;
constexpr size_t BMP_INFO_SIZE = 14;
constexpr size_t BMP_WIDTH = 18;
constexpr size_t BMP_HEIGHT = 22;
constexpr size_t BMP_BIT_COUNT = 28;
constexpr size_t BMP_COMPRESSION = 30;
constexpr size_t BMP_SIZE_IMAGE = 34;
constexpr size_t BMP_CLR_USED = 46;

inline void bmp_put16(std::vector<uint8_t>& file, size_t at, uint32_t value) {
  file[at] = uint8_t(value);
  file[at + 1] = uint8_t(value >> 8);
}

inline void bmp_put32(std::vector<uint8_t>& file, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) file[at + i] = uint8_t(value >> (8 * i));
}

// Pixel (x, y), counted from the top: an index (8 bits), a 16-bit value, or 0xRRGGBB (24 bits).
using BmpPixelFn = std::function<uint32_t(int x, int y)>;
// Colour-table entry i as 0xRRGGBB.
using BmpColorFn = std::function<uint32_t(int i)>;

// A file as the format describes it: rows bottom-up, each padded to 4 bytes, biSizeImage and
// bfOffBits filled in, a full 256-entry table for 8-bit files. `packed` leaves the padding out.
inline std::vector<uint8_t> bmp_make(int width, int height, int bits, const BmpPixelFn& pixel,
                                     const BmpColorFn& color = nullptr, bool packed = false) {
  const size_t bpp = size_t(bits / 8);
  const size_t row = size_t(width) * bpp;
  const size_t stride = packed ? row : (row + 3) & ~size_t(3);
  const size_t table = bits == 8 ? 1024 : 0;
  std::vector<uint8_t> file(54 + table + stride * size_t(height), 0);
  file[0] = 'B';
  file[1] = 'M';
  bmp_put32(file, 2, uint32_t(file.size()));
  bmp_put32(file, BMP_OFF_BITS, uint32_t(54 + table));
  bmp_put32(file, BMP_INFO_SIZE, 40);
  bmp_put32(file, BMP_WIDTH, uint32_t(width));
  bmp_put32(file, BMP_HEIGHT, uint32_t(height));
  bmp_put16(file, 26, 1);
  bmp_put16(file, BMP_BIT_COUNT, uint32_t(bits));
  bmp_put32(file, BMP_SIZE_IMAGE, uint32_t(stride * size_t(height)));
  if (bits == 8) {
    bmp_put32(file, BMP_CLR_USED, 256);
    for (int i = 0; i < 256; ++i) {
      const uint32_t c = color ? color(i) : uint32_t(i * 0x010101);
      file[54 + 4 * i] = uint8_t(c);            // blue
      file[54 + 4 * i + 1] = uint8_t(c >> 8);   // green
      file[54 + 4 * i + 2] = uint8_t(c >> 16);  // red
    }
  }
  for (int y = 0; y < height; ++y) {
    uint8_t* out = file.data() + 54 + table + size_t(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      const uint32_t v = pixel(x, y);
      for (size_t b = 0; b < bpp; ++b) out[size_t(x) * bpp + b] = uint8_t(v >> (8 * b));
    }
  }
  return file;
}

inline std::string bmp_temp_path(const std::string& name) { return test_temp_path(name); }

// A file in the temporary folder for the life of the object.
struct BmpTempFile {
  BmpTempFile(const std::string& name, const std::vector<uint8_t>& bytes) : path(bmp_temp_path(name)) {
    FILE* file = std::fopen(path.c_str(), "wb");
    EXPECT_NE(file, nullptr) << path;
    if (file) {
      if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
      std::fclose(file);
    }
  }
  ~BmpTempFile() { std::remove(path.c_str()); }
  const char* c_str() const { return path.c_str(); }
  std::string path;
};

// The value at (x, y) of a loaded 8-bit (1) or 16-bit (2) bitmap.
inline uint32_t bmp_pixel_at(const BMP_FILE_TYP& bitmap, int x, int y) {
  const int width = bitmap.info_header.biWidth;
  if (bitmap.info_header.biBitCount == 8) return bitmap.pixels[size_t(y) * width + x];
  const uint8_t* p = bitmap.pixels + (size_t(y) * width + x) * 2;
  return uint32_t(p[0] | p[1] << 8);
}
