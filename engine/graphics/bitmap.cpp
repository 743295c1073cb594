// Reading .BMP files: headers checked against the file, colour table to palette, rows top-down,
// 24-bit pixels packed to the display's 16-bit format.
#include "engine/graphics/bitmap.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "engine/graphics/display.h"
#include "platform/file_open.h"
#include "platform/refusal.h"

namespace {

constexpr size_t kHeadersSize = BITMAP_FILE_HEADER_SIZE + BITMAP_INFO_HEADER_SIZE;
constexpr size_t kTableSize = 256 * 4;
constexpr size_t kCachedFileLimit = 4u << 20;

uint16_t read_u16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t read_u32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void read_headers(const uint8_t* data, BITMAPFILEHEADER* fh, BITMAPINFOHEADER* ih) {
  fh->bfType = read_u16(data);
  fh->bfSize = read_u32(data + 2);
  fh->bfReserved1 = read_u16(data + 6);
  fh->bfReserved2 = read_u16(data + 8);
  fh->bfOffBits = read_u32(data + 10);
  const uint8_t* p = data + BITMAP_FILE_HEADER_SIZE;
  ih->biSize = read_u32(p);
  ih->biWidth = int32_t(read_u32(p + 4));
  ih->biHeight = int32_t(read_u32(p + 8));
  ih->biPlanes = read_u16(p + 12);
  ih->biBitCount = read_u16(p + 14);
  ih->biCompression = read_u32(p + 16);
  ih->biSizeImage = read_u32(p + 20);
  ih->biXPelsPerMeter = int32_t(read_u32(p + 24));
  ih->biYPelsPerMeter = int32_t(read_u32(p + 28));
  ih->biClrUsed = read_u32(p + 32);
  ih->biClrImportant = read_u32(p + 36);
}

// Where the pixel data starts: right after the headers, and the colour table for 8-bit files.
size_t data_offset(const BITMAPINFOHEADER& ih) {
  return kHeadersSize + (ih.biBitCount == 8 ? kTableSize : 0);
}

// The words for a picture the game cannot read, with what was found.
#define NOT_A_PICTURE "not a picture the game can read "

// How the file's rows lie: packed rows of width x bytes per pixel, or rows padded to 4 bytes when
// biSizeImage holds that many. 0 when the headers describe something we do not read (the reason
// is noted for whoever asked for the file).
size_t file_row_stride(const BITMAPFILEHEADER& fh, const BITMAPINFOHEADER& ih) {
  if (fh.bfType != BITMAP_ID) {
    plat_refusal_note(NOT_A_PICTURE "(no BMP header)");
    return 0;
  }
  if (ih.biSize != uint32_t(BITMAP_INFO_HEADER_SIZE)) {
    plat_refusal_note(NOT_A_PICTURE "(BMP with a %u-byte information header)", unsigned(ih.biSize));
    return 0;
  }
  if (ih.biBitCount != 8 && ih.biBitCount != 16 && ih.biBitCount != 24) {
    plat_refusal_note(NOT_A_PICTURE "(BMP with %u-bit pixels)", unsigned(ih.biBitCount));
    return 0;
  }
  if (ih.biCompression != 0) {  // run-length or bit-field files
    plat_refusal_note(NOT_A_PICTURE "(compressed BMP)");
    return 0;
  }
  if (ih.biWidth <= 0 || ih.biWidth > BITMAP_MAX_DIMENSION || ih.biHeight <= 0 ||
      ih.biHeight > BITMAP_MAX_DIMENSION) {
    plat_refusal_note(NOT_A_PICTURE "(BMP of %d x %d pixels)", int(ih.biWidth), int(ih.biHeight));
    return 0;
  }
  if (ih.biSizeImage > BITMAP_MAX_IMAGE_BYTES) {
    char size[32];
    plat_size_words(ih.biSizeImage, size, sizeof size);
    plat_refusal_note(NOT_A_PICTURE "(size field %s)", size);
    return 0;
  }
  // The pixels must follow directly; a file saying they lie elsewhere would be read as garbage.
  if (fh.bfOffBits != 0 && fh.bfOffBits != data_offset(ih)) {
    plat_refusal_note(NOT_A_PICTURE "(pixels at byte %u, not after the headers)",
                      unsigned(fh.bfOffBits));
    return 0;
  }
  // An 8-bit file must carry all 256 table entries.
  if (ih.biBitCount == 8 && (ih.biClrUsed > 256 || (fh.bfOffBits == 0 && ih.biClrUsed != 0 &&
                                                    ih.biClrUsed != 256))) {
    plat_refusal_note(NOT_A_PICTURE "(BMP with %u colours, not 256)", unsigned(ih.biClrUsed));
    return 0;
  }

  const uint64_t rows = uint64_t(ih.biHeight);
  const uint64_t row = uint64_t(ih.biWidth) * (ih.biBitCount / 8);
  const uint64_t padded = (row + 3) & ~uint64_t(3);
  if (row * rows > ih.biSizeImage) {
    plat_refusal_note(NOT_A_PICTURE "(size field %u bytes, too small for %d x %d pixels)",
                      unsigned(ih.biSizeImage), int(ih.biWidth), int(ih.biHeight));
    return 0;
  }
  if (padded != row && padded * rows <= ih.biSizeImage) return size_t(padded);
  return size_t(row);
}

// A file that ends before its headers or its pixels do.
void note_cut_short(uint64_t expected, uint64_t found, bool at_least) {
  plat_refusal_note("cut short (expected %s%llu bytes, found %llu)", at_least ? "at least " : "",
                    static_cast<unsigned long long>(expected),
                    static_cast<unsigned long long>(found));
}

uint16_t pack_24(const uint8_t* bgr) {
  const unsigned b = bgr[0], g = bgr[1], r = bgr[2];
  if (pixel_format == 15) return uint16_t((b >> 3) | (g >> 3) << 5 | (r >> 3) << 10);
  return uint16_t((b >> 3) | (g >> 2) << 5 | (r >> 3) << 11);
}

}  // namespace

