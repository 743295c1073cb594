// Picture output: PNG files that decode back to the same pixels, BMP layout, pixel conversion.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/display.h"
#include "platform/image_file.h"
#include "tests/platform/support.h"
#include "tests/support/temp_path.h"

namespace {

std::vector<uint8_t> read_file(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

uint32_t be32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

uint32_t crc(const uint8_t* p, size_t n) {
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) {
    c ^= p[i];
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
  }
  return ~c;
}

// Reads back a PNG of stored deflate blocks, checking every CRC and the Adler-32.
bool decode_png(const std::vector<uint8_t>& f, int* w, int* h, std::vector<uint8_t>* rgb) {
  static const uint8_t sig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (f.size() < 8 || std::memcmp(f.data(), sig, 8) != 0) return false;
  std::vector<uint8_t> z;
  size_t pos = 8;
  bool ended = false;
  while (pos + 12 <= f.size()) {
    uint32_t len = be32(&f[pos]);
    if (pos + 12 + len > f.size()) return false;
    std::string type(reinterpret_cast<const char*>(&f[pos + 4]), 4);
    if (crc(&f[pos + 4], len + 4) != be32(&f[pos + 8 + len])) return false;
    const uint8_t* data = &f[pos + 8];
    if (type == "IHDR") {
      *w = int(be32(data));
      *h = int(be32(data + 4));
      if (data[8] != 8 || data[9] != 2) return false;
    } else if (type == "IDAT") {
      z.insert(z.end(), data, data + len);
    } else if (type == "IEND") {
      ended = true;
    }
    pos += 12 + len;
  }
  if (!ended || z.size() < 6 || ((z[0] << 8) | z[1]) % 31 != 0) return false;
  std::vector<uint8_t> raw;
  size_t p = 2;
  for (;;) {
    if (p + 5 > z.size()) return false;
    uint8_t header = z[p];
    if ((header >> 1) != 0) return false;  // stored blocks only
    uint16_t n = uint16_t(z[p + 1] | z[p + 2] << 8), nn = uint16_t(z[p + 3] | z[p + 4] << 8);
    if (uint16_t(~n) != nn || p + 5 + n > z.size()) return false;
    raw.insert(raw.end(), z.begin() + long(p + 5), z.begin() + long(p + 5 + n));
    p += 5 + n;
    if (header & 1) break;
  }
  uint32_t a = 1, b = 0;
  for (uint8_t v : raw) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  if (p + 4 > z.size() || be32(&z[p]) != ((b << 16) | a)) return false;
  if (raw.size() != size_t(*h) * (size_t(*w) * 3 + 1)) return false;
  rgb->clear();
  for (int y = 0; y < *h; ++y) {
    const uint8_t* row = &raw[size_t(y) * (size_t(*w) * 3 + 1)];
    if (row[0] != 0) return false;
    rgb->insert(rgb->end(), row + 1, row + 1 + *w * 3);
  }
  return true;
}

std::string temp_path(const char* name) {
  return test_temp_path(name);
}

TEST(ImageFile, PngReadsBackTheSamePixelsAcrossSeveralBlocks) {
  const int w = 200, h = 150;  // more than one 64 KiB stored block
  std::vector<uint8_t> rgb(size_t(w) * h * 3);
  for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = uint8_t(i * 7 + i / 3);
  const std::string path = temp_path("platform_frame.png");
  ASSERT_EQ(plat_write_png(path.c_str(), rgb.data(), w, h), 1);
  int rw = 0, rh = 0;
  std::vector<uint8_t> back;
  ASSERT_TRUE(decode_png(read_file(path), &rw, &rh, &back));
  EXPECT_EQ(rw, w);
  EXPECT_EQ(rh, h);
  EXPECT_EQ(back, rgb);
  std::remove(path.c_str());
}

TEST(ImageFile, PngRefusesBadArguments) {
  uint8_t px[3] = {1, 2, 3};
  EXPECT_EQ(plat_write_png(temp_path("x.png").c_str(), px, 0, 1), 0);
  EXPECT_EQ(plat_write_png(temp_path("x.png").c_str(), nullptr, 1, 1), 0);
  EXPECT_EQ(plat_write_png("/nonexistent/dir/x.png", px, 1, 1), 0);
}

TEST(ImageFile, Bmp24IsBottomUpBgrWithPaddedRows) {
  const uint8_t rgb[2 * 2 * 3] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  const std::string path = temp_path("platform_frame.bmp");
  ASSERT_EQ(plat_write_bmp24(path.c_str(), rgb, 2, 2), 1);
  std::vector<uint8_t> f = read_file(path);
  ASSERT_EQ(f.size(), 54u + 2 * 8);
  EXPECT_EQ(f[0], 'B');
  EXPECT_EQ(f[10], 54);
  EXPECT_EQ(f[28], 24);
  // First stored row is the bottom one: pixel (0,1) = 7,8,9 as 9,8,7.
  EXPECT_EQ((std::vector<uint8_t>(f.begin() + 54, f.begin() + 62)),
            (std::vector<uint8_t>{9, 8, 7, 12, 11, 10, 0, 0}));
  std::remove(path.c_str());
}

TEST(ImageFile, Bmp8HasTheWholeTableAndBottomUpPaddedRows) {
  PALETTEENTRY palette[256] = {};
  palette[1] = {10, 20, 30, PC_EXPLICIT};  // the flags byte is not written
  const uint8_t indices[3 * 2] = {1, 2, 3, 4, 5, 6};
  const std::string path = temp_path("platform_picture8.bmp");
  ASSERT_EQ(plat_write_bmp8(path.c_str(), indices, 3, 2, palette), 1);
  std::vector<uint8_t> f = read_file(path);
  ASSERT_EQ(f.size(), 54u + 1024 + 2 * 4);
  EXPECT_EQ(f[10] | f[11] << 8, 54 + 1024);
  EXPECT_EQ(f[28], 8);
  EXPECT_EQ(f[46] | f[47] << 8, 256);  // colours used
  EXPECT_EQ((std::vector<uint8_t>(f.begin() + 58, f.begin() + 62)), (std::vector<uint8_t>{30, 20, 10, 0}));
  EXPECT_EQ((std::vector<uint8_t>(f.begin() + 1078, f.end())),
            (std::vector<uint8_t>{4, 5, 6, 0, 1, 2, 3, 0}));
  std::remove(path.c_str());
  EXPECT_EQ(plat_write_bmp8(path.c_str(), indices, 0, 2, palette), 0);
  EXPECT_EQ(plat_write_bmp8(path.c_str(), indices, 3, 2, nullptr), 0);
  EXPECT_EQ(plat_write_bmp8(path.c_str(), nullptr, 3, 2, palette), 0);
}

TEST(ImageFile, PixelsToRgbThroughPaletteAndBothSixteenBitFormats) {
  uint8_t palette[256 * 4] = {};
  palette[4 * 3] = 9;
  palette[4 * 3 + 1] = 8;
  palette[4 * 3 + 2] = 7;
  const uint8_t indices[8] = {3, 0, 0, 0, 3, 3, 0, 0};  // 2 x 2 with a pitch of 4
  uint8_t out[12];
  plat_pixels_to_rgb(indices, 4, 2, 2, 8, 8, palette, out);
  EXPECT_EQ((std::vector<uint8_t>(out, out + 12)),
            (std::vector<uint8_t>{9, 8, 7, 0, 0, 0, 9, 8, 7, 9, 8, 7}));
  const uint16_t deep[2] = {0xFFFF, 0x07E0};
  plat_pixels_to_rgb(reinterpret_cast<const uint8_t*>(deep), 4, 2, 1, 16, 16, nullptr, out);
  EXPECT_EQ((std::vector<uint8_t>(out, out + 6)), (std::vector<uint8_t>{255, 255, 255, 0, 255, 0}));
  const uint16_t deep15[2] = {0x7FFF, 0x7C00};
  plat_pixels_to_rgb(reinterpret_cast<const uint8_t*>(deep15), 4, 2, 1, 16, 15, nullptr, out);
  EXPECT_EQ((std::vector<uint8_t>(out, out + 6)), (std::vector<uint8_t>{255, 255, 255, 255, 0, 0}));
}

TEST(ImageFile, CapturedFrameIsWrittenAsPng) {
  headless_reset();
  ASSERT_EQ(plat_display_set_mode(nullptr, 32, 24, 16, 0), 1);
  SURFACE_TYP* primary = plat_display_create_primary(0);
  plat_surface_fill(primary, nullptr, 0x001F);  // blue
  ASSERT_EQ(plat_display_present(primary), 1);
  const std::string path = temp_path("platform_capture.png");
  EXPECT_EQ(headless_write_frame_png(1, path.c_str()), 0);
  ASSERT_EQ(headless_write_frame_png(0, path.c_str()), 1);
  int w = 0, h = 0;
  std::vector<uint8_t> rgb;
  ASSERT_TRUE(decode_png(read_file(path), &w, &h, &rgb));
  EXPECT_EQ(w, 32);
  EXPECT_EQ(h, 24);
  EXPECT_EQ((std::vector<uint8_t>(rgb.begin(), rgb.begin() + 3)), (std::vector<uint8_t>{0, 0, 255}));
  std::remove(path.c_str());
  plat_surface_release(primary);
  headless_reset();
}

}  // namespace
