#include "app/data_files.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

const char* const DATA_FILES[] = {
    "PALDATA2.PAL", "bat.WAV",      "HWEAPON0.WAV", "MIDIFILE9.MID", "GRASS.BMP",
    "title.BMP",    "controls.BMP", "gameover.BMP", "SKELSP0.BMP",   "SKELSP1.BMP",
    "SKELSP2.BMP",  "SKELSP3.BMP",  "SKELSP4.BMP",  "SKELSP5.BMP",   "SKELSP6.BMP",
    "SKELSP7.BMP",  "SKELSP8.BMP",  "DEDSP0.BMP",   "DEDSP2.BMP",    "DEDSP4.BMP",
    "DEDSP6.BMP",   "laser.bmp",
};
const int DATA_FILE_COUNT = static_cast<int>(sizeof DATA_FILES / sizeof DATA_FILES[0]);

int report_missing_data_files() {
  std::error_code folder_error;
  const std::filesystem::path folder = std::filesystem::current_path(folder_error);
  int missing = 0;
  for (const char* name : DATA_FILES) {
    // The game still runs without a file (blank pictures, silent sounds); the player is told why.
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(name, error);
    const char* what = nullptr;
    if (!std::filesystem::exists(status)) {
      what = "is missing";
    } else if (!std::filesystem::is_regular_file(status)) {
      what = "is not a regular file (a directory, a pipe or a device)";
    } else if (std::filesystem::file_size(name, error) == 0 && !error) {
      what = "is empty";
    }
    if (!what) continue;
    std::fprintf(stderr, "ashfallow: data file \"%s\" %s in %s\n", name, what,
                 folder_error ? "the working directory" : folder.c_str());
    ++missing;
  }
  return missing;
}
