// assetgen DIR                         writes every data file the game reads into DIR
// assetgen --contact-sheet DIR OUT.png  one picture of every frame and screen found in DIR
// assetgen --icons DIR                 the desktop icons, as DIR/<N>x<N>/apps/ashfallow.png
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "tools/assetgen/contact_sheet.h"
#include "tools/assetgen/generate.h"
#include "tools/assetgen/icon.h"

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--contact-sheet") == 0) {
    if (!contact_sheet_write(argv[2], argv[3])) return 1;
    std::printf("assetgen: contact sheet %s\n", argv[3]);
    return 0;
  }
  if (argc == 3 && std::strcmp(argv[1], "--icons") == 0) return icon_write_all(argv[2]) ? 0 : 1;
  if (argc != 2) {
    std::fprintf(stderr, "usage: assetgen DIR | assetgen --contact-sheet DIR OUT.png | assetgen --icons DIR\n");
    return 2;
  }
  std::error_code error;
  std::filesystem::create_directories(argv[1], error);
  if (!generate_all(argv[1])) return 1;
  std::printf("assetgen: wrote %d files to %s\n", DATA_FILE_COUNT, argv[1]);
  return 0;
}
