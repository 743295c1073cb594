// The whole game's start-up, frames and shut-down on the headless backend, with the generated
// data files: what a player sees at the moments the replays cannot show.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <iterator>
#include <random>
#include <set>
#include <vector>
#include <fstream>
#include <filesystem>
#include <string>

#include "app/game_shell.h"
#include "app/screens.h"
#include "app/window_proc.h"
#include "engine/graphics/display.h"
#include "game/world.h"
#include "platform/faults.h"
#include "platform/headless/headless.h"
#include "platform/image_file.h"
#include "platform/keys.h"
#include "platform/window.h"

#include <sys/stat.h>

namespace {

class GameFrame : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(start(ASHFALLOW_DATA_DIR)); }

  // A fresh process in `folder`: platform, the game's window, the game's start-up.
  bool start(const std::filesystem::path& folder) {
    old_dir_ = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    headless_reset();
    headless_set_tick_step_us(1);
    headless_set_frame_cap(2);
    char reason[128];
    if (!plat_startup(reason, sizeof reason)) return false;
    WNDCLASS_TYP window_class = {CS_OWNDC, window_proc, "WINCLASS1", 1};
    plat_register_class(&window_class);
    main_window = plat_create_window("WINCLASS1", "Ashfallow", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480);
    game_reset_to_load();
    game_fixed_seed = 5;
    return main_window && game_init();
  }

  void TearDown() override {
    game_shutdown();
    plat_shutdown();
    std::filesystem::current_path(old_dir_);
  }

  // One frame with Space down or up.
  int frame(bool space) {
    headless_key(DIK_SPACE, space);
    return game_main();
  }

  void start_play() {
    frame(true);
    frame(false);
    frame(true);
    frame(false);
    ASSERT_EQ(game_state, STATE_PLAY);
  }

  // Pixels of the latest frame inside a rectangle that are (r, g, b).
  static int count_colour(int x0, int y0, int x1, int y1, int r, int g, int b) {
    const uint8_t* rgb = headless_frame_rgb(-1);
    int n = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        const uint8_t* p = rgb + 3 * (y * 640 + x);
        n += p[0] == r && p[1] == g && p[2] == b;
      }
    }
    return n;
  }

  std::filesystem::path old_dir_;
};

TEST_F(GameFrame, StartUpMakesThePlayerAndOneDeadPair) {
  ASSERT_EQ(skeleton_list.size(), 1u);
  const BOB_TYP& p = skeleton_list[0];
  EXPECT_EQ(p.x, 292);
  EXPECT_EQ(p.y, 204);
  EXPECT_EQ(p.health, 100);
  EXPECT_EQ(p.spawn_charge, 0);
  EXPECT_EQ(p.sequence, 0);
  EXPECT_EQ(p.anim_period, 4);
  EXPECT_EQ(dead_list.size(), 1u);
  EXPECT_EQ(laser_list.size(), 1u);
  // The first laser is not placed until the first drawing step.
  EXPECT_EQ(laser_list[0].x, 0);
  EXPECT_EQ(laser_list[0].y, 0);
  EXPECT_EQ(headless_cursor_visible(), 0);
}

TEST_F(GameFrame, TheFrameInWhichPlayEndsShowsTheFinalScoreOverThePlayPicture) {
  start_play();
  skeleton_list[0].health = 0;
  game_over_timer = 1995;
  frame(false);  // the timer passes 2000
  ASSERT_EQ(game_state, STATE_PLAY);
  frame(false);  // play ends here, and the game-over pass runs in the same frame
  ASSERT_EQ(game_state, STATE_GAME_OVER);
  EXPECT_GT(count_colour(240, 435, 400, 455, 32, 32, 32), 20) << "no final score line";
  const uint8_t* play_frame = headless_frame_rgb(-1);
  const std::vector<uint8_t> play_corner(play_frame + 3 * 640 * 300, play_frame + 3 * 640 * 301);
  frame(false);
  const uint8_t* over_frame = headless_frame_rgb(-1);
  EXPECT_NE(std::memcmp(play_corner.data(), over_frame + 3 * 640 * 300, play_corner.size()), 0)
      << "the next frame shows the game-over picture";
}

