// Image bitmaps: creation, cutting from bitmap files, drawing into locked memory, block copies and
// horizontal scrolling.
#include "engine/graphics/image.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/graphics/bitmap.h"

namespace {

int bytes_per_pixel(const IMAGE_TYP* image) { return image->bits_per_pixel >> 3; }

// An image whose buffer really is width x height x depth (as image_create made it).
bool image_sound(const IMAGE_TYP* image) {
  if (!image || !image->pixels || image->width < 0 || image->height < 0) return false;
  if (image->bits_per_pixel != 8 && image->bits_per_pixel != 16) return false;
  const int64_t need = int64_t(image->width) * image->height * bytes_per_pixel(image);
  return need <= image->byte_count;
}

int load_cell(IMAGE_TYP* image, const BMP_FILE_TYP* bitmap, int cx, int cy, int mode, int bpp) {
  if (!image) return 0;
  if (!image_sound(image) || bytes_per_pixel(image) != bpp) return 0;
  int64_t x, y;
  bitmap_cell_corner(cx, cy, mode, image->width, image->height, &x, &y);
  if (!bitmap_holds(bitmap, bpp, x, y, image->width, image->height)) return 0;
  const size_t src_pitch = size_t(bitmap->info_header.biWidth) * bpp;
  const size_t row = size_t(image->width) * bpp;
  const uint8_t* src = bitmap->pixels + size_t(y) * src_pitch + size_t(x) * bpp;
  for (int r = 0; r < image->height; ++r) std::memcpy(image->pixels + r * row, src + r * src_pitch, row);
  image->attributes |= IMAGE_LOADED;
  return 1;
}

}  // namespace

int image_create(IMAGE_TYP* image, int x, int y, int width, int height, int bits_per_pixel) {
  if (!image || width <= 0 || height <= 0) return 0;
  if (bits_per_pixel != 8 && bits_per_pixel != 16) return 0;
  const int64_t bytes = int64_t(width) * height * (bits_per_pixel >> 3);
  if (bytes > INT32_MAX) return 0;
  auto* pixels = static_cast<uint8_t*>(std::calloc(size_t(bytes), 1));
  if (!pixels) return 0;
  image->state = 1;
  image->attributes = 0;
  image->x = x;
  image->y = y;
  image->width = width;
  image->height = height;
  image->byte_count = int(bytes);
  image->bits_per_pixel = bits_per_pixel;
  image->pixels = pixels;
  return 1;
}

int image_destroy(IMAGE_TYP* image) {
  if (!image || !image->pixels) return 0;
  std::free(image->pixels);
  std::memset(image, 0, sizeof *image);
  return 1;
}

int image_load(IMAGE_TYP* image, const BMP_FILE_TYP* bitmap, int cx, int cy, int mode) {
  return load_cell(image, bitmap, cx, cy, mode, 1);
}

int image_load16(IMAGE_TYP* image, const BMP_FILE_TYP* bitmap, int cx, int cy, int mode) {
  return load_cell(image, bitmap, cx, cy, mode, 2);
}

int image_covers(const IMAGE_TYP* image, int width, int height) {
  if (!image || !(image->attributes & IMAGE_LOADED) || !image_sound(image)) return 0;
  return image->bits_per_pixel == 8 && image->x == 0 && image->y == 0 && image->width >= width &&
         image->height >= height;
}

int image_draw(const IMAGE_TYP* image, uint8_t* memory, int pitch, int transparent) {
  if (!image || !(image->attributes & IMAGE_LOADED) || !image_sound(image) || !memory) return 0;
  if (image->bits_per_pixel != 8) return 0;
  const uint8_t* src = image->pixels;
  uint8_t* dst = memory + ptrdiff_t(image->y) * pitch + image->x;
  for (int r = 0; r < image->height; ++r, src += image->width, dst += pitch) {
    if (!transparent) {
      std::memcpy(dst, src, size_t(image->width));
      continue;
    }
    for (int i = 0; i < image->width; ++i)
      if (src[i]) dst[i] = src[i];
  }
  return 1;
}

int image_draw16(const IMAGE_TYP* image, uint8_t* memory, int pitch, int transparent) {
  if (!image || !(image->attributes & IMAGE_LOADED) || !image_sound(image) || !memory) return 0;
  if (image->bits_per_pixel != 16) return 0;
  pitch &= ~1;
  const size_t row = size_t(image->width) * 2;
  const uint8_t* src = image->pixels;
  uint8_t* dst = memory + ptrdiff_t(image->y) * pitch + ptrdiff_t(image->x) * 2;
  for (int r = 0; r < image->height; ++r, src += row, dst += pitch) {
    if (!transparent) {
      std::memcpy(dst, src, row);
      continue;
    }
    for (int i = 0; i < image->width; ++i) {
      uint16_t value;
      std::memcpy(&value, src + 2 * i, 2);
      if (value) std::memcpy(dst + 2 * i, &value, 2);
    }
  }
  return 1;
}

int image_copy_rect(IMAGE_TYP* dest, int dx, int dy, const IMAGE_TYP* src, int sx, int sy, int w,
                    int h) {
  if (!dest || !src) return 0;
  if (!image_sound(dest) || !image_sound(src) || dest->bits_per_pixel != src->bits_per_pixel) return 0;
  if (w < 0 || h < 0 || dx < 0 || dy < 0 || sx < 0 || sy < 0) return 0;
  if (int64_t(dx) + w > dest->width || int64_t(dy) + h > dest->height) return 0;
  if (int64_t(sx) + w > src->width || int64_t(sy) + h > src->height) return 0;
  const int b = bytes_per_pixel(src);
  const size_t src_pitch = size_t(src->width) * b, dst_pitch = size_t(dest->width) * b;
  for (int r = 0; r < h; ++r)
    std::memmove(dest->pixels + (size_t(dy) + r) * dst_pitch + size_t(dx) * b,
                 src->pixels + (size_t(sy) + r) * src_pitch + size_t(sx) * b, size_t(w) * b);
  return 1;
}

int image_scroll(IMAGE_TYP* image, int dx, int dy) {
  if (!image || (dx == 0 && dy == 0)) return 0;
  if (!image_sound(image)) return 0;
  if (dx == 0 || image->width == 0) return 1;
  // A move of n to the right is a left rotation by width - n.
  int shift = dx % image->width;
  if (shift < 0) shift += image->width;
  if (shift == 0) return 1;
  const int b = bytes_per_pixel(image);
  const size_t row = size_t(image->width) * b;
  for (int r = 0; r < image->height; ++r) {
    uint8_t* p = image->pixels + r * row;
    std::rotate(p, p + (row - size_t(shift) * b), p + row);
  }
  return 1;
}
