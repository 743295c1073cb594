// The whole game's start-up, frames and shut-down on the headless backend, with the generated
// data files: what a player sees at the moments the replays cannot show.
#include <gtest/gtest.h>

#include <cstring>
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

}  // namespace