// The clear under a picture that covers the screen is skipped, but a frame whose back buffer
// cannot be locked for the picture is still cleared, not left with an older frame's pixels.
TEST_F(GameFrame, AFrameThatCannotDrawItsPictureIsClearedInstead) {
  const auto distinct_colours = [] {
    const uint8_t* rgb = headless_frame_rgb(-1);
    std::set<uint32_t> colours;
    for (int y = 100; y < 400; ++y)
      for (int x = 100; x < 540; ++x) {
        const uint8_t* p = rgb + 3 * (y * 640 + x);
        colours.insert(uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]);
      }
    return colours.size();
  };
  frame(false);
  frame(false);
  EXPECT_GT(distinct_colours(), 1u) << "the title picture";
  plat_fault_set(CALL_SURFACE_LOCK, 0);
  frame(false);
  plat_fault_set(CALL_SURFACE_LOCK, -1);
  EXPECT_EQ(distinct_colours(), 1u) << "one clear colour";
}

TEST_F(GameFrame, YouIsDrawnWhenThePlayerIsNot) {
  start_play();
  skeleton_list[0].health = 0;
  frame(false);
  const int x = static_cast<int>(skeleton_list[0].x) + 12, y = static_cast<int>(skeleton_list[0].y) - 15;
  EXPECT_GT(count_colour(x, y, x + 40, y + 16, 255, 0, 0), 10);
}

TEST_F(GameFrame, TheChargeShowsInWholePercentRoundedDown) {
  start_play();
  for (const auto& [charge, text] : {std::pair{39969, "Spawn CD: 99%"}, {39970, "Spawn CD: 100%"}}) {
    // The frame's own step (30 ms) comes first: 39969 + 30 is one short of full.
    skeleton_list[0].spawn_charge = charge;
    frame(false);
    EXPECT_STREQ(text_buffer, text);
  }
}

TEST_F(GameFrame, ARestartNeedsAFreshPressAfterTwoSeconds) {
  start_play();
  score = 750;
  drain_amount = 5;
  difficulty_timer = 4321;
  spawn_period[0] = 4980;
  skeleton_list[0].health = 0;
  while (game_state != STATE_GAME_OVER) frame(false);
  frame(true);  // too early: latched, no restart
  for (int i = 0; i < 80; ++i) frame(true);  // held past 2000 ms: still nothing
  ASSERT_EQ(game_state, STATE_GAME_OVER);
  const int difficulty = difficulty_timer;
  frame(false);
  frame(true);
  EXPECT_EQ(game_state, STATE_PLAY);
  EXPECT_EQ(score, 0);
  EXPECT_EQ(drain_amount, 2);
  EXPECT_EQ(difficulty_timer, difficulty);
  EXPECT_EQ(spawn_period[0], 5000);
  EXPECT_EQ(spawn_timer[1], 5000);
  EXPECT_EQ(skeleton_list.size(), 1u);
  EXPECT_EQ(skeleton_list[0].health, 100);
  EXPECT_EQ(dead_list.size(), 1u);
  EXPECT_EQ(laser_list.size(), 1u);
}

TEST_F(GameFrame, ARestartWhosePlayerCannotBeMadeReturnsToGameOver) {
  start_play();
  skeleton_list[0].health = 0;
  score = 500;
  while (game_state != STATE_GAME_OVER) frame(false);
  for (int i = 0; i < 70; ++i) frame(false);
  plat_fault_set(CALL_SURFACE_CREATE, 0);
  EXPECT_EQ(frame(true), 0);  // no flip, no wait
  EXPECT_EQ(game_state, STATE_PLAY);
  ASSERT_EQ(skeleton_list.size(), 1u);
  EXPECT_EQ(skeleton_list[0].health, 0);
  EXPECT_EQ(score, 500);
  EXPECT_TRUE(dead_list.empty());
  plat_fault_set(CALL_SURFACE_CREATE, -1);
  int frames = 0;
  while (game_state == STATE_PLAY && frames < 200) frames += frame(false);
  EXPECT_EQ(game_state, STATE_GAME_OVER);
  EXPECT_GT(frames, 60);  // a little over 2 s of game time
}