// A file's pixels as decoded once, for every record that loads the file while it is unchanged.
struct BITMAP_DECODE_TYP {
  int references;        // the table's own and one per record holding the pixels
  uint64_t file_serial;  // the file layer's name for the bytes decoded
  int format;            // the 16-bit format 24-bit rows were packed for
  uint64_t source;       // never the same for two decodes
  BITMAPFILEHEADER file_header;
  BITMAPINFOHEADER info_header;
  PALETTEENTRY palette[256];
  uint8_t* pixels;
  size_t bytes;
};

namespace {

// The game's sheets fit many times over; past either bound the oldest decodes go (records still
// holding one keep it until they are unloaded).
constexpr int kDecodesKept = 32;
constexpr size_t kDecodedBytesKept = 32u << 20;
BITMAP_DECODE_TYP* decodes[kDecodesKept];
int next_decode_slot = 0;
size_t decoded_bytes = 0;
uint64_t last_source = 0;

void decode_release(BITMAP_DECODE_TYP* decode) {
  if (!decode || --decode->references > 0) return;
  std::free(decode->pixels);
  delete decode;
}

void drop_pixels(BMP_FILE_TYP* bitmap) {
  if (bitmap->decode)
    decode_release(bitmap->decode);
  else
    std::free(bitmap->pixels);
  bitmap->decode = nullptr;
  bitmap->source = 0;
  bitmap->pixels = nullptr;
}

BITMAP_DECODE_TYP* find_decode(uint64_t file_serial) {
  for (BITMAP_DECODE_TYP* decode : decodes)
    if (decode && decode->file_serial == file_serial && decode->format == pixel_format) return decode;
  return nullptr;
}

void evict_next() {
  BITMAP_DECODE_TYP*& slot = decodes[next_decode_slot];
  next_decode_slot = (next_decode_slot + 1) % kDecodesKept;
  if (!slot) return;
  decoded_bytes -= slot->bytes;
  decode_release(slot);
  slot = nullptr;
}

// Files the fresh decode (whose pixels it takes) in the table; null when there is no memory.
BITMAP_DECODE_TYP* keep_decode(uint64_t file_serial, BMP_FILE_TYP* fresh) {
  auto* decode = new (std::nothrow) BITMAP_DECODE_TYP{};
  if (!decode) return nullptr;
  decode->references = 1;
  decode->file_serial = file_serial;
  decode->format = pixel_format;
  decode->source = ++last_source;
  decode->file_header = fresh->file_header;
  decode->info_header = fresh->info_header;
  std::memcpy(decode->palette, fresh->palette, sizeof decode->palette);
  decode->pixels = fresh->pixels;
  const int bytes_per_pixel = decode->info_header.biBitCount / 8;
  decode->bytes = size_t(decode->info_header.biWidth) * size_t(decode->info_header.biHeight) * size_t(bytes_per_pixel);
  fresh->pixels = nullptr;
  const int slot = next_decode_slot;
  evict_next();  // the slot this one takes
  for (int i = 1; i < kDecodesKept && decoded_bytes + decode->bytes > kDecodedBytesKept; ++i) evict_next();
  decodes[slot] = decode;
  decoded_bytes += decode->bytes;
  return decode;
}

// What a load of the file does, with the decode's pixels shared.
void hold_decode(BMP_FILE_TYP* bitmap, BITMAP_DECODE_TYP* decode) {
  ++decode->references;
  drop_pixels(bitmap);
  bitmap->file_header = decode->file_header;
  bitmap->info_header = decode->info_header;
  if (decode->info_header.biBitCount == 8) std::memcpy(bitmap->palette, decode->palette, sizeof bitmap->palette);
  bitmap->pixels = decode->pixels;
  bitmap->decode = decode;
  bitmap->source = decode->source;
}

// Loads cached file bytes, decoding them only the first time.
int load_cached(BMP_FILE_TYP* bitmap, uint64_t file_serial, const uint8_t* data, size_t size) {
  if (BITMAP_DECODE_TYP* decode = find_decode(file_serial)) {
    hold_decode(bitmap, decode);
    return 1;
  }
  BMP_FILE_TYP fresh{};
  if (!bitmap_load_memory(&fresh, data, size)) return 0;
  if (BITMAP_DECODE_TYP* decode = keep_decode(file_serial, &fresh)) {
    hold_decode(bitmap, decode);
    return 1;
  }
  return bitmap_load_memory(bitmap, data, size);  // no memory to keep it: the record's own copy
}

}  // namespace

