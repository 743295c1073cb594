// Every loader reads regular files only: a named pipe, a directory or a device under a data
// file's name gives the loader's failure result at once instead of waiting for a writer (a pipe
// planted as "PALDATA2.PAL" used to hang start-up) or reading a directory as an empty file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <system_error>

#include "engine/audio/music.h"
#include "engine/audio/sound.h"
#include "engine/graphics/bitmap.h"
#include "engine/graphics/palette.h"
#include "platform/file_open.h"
#include "platform/riff.h"

namespace {

namespace fs = std::filesystem;

// Each loader given the path, true when it answered with its failure result and touched
// nothing it was handed.
struct Loader {
  const char* name;
  std::function<bool(const char*)> refuses;
};

void PrintTo(const Loader& loader, std::ostream* os) { *os << loader.name; }

const Loader kLoaders[] = {
    {"bitmap_load_file", [](const char* path) {
       BMP_FILE_TYP bitmap{};
       return bitmap_load_file(&bitmap, path) == 0 && bitmap.pixels == nullptr;
     }},
    {"palette_file_load", [](const char* path) {
       PALETTEENTRY palette[256], before[256];
       std::memset(palette, 0x5A, sizeof palette);
       std::memcpy(before, palette, sizeof palette);
       return palette_file_load(path, palette) == 0 && std::memcmp(palette, before, sizeof palette) == 0;
     }},
    {"plat_riff_open", [](const char* path) { return plat_riff_open(path) == nullptr; }},
    {"load_wav_sound", [](const char* path) { return load_wav_sound(path, 0) == -1; }},
    {"load_midi", [](const char* path) {
       // Music needs its synthesizer up before it reads a file.
       sound_first_start = 1;
       return start_sound_system() == 1 && start_music_system() == 1 && load_midi(path) == -1;
     }},
};

// The kinds of file that are not regular files.
enum Kind { PIPE, DIRECTORY, DEVICE };
const char* const kKindNames[] = {"Pipe", "Directory", "Device"};

class SpecialFiles : public ::testing::TestWithParam<std::tuple<Loader, Kind>> {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Named by process; a folder an earlier process of the same number left behind goes first.
    folder = fs::temp_directory_path() / ("ashfallow-special-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    ASSERT_EQ(::mkfifo((folder / "PALDATA2.PAL").c_str(), 0600), 0);
    fs::create_directories(folder / "GRASS.BMP");
  }
  void TearDown() override { fs::remove_all(folder); }

  std::string path(Kind kind) const {
    if (kind == PIPE) return (folder / "PALDATA2.PAL").string();
    if (kind == DIRECTORY) return (folder / "GRASS.BMP").string();
    return "/dev/null";
  }

  fs::path folder;
};

TEST_P(SpecialFiles, AreRefusedWithoutWaiting) {
  const auto& [loader, kind] = GetParam();
  const std::string file = path(kind);
  // In a child process, so that a loader waiting on the pipe ends with the alarm (a failure
  // here) instead of holding up the whole suite; _exit skips the leak check of the child. The
  // child ran the set-up again in its own folder and removes it, as it never tears down.
  EXPECT_EXIT(
      {
        ::alarm(60);
        const bool refused = loader.refuses(file.c_str());
        std::error_code ignored;
        fs::remove_all(folder, ignored);
        ::_exit(refused ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "")
      << loader.name << " on " << file;
}

INSTANTIATE_TEST_SUITE_P(EveryLoader, SpecialFiles,
                         ::testing::Combine(::testing::ValuesIn(kLoaders),
                                            ::testing::Values(PIPE, DIRECTORY, DEVICE)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_" +
                                  kKindNames[std::get<1>(info.param)];
                         });

TEST(RegularFileOpen, OpensRegularFilesAndLinksToThem) {
  const fs::path folder =
      fs::temp_directory_path() / ("ashfallow-regular-" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  const fs::path data = folder / "data.pal", link = folder / "link.pal";
  if (FILE* f = std::fopen(data.c_str(), "w")) {
    std::fputs("1 2 3 4\n", f);
    std::fclose(f);
  }
  fs::create_symlink(data, link);
  for (const fs::path& p : {data, link}) {
    FILE* f = plat_open_regular_file(p.c_str(), "r");
    ASSERT_NE(f, nullptr) << p;
    int a = 0;
    EXPECT_EQ(std::fscanf(f, "%d", &a), 1);
    EXPECT_EQ(a, 1);
    std::fclose(f);
  }
  EXPECT_EQ(plat_open_regular_file((folder / "missing.pal").c_str(), "r"), nullptr);
  EXPECT_EQ(plat_open_regular_file(nullptr, "r"), nullptr);
  fs::remove_all(folder);
}

}  // namespace