// A fresh platform and the game's window, the game not yet started.
bool fresh_process_with_window() {
  headless_reset();
  char reason[64];
  if (!plat_startup(reason, sizeof reason)) return false;
  WNDCLASS_TYP window_class = {CS_OWNDC, window_proc, "WINCLASS1", 1};
  plat_register_class(&window_class);
  main_window = plat_create_window("WINCLASS1", "Ashfallow", WS_POPUP, 0, 0, 640, 480);
  game_reset_to_load();
  return main_window != nullptr;
}

TEST(GameStartUp, FailuresAndMissingFilesAreSaidOnStderr) {
  const std::filesystem::path old_dir = std::filesystem::current_path();
  const std::filesystem::path empty = std::filesystem::temp_directory_path() / "ashfallow-empty-data";
  std::filesystem::create_directories(empty);
  std::filesystem::current_path(empty);
  for (PLAT_CALL fault : {CALL_COUNT, CALL_KEYBOARD_ACQUIRE, CALL_SURFACE_CREATE}) {
    ASSERT_TRUE(fresh_process_with_window());
    if (fault != CALL_COUNT) plat_fault_set(fault, 0);
    testing::internal::CaptureStderr();
    const int started = game_init();
    const std::string said = testing::internal::GetCapturedStderr();
    game_shutdown();
    plat_shutdown();
    // Every data file is named with the folder it was looked for in.
    EXPECT_NE(said.find("\"SKELSP8.BMP\" is missing in " + empty.string()), std::string::npos);
    EXPECT_NE(said.find("\"PALDATA2.PAL\""), std::string::npos);
    if (fault == CALL_COUNT) {
      EXPECT_EQ(started, 1) << "blank pictures and silence, but the game runs";
    } else {
      EXPECT_EQ(started, 0);
      EXPECT_NE(game_init_failure, nullptr);
      EXPECT_NE(std::string(game_init_failure).find(fault == CALL_KEYBOARD_ACQUIRE ? "keyboard" : "player"),
                std::string::npos);
    }
  }
  std::filesystem::current_path(old_dir);
  std::filesystem::remove_all(empty);
}

// A data file that is there but cannot be used is told apart from a missing one, and the game
// still starts (blank pictures, silence).
TEST(GameStartUp, EachUnusableDataFileIsNamedWithItsReason) {
  const std::filesystem::path old_dir = std::filesystem::current_path();
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "ashfallow-bad-data";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::filesystem::copy(ASHFALLOW_DATA_DIR, dir, std::filesystem::copy_options::recursive);
  struct BAD_FILE_TYP {
    const char* name;
    const char* form;
    const char* said;
  };
  const BAD_FILE_TYP cases[] = {
      {"GRASS.BMP", "missing", "is missing in"},
      {"bat.WAV", "directory", "is not a regular file (a directory, a pipe or a device) in"},
      {"MIDIFILE9.MID", "pipe", "is not a regular file (a directory, a pipe or a device) in"},
      {"PALDATA2.PAL", "empty", "is empty in"},
  };
  for (const BAD_FILE_TYP& bad : cases) {
    const std::filesystem::path path = dir / bad.name;
    std::filesystem::remove(path);
    if (!std::strcmp(bad.form, "directory")) std::filesystem::create_directory(path);
    if (!std::strcmp(bad.form, "pipe")) {
      ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    }
    if (!std::strcmp(bad.form, "empty")) std::ofstream{path};
  }
  std::filesystem::current_path(dir);
  ASSERT_TRUE(fresh_process_with_window());
  testing::internal::CaptureStderr();
  const int started = game_init();
  const std::string said = testing::internal::GetCapturedStderr();
  for (const BAD_FILE_TYP& bad : cases) {
    const std::string line = std::string("\"") + bad.name + "\" " + bad.said + " " + dir.string();
    EXPECT_NE(said.find(line), std::string::npos) << bad.form << "\n" << said;
  }
  EXPECT_EQ(said.find("SKELSP0.BMP"), std::string::npos) << "a good file is not named";
  EXPECT_EQ(started, 1);
  int frames = 0;
  for (; game_state != STATE_PLAY && frames < 40; ++frames) {
    headless_key(DIK_SPACE, frames % 4 < 2);
    game_main();
  }
  EXPECT_EQ(game_state, STATE_PLAY);
  game_shutdown();
  plat_shutdown();
  std::filesystem::current_path(old_dir);
  std::filesystem::remove_all(dir);
}


