// Bitmap files: a Windows .BMP file read into memory with its colour table turned into a display
// palette and its rows turned top-down, ready for sprite frames and images to be cut from it.
//
// Accepted files: "BM", a 40-byte info header, 8, 16 or 24 bits per pixel, uncompressed, a
// positive width and height (rows stored bottom-up), biSizeImage filled in, and the pixel data
// directly after the headers (after the full 256-entry colour table for 8-bit files). Rows are
// read packed (width x bytes per pixel); a file whose rows are padded to 4 bytes, as the format
// asks when that length is not a multiple of 4, is read with its padding skipped.
//
// Every size is checked against the file before anything is written: a file that is not as above,
// is cut short, or claims more rows than biSizeImage holds is refused with 0 and leaves the record
// (headers, palette and pixels) as it was.
//
// 24-bit files are turned into 16-bit pixels in the display's format: 5.5.5 when pixel_format is
// 15, 5.6.5 otherwise (in the 8-bit mode too, so tools and 16-bit code get the common format);
// biBitCount then reads 16.
#pragma once
#include <cstddef>
#include <cstdint>
#include "platform/types.h"

// The 14-byte file header, field by field (read from the file's bytes, not by struct layout).
struct BITMAPFILEHEADER {
  uint16_t bfType;
  uint32_t bfSize;
  uint16_t bfReserved1;
  uint16_t bfReserved2;
  uint32_t bfOffBits;
};

// The 40-byte info header.
struct BITMAPINFOHEADER {
  uint32_t biSize;
  int32_t biWidth;
  int32_t biHeight;
  uint16_t biPlanes;
  uint16_t biBitCount;
  uint32_t biCompression;
  uint32_t biSizeImage;
  int32_t biXPelsPerMeter;
  int32_t biYPelsPerMeter;
  uint32_t biClrUsed;
  uint32_t biClrImportant;
};

constexpr uint16_t BITMAP_ID = 0x4D42;  // "BM" in file order
constexpr int BITMAP_FILE_HEADER_SIZE = 14;
constexpr int BITMAP_INFO_HEADER_SIZE = 40;
// Nothing the game draws comes near these; a header claiming more is broken or hostile.
constexpr int BITMAP_MAX_DIMENSION = 16384;
constexpr uint32_t BITMAP_MAX_IMAGE_BYTES = 64u << 20;

struct BITMAP_DECODE_TYP;

struct BMP_FILE_TYP {
  BITMAPFILEHEADER file_header;
  BITMAPINFOHEADER info_header;
  PALETTEENTRY palette[256];  // red, green, blue, PC_NOCOLLAPSE; 8-bit files only
  uint8_t* pixels;            // rows top-down, each biWidth x bytes per pixel; null when unloaded
  // A file loaded again while unchanged shares the pixels decoded the first time: then `decode`
  // holds them (read only) and `source` names them for copies out of them (see
  // plat_surface_copy_in); both 0 when the pixels are the record's own.
  BITMAP_DECODE_TYP* decode;
  uint64_t source;
};

// Loads a file into the record, freeing the pixels of an earlier load. 1, or 0 (record unchanged).
// Sprite sheets are loaded once per actor: an unchanged file is neither read nor decoded again,
// and the record then shares the pixels (they must not be written).
int bitmap_load_file(BMP_FILE_TYP* bitmap, const char* file_name);
// The same from a file's bytes already in memory.
int bitmap_load_memory(BMP_FILE_TYP* bitmap, const uint8_t* data, size_t size);
// Frees the pixels (or lets go of shared ones); 1 (0 for a null record).
int bitmap_unload_file(BMP_FILE_TYP* bitmap);
// Turns rows upside down in place. 1; 0 for a null buffer, negative sizes or no memory.
int bitmap_flip_rows(uint8_t* buffer, int bytes_per_row, int rows);

// The source corner of cell (cx, cy) in a sheet of cells of width x height separated by 1-pixel
// borders (mode 0), or (cx, cy) itself as a pixel corner (any other mode).
void bitmap_cell_corner(int cx, int cy, int mode, int width, int height, int64_t* x, int64_t* y);
// 1 when a width x height block at (x, y) lies inside the loaded bitmap and its pixels are
// bytes_per_pixel wide. Cuts from sheets refuse (copy nothing) when this fails.
int bitmap_holds(const BMP_FILE_TYP* bitmap, int bytes_per_pixel, int64_t x, int64_t y, int width,
                 int height);

struct SURFACE_TYP;
// Copies cell (cx, cy) of an 8-bit bitmap, in a grid of cells of the surface's size with 1-pixel
// borders, into the whole 8-bit surface. 1; 0 (nothing copied) when the cell does not lie inside
// the bitmap, the depths differ or the surface cannot be locked.
int surface_load_cell(const BMP_FILE_TYP* bitmap, SURFACE_TYP* surface, int cx, int cy);
