#include "app/data_files.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include <strings.h>

#include "engine/graphics/bitmap.h"
#include "engine/graphics/palette.h"
#include "game/actor_art.h"
#include "platform/refusal.h"

const char* const DATA_FILES[] = {
    "PALDATA2.PAL", "bat.WAV",      "HWEAPON0.WAV", "MIDIFILE9.MID", "GRASS.BMP",
    "title.BMP",    "controls.BMP", "gameover.BMP", "SKELSP0.BMP",   "SKELSP1.BMP",
    "SKELSP2.BMP",  "SKELSP3.BMP",  "SKELSP4.BMP",  "SKELSP5.BMP",   "SKELSP6.BMP",
    "SKELSP7.BMP",  "SKELSP8.BMP",  "DEDSP0.BMP",   "DEDSP2.BMP",    "DEDSP4.BMP",
    "DEDSP6.BMP",   "laser.bmp",
};
const int DATA_FILE_COUNT = static_cast<int>(sizeof DATA_FILES / sizeof DATA_FILES[0]);

namespace {

constexpr int SCREEN_WIDTH = 640, SCREEN_HEIGHT = 480;

// The files named since the last report, so a file is named once however many loads refuse it.
bool named[sizeof DATA_FILES / sizeof DATA_FILES[0]];

int index_of(const char* name) {
  for (int i = 0; i < DATA_FILE_COUNT; ++i)
    if (!std::strcmp(DATA_FILES[i], name)) return i;
  return -1;
}

bool has_suffix(const char* name, const char* suffix) {
  const size_t n = std::strlen(name), s = std::strlen(suffix);
  return n >= s && !strcasecmp(name + n - s, suffix);
}

void say(const char* name, const char* what, const char* reason) {
  std::error_code folder_error;
  const std::filesystem::path folder = std::filesystem::current_path(folder_error);
  std::fprintf(stderr, "ashfallow: data file \"%s\" %s%s in %s\n", name, what, reason ? reason : "",
               folder_error ? "the working directory" : folder.c_str());
}

// A picture read as the game reads it, and held against the size and depth the game cuts from
// it: every screen is a whole 640 x 480 picture, every sheet holds the cells its actors use.
// Null when it would serve, else why not (a static or thread-local text).
const char* picture_refusal(const char* name) {
  BMP_FILE_TYP picture{};
  plat_refusal_clear();
  if (!bitmap_load_file(&picture, name)) {
    const char* why = plat_refusal_take();
    return why ? why : "could not be read";
  }
  static thread_local char why[128];
  int width = SCREEN_WIDTH, height = SCREEN_HEIGHT;
  actor_sheet_extent(name, &width, &height);
  const BITMAPINFOHEADER& info = picture.info_header;
  const char* result = nullptr;
  if (info.biBitCount != 8) {
    // 16- and 24-bit files both read as 16-bit pixels: the loader keeps no palette for them.
    result = "not a picture the game can read (BMP of true colours, not 8-bit)";
  } else if (info.biWidth < width || info.biHeight < height) {
    std::snprintf(why, sizeof why, "too small for its pictures (%d x %d pixels, needs %d x %d)",
                  int(info.biWidth), int(info.biHeight), width, height);
    result = why;
  }
  bitmap_unload_file(&picture);
  return result;
}

// The palette read as the display reads it: a palette that stops early still loads, with the
// colours it lacks left black, and the loader notes why.
const char* palette_refusal(const char* name) {
  PALETTEENTRY palette[256] = {};
  plat_refusal_clear();
  palette_file_load(name, palette);
  return plat_refusal_take();
}

}  // namespace

int report_unusable_data_files() {
  std::memset(named, 0, sizeof named);
  int unusable = 0;
  for (int i = 0; i < DATA_FILE_COUNT; ++i) {
    const char* name = DATA_FILES[i];
    // The game still runs without a file (blank pictures, silent sounds); the player is told why.
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(name, error);
    const char* what = nullptr;
    const char* reason = nullptr;
    if (!std::filesystem::exists(status)) {
      what = "is missing";
    } else if (!std::filesystem::is_regular_file(status)) {
      what = "is not a regular file (a directory, a pipe or a device)";
    } else if (std::filesystem::file_size(name, error) == 0 && !error) {
      what = "is empty";
    } else if (has_suffix(name, ".BMP")) {
      reason = picture_refusal(name);
    } else if (has_suffix(name, ".PAL")) {
      reason = palette_refusal(name);
    }
    // Sounds and music are read once, by their own loads: report_refused_data_file tells of them.
    if (reason) what = "is ";
    if (!what) continue;
    say(name, what, reason);
    named[i] = true;
    ++unusable;
  }
  return unusable;
}

int report_refused_data_file(const char* name) {
  const char* reason = plat_refusal_take();
  const int i = name ? index_of(name) : -1;
  if (!reason || i < 0 || named[i]) return 0;
  say(name, "is ", reason);
  named[i] = true;
  return 1;
}