// The bytes of a file, and writing them back.
std::vector<uint8_t> file_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void put_bytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void put_le32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

// How a case damages a good file; `found` is what the line must say after the file's name.
struct DAMAGED_FILE_TYP {
  const char* name;
  const char* form;  // the cases of one form are made together in one folder
  std::function<void(std::vector<uint8_t>&)> damage;
  std::function<std::string(size_t good_size)> found;
};

std::string cut_in_half(size_t size) {
  return "is cut short (expected " + std::to_string(size) + " bytes, found " +
         std::to_string(size / 2) + ")";
}

std::function<std::string(size_t)> says(const char* words) {
  return [words](size_t) { return std::string(words); };
}

void halve(std::vector<uint8_t>& b) { b.resize(b.size() / 2); }

void randomise(std::vector<uint8_t>& b) {
  std::mt19937 random(26);
  for (uint8_t& byte : b) byte = uint8_t(random());
}

// A picture, the palette, a sound and the music in each bad form: every one is named once, with
// what is wrong with it, and the game still starts and reaches play.
TEST(GameStartUp, EachDamagedDataFileIsNamedWithWhatIsWrong) {
  auto empty = [](std::vector<uint8_t>& b) { b.clear(); };
  const DAMAGED_FILE_TYP cases[] = {
      {"GRASS.BMP", "empty", empty, says("is empty")},
      {"PALDATA2.PAL", "empty", empty, says("is empty")},
      {"bat.WAV", "empty", empty, says("is empty")},
      {"MIDIFILE9.MID", "empty", empty, says("is empty")},

      {"GRASS.BMP", "half", halve, cut_in_half},
      {"bat.WAV", "half", halve, cut_in_half},
      {"PALDATA2.PAL", "half", halve, says("is cut short (expected 256 colours, found 12")},
      // Its tracks say how long they are: the one the cut falls in runs past the end.
      {"MIDIFILE9.MID", "half", halve,
       [](size_t size) { return "found " + std::to_string(size / 2) + ")"; }},

      {"GRASS.BMP", "random", randomise, says("is not a picture the game can read (no BMP header)")},
      {"PALDATA2.PAL", "random", randomise, says("is not a palette the game can read (no number at colour ")},
      {"bat.WAV", "random", randomise, says("is not a sound the game can read (no RIFF header)")},
      {"MIDIFILE9.MID", "random", randomise, says("is not a MIDI file (no MThd header)")},

      {"GRASS.BMP", "huge", [](std::vector<uint8_t>& b) { put_le32(b, 34, 0xFFFFFFFF); },
       says("is not a picture the game can read (size field 4 GB)")},
      {"bat.WAV", "huge", [](std::vector<uint8_t>& b) { put_le32(b, 4, 0xFFFFFFFF); },
       says("is not a sound the game can read (\"RIFF\" chunk with size field 4 GB)")},
      {"HWEAPON0.WAV", "huge", [](std::vector<uint8_t>& b) { put_le32(b, 42, 0x7FFFFFF0); },
       says("is not a sound the game can read (\"data\" chunk with size field 2 GB)")},
      {"MIDIFILE9.MID", "huge", [](std::vector<uint8_t>& b) { std::memset(&b[18], 0xFF, 4); },
       says("is not a MIDI file the game can read (size field 4 GB)")},

      {"GRASS.BMP", "wrong", [](std::vector<uint8_t>& b) { b[28] = 4; },
       says("is not a picture the game can read (BMP with 4-bit pixels)")},
      {"title.BMP", "wrong",
       [](std::vector<uint8_t>& b) {
         std::vector<uint8_t> rgb(16 * 8 * 3, 200);
         const std::filesystem::path path = std::filesystem::temp_directory_path() / "ashfallow-true.bmp";
         ASSERT_TRUE(plat_write_bmp24(path.c_str(), rgb.data(), 16, 8));
         b = file_bytes(path);
         std::filesystem::remove(path);
       },
       says("is not a picture the game can read (BMP of true colours, not 8-bit)")},
      {"SKELSP3.BMP", "wrong",
       [](std::vector<uint8_t>& b) {
         std::vector<uint8_t> indices(100 * 50, 7);
         PALETTEENTRY palette[256] = {};
         const std::filesystem::path path = std::filesystem::temp_directory_path() / "ashfallow-small.bmp";
         ASSERT_TRUE(plat_write_bmp8(path.c_str(), indices.data(), 100, 50, palette));
         b = file_bytes(path);
         std::filesystem::remove(path);
       },
       // Five cells of 56 across and two of 72 down, each with a 1-pixel border.
       says("is too small for its pictures (100 x 50 pixels, needs 285 x 146)")},
      {"PALDATA2.PAL", "wrong", [](std::vector<uint8_t>& b) { b = {'B', 'M', '6', '0'}; },
       says("is not a palette the game can read (no number at colour 1 of 256)")},
      {"bat.WAV", "wrong", [](std::vector<uint8_t>& b) { std::memcpy(&b[8], "AVI ", 4); },
       says("is not a sound the game can read (RIFF but not WAVE)")},
      {"HWEAPON0.WAV", "wrong", [](std::vector<uint8_t>& b) { b[20] = 3; },
       says("is not a sound the game can read (WAVE in format 3, not plain PCM)")},
      {"MIDIFILE9.MID", "wrong", [](std::vector<uint8_t>& b) { put_le32(b, 4, 0x02000000); },
       says("is not a MIDI file the game can read (header length 2)")},
  };
  const std::filesystem::path old_dir = std::filesystem::current_path();
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "ashfallow-damaged-data";
  for (const char* form : {"empty", "half", "random", "huge", "wrong"}) {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::filesystem::copy(ASHFALLOW_DATA_DIR, dir, std::filesystem::copy_options::recursive);
    int damaged = 0;
    std::vector<std::string> lines;
    for (const DAMAGED_FILE_TYP& bad : cases) {
      if (std::strcmp(bad.form, form)) continue;
      std::vector<uint8_t> bytes = file_bytes(dir / bad.name);
      const size_t good_size = bytes.size();
      ASSERT_GT(good_size, 64u) << bad.name;
      bad.damage(bytes);
      put_bytes(dir / bad.name, bytes);
      lines.push_back(std::string("ashfallow: data file \"") + bad.name + "\" " + bad.found(good_size));
      ++damaged;
    }
    std::filesystem::current_path(dir);
    ASSERT_TRUE(fresh_process_with_window());
    testing::internal::CaptureStderr();
    const int started = game_init();
    const std::string said = testing::internal::GetCapturedStderr();
    int said_lines = 0;
    for (size_t at = said.find("ashfallow: data file"); at != std::string::npos;
         at = said.find("ashfallow: data file", at + 1))
      ++said_lines;
    EXPECT_EQ(said_lines, damaged) << form << ": one line for each damaged file\n" << said;
    for (const std::string& line : lines) {
      const size_t name_end = line.find('"', 22);
      const std::string name = line.substr(21, name_end - 20);
      const size_t at = said.find(name);
      ASSERT_NE(at, std::string::npos) << form << " " << name << "\n" << said;
      const std::string said_line = said.substr(0, said.find('\n', at)).substr(said.rfind('\n', at) + 1);
      EXPECT_NE(said_line.find(line.substr(line.find(name) + name.size() + 1)), std::string::npos)
          << form << "\nwanted " << line << "\nsaid   " << said_line;
      EXPECT_NE(said_line.find(" in " + dir.string()), std::string::npos) << said_line;
    }
    EXPECT_EQ(started, 1) << form;
    int frames = 0;
    for (; game_state != STATE_PLAY && frames < 40; ++frames) {
      headless_key(DIK_SPACE, frames % 4 < 2);
      game_main();
    }
    EXPECT_EQ(game_state, STATE_PLAY) << form;
    game_shutdown();
    plat_shutdown();
    std::filesystem::current_path(old_dir);
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