int bitmap_load_memory(BMP_FILE_TYP* bitmap, const uint8_t* data, size_t size) {
  if (!bitmap || (!data && size != 0)) return 0;
  if (size < kHeadersSize) {  // an empty file's bytes may come without a pointer
    note_cut_short(kHeadersSize, size, true);
    return 0;
  }
  BITMAPFILEHEADER fh;
  BITMAPINFOHEADER ih;
  read_headers(data, &fh, &ih);
  const size_t stride = file_row_stride(fh, ih);
  if (stride == 0) return 0;
  const size_t offset = data_offset(ih);
  if (size < offset || size - offset < ih.biSizeImage) {
    note_cut_short(uint64_t(offset) + ih.biSizeImage, size, false);
    return 0;
  }

  const int width = ih.biWidth, height = ih.biHeight;
  const size_t out_row = size_t(width) * (ih.biBitCount == 24 ? 2 : ih.biBitCount / 8);
  auto* pixels = static_cast<uint8_t*>(std::malloc(out_row * size_t(height)));
  if (!pixels) return 0;

  // File rows run bottom-up; ours run top-down.
  const uint8_t* src = data + offset;
  for (int r = 0; r < height; ++r) {
    const uint8_t* in = src + size_t(r) * stride;
    uint8_t* out = pixels + size_t(height - 1 - r) * out_row;
    if (ih.biBitCount == 24) {
      for (int x = 0; x < width; ++x) {
        const uint16_t color = pack_24(in + 3 * size_t(x));
        std::memcpy(out + 2 * size_t(x), &color, 2);
      }
    } else {
      std::memcpy(out, in, out_row);
    }
  }

  if (ih.biBitCount == 8) {
    const uint8_t* table = data + kHeadersSize;
    for (int i = 0; i < 256; ++i) {
      bitmap->palette[i].red = table[4 * i + 2];
      bitmap->palette[i].green = table[4 * i + 1];
      bitmap->palette[i].blue = table[4 * i];
      bitmap->palette[i].flags = PC_NOCOLLAPSE;
    }
  }
  if (ih.biBitCount == 24) ih.biBitCount = 16;
  drop_pixels(bitmap);
  bitmap->file_header = fh;
  bitmap->info_header = ih;
  bitmap->pixels = pixels;
  return 1;
}

