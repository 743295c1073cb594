// The game's data file formats, packed with the shared byte and picture writers.
#include "tools/assetgen/file_writers.h"

#include <cstdio>

#include "platform/image/byte_out.h"
#include "platform/image_file.h"

void picture_create(PICTURE_TYP* picture, int width, int height) {
  picture->width = width;
  picture->height = height;
  picture->pixels.assign(static_cast<size_t>(width) * height, 0);
}

int file_write_bytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  return plat_write_file(path.c_str(), bytes.data(), bytes.size());
}

int bmp_write_8bit(const std::string& path, const PICTURE_TYP* picture, const PALETTEENTRY palette[256]) {
  // Rows are stored unpadded, so a width the padding would change is refused.
  if (picture->width % 4 != 0) return 0;
  if (picture->pixels.size() != static_cast<size_t>(picture->width) * picture->height) return 0;
  return plat_write_bmp8(path.c_str(), picture->pixels.data(), picture->width, picture->height,
                         palette);
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
  plat_put_tag(out, "RIFF");
  plat_put_le32(out, 4 + (8 + 18) + (8 + data_size + pad));
  plat_put_tag(out, "WAVE");
  plat_put_tag(out, "fmt ");
  plat_put_le32(out, 18);
  plat_put_le16(out, 1);      // PCM
  plat_put_le16(out, 1);      // mono
  plat_put_le32(out, 11025);  // samples per second
  plat_put_le32(out, 11025);  // bytes per second
  plat_put_le16(out, 1);      // block alignment
  plat_put_le16(out, 8);      // bits per sample
  plat_put_le16(out, 0);      // no extra format bytes
  plat_put_tag(out, "data");
  plat_put_le32(out, data_size);
  out.insert(out.end(), samples.begin(), samples.end());
  if (pad) out.push_back(0x80);
  return file_write_bytes(path, out);
}

int png_write_rgb(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height) {
  if (width <= 0 || height <= 0 || rgb.size() < static_cast<size_t>(width) * height * 3) return 0;
  return plat_write_png(path.c_str(), rgb.data(), width, height);
}
