// Image bitmaps: plain memory pictures with a screen position, copied into locked surface memory
// (the game's full-screen backgrounds).
//
// Cuts from a bitmap file (image_load, image_load16) refuse with 0 and copy nothing when the cell
// does not lie wholly inside the bitmap or the depths differ; the image keeps what it held.
// image_copy_rect refuses the same way when either rectangle leaves its image.
// image_draw and image_draw16 do not clip: the image must lie inside the destination memory.
#pragma once
#include <cstdint>

struct BMP_FILE_TYP;

constexpr int IMAGE_LOADED = 0x80;

struct IMAGE_TYP {
  int state;           // 1 after image_create
  int attributes;      // IMAGE_LOADED once pixels were loaded
  int x, y;            // where image_draw puts the top-left corner
  int width, height;
  int byte_count;      // width x height x bytes per pixel
  int bits_per_pixel;  // 8 or 16
  uint8_t* pixels;     // rows top-down, packed
};

// 1 when image_draw (opaque) would write every pixel of a width x height 8-bit picture: the
// image is loaded, sound, 8-bit, at (0, 0) and at least that large.
int image_covers(const IMAGE_TYP* image, int width, int height);
// Allocates a cleared picture. 1; 0 for a null record, a size that is not positive, a depth other
// than 8 or 16, or no memory (the record is then unchanged). An image must be destroyed before it
// is created again.
int image_create(IMAGE_TYP* image, int x, int y, int width, int height, int bits_per_pixel);
// Frees the pixels and zeroes the record. 1, or 0 when the record or its pixels are null.
int image_destroy(IMAGE_TYP* image);
// Copies the image's size from the bitmap at cell (cx, cy) (mode 0: cells with 1-pixel borders)
// or at the pixel corner (cx, cy) (any other mode). 1, or 0 when refused.
int image_load(IMAGE_TYP* image, const BMP_FILE_TYP* bitmap, int cx, int cy, int mode);
int image_load16(IMAGE_TYP* image, const BMP_FILE_TYP* bitmap, int cx, int cy, int mode);
// Copies the image into memory at (x, y) with the given pitch in bytes; with transparent set,
// pixels of value 0 leave the destination as it was. 1, or 0 when the image is not loaded.
int image_draw(const IMAGE_TYP* image, uint8_t* memory, int pitch, int transparent);
int image_draw16(const IMAGE_TYP* image, uint8_t* memory, int pitch, int transparent);
// Copies a w x h block from src at (sx, sy) to dest at (dx, dy); both images of one depth.
int image_copy_rect(IMAGE_TYP* dest, int dx, int dy, const IMAGE_TYP* src, int sx, int sy, int w,
                    int h);
// Rotates every row by the horizontal amount (positive: to the right, wrapping around); the
// vertical amount moves nothing. 0 for a null image or when both amounts are 0.
int image_scroll(IMAGE_TYP* image, int dx, int dy);