int bitmap_load_file(BMP_FILE_TYP* bitmap, const char* file_name) {
  if (!bitmap || !file_name) return 0;
  // Sprite sheets are read again for every actor spawned: after the first time the file layer's
  // cache serves them. Files too large for it are read as they arrive, below.
  const uint8_t* cached = nullptr;
  size_t cached_size = 0;
  uint64_t serial = 0;
  if (plat_read_file_cached(file_name, kCachedFileLimit, &cached, &cached_size, &serial))
    return load_cached(bitmap, serial, cached, cached_size);
  FILE* file = plat_open_regular_file(file_name, "rb");
  if (!file) return 0;

  // Read the headers, then as much as they say follows (never more than a sane maximum); the
  // checks themselves are made on the bytes actually read.
  uint8_t headers[kHeadersSize];
  const size_t got = std::fread(headers, 1, sizeof headers, file);
  if (got < sizeof headers) {
    note_cut_short(sizeof headers, got, true);
    std::fclose(file);
    return 0;
  }
  BITMAPFILEHEADER fh;
  BITMAPINFOHEADER ih;
  read_headers(headers, &fh, &ih);
  if (file_row_stride(fh, ih) == 0) {  // not a file we read: no need to look further
    std::fclose(file);
    return 0;
  }
  uint64_t want = uint64_t(data_offset(ih)) + ih.biSizeImage;
  const uint64_t cap = kHeadersSize + kTableSize + uint64_t(BITMAP_MAX_IMAGE_BYTES);
  if (want > cap) want = cap;

  // Grow the buffer as bytes arrive, so a header claiming far more than the file holds costs
  // nothing.
  size_t capacity = size_t(want < 65536 ? want : 65536), total = sizeof headers;
  auto* data = static_cast<uint8_t*>(std::malloc(capacity));
  if (data) std::memcpy(data, headers, sizeof headers);
  while (data && total < want) {
    if (total == capacity) {
      capacity = size_t(capacity * 4 < want ? capacity * 4 : want);
      auto* grown = static_cast<uint8_t*>(std::realloc(data, capacity));
      if (!grown) {
        std::free(data);
        data = nullptr;
        break;
      }
      data = grown;
    }
    const size_t got_now = std::fread(data + total, 1, capacity - total, file);
    total += got_now;
    if (got_now == 0) break;
  }
  std::fclose(file);
  if (!data) return 0;
  const int result = bitmap_load_memory(bitmap, data, total);
  std::free(data);
  return result;
}

int bitmap_unload_file(BMP_FILE_TYP* bitmap) {
  if (!bitmap) return 0;
  drop_pixels(bitmap);
  return 1;
}

int bitmap_flip_rows(uint8_t* buffer, int bytes_per_row, int rows) {
  if (!buffer || bytes_per_row < 0 || rows < 0) return 0;
  const size_t row = size_t(bytes_per_row);
  auto* temp = static_cast<uint8_t*>(std::malloc(row * size_t(rows) + 1));
  if (!temp) return 0;
  std::memcpy(temp, buffer, row * size_t(rows));
  for (int i = 0; i < rows; ++i) std::memcpy(buffer + size_t(rows - 1 - i) * row, temp + size_t(i) * row, row);
  std::free(temp);
  return 1;
}

void bitmap_cell_corner(int cx, int cy, int mode, int width, int height, int64_t* x, int64_t* y) {
  if (mode == 0) {
    *x = int64_t(cx) * (int64_t(width) + 1) + 1;
    *y = int64_t(cy) * (int64_t(height) + 1) + 1;
  } else {
    *x = cx;
    *y = cy;
  }
}

int bitmap_holds(const BMP_FILE_TYP* bitmap, int bytes_per_pixel, int64_t x, int64_t y, int width,
                 int height) {
  if (!bitmap || !bitmap->pixels) return 0;
  if (bitmap->info_header.biBitCount != bytes_per_pixel * 8) return 0;
  if (x < 0 || y < 0 || width < 0 || height < 0) return 0;
  return x + width <= bitmap->info_header.biWidth && y + height <= bitmap->info_header.biHeight;
}
