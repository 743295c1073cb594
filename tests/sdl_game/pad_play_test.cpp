// The whole game on the sdl backend with nothing but a virtual pad: A leaves the title and the
// controls screens and strikes in play, Back held with Start quits.
#include <gtest/gtest.h>
#include <SDL.h>

#include "app/data_find.h"
#include "app/entry.h"
#include "app/game_shell.h"
#include "engine/graphics/display.h"
#include "game/world.h"
#include "platform/core/backend.h"
#include "platform/display.h"
#include "platform/keys.h"
#include "platform/window.h"

namespace {

// Far past what the walk through the screens needs: the run must end by itself.
constexpr int pass_limit = 600;

struct PadPlay : ::testing::Test {
  SDL_Joystick* pad = nullptr;
  int passes = 0;

  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // The dummy driver never gives the window focus; let the pad's presses through as a
    // focused window would get them.
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
    ASSERT_EQ(data_enter_folder(ASHFALLOW_DATA_DIR), 1);
    plat_windows_reset();
    plat_keys_reset();
    plat_display_reset();
    plat_display_prefer_window(1);
    char reason[256];
    ASSERT_EQ(plat_startup(reason, sizeof reason), 1) << reason;
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "pad-only player";
    desc.vendor_id = 0x1209;
    desc.product_id = 0xA001;
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(index, 0) << SDL_GetError();
    pad = SDL_JoystickOpen(index);
    ASSERT_NE(pad, nullptr) << SDL_GetError();
  }

  void TearDown() override {
    if (pad) {
      SDL_JoystickDetachVirtual(0);
      SDL_JoystickClose(pad);
    }
    plat_shutdown();
  }

  void set(SDL_GameControllerButton which, bool down) {
    ASSERT_EQ(SDL_JoystickSetVirtualButton(pad, which, down ? SDL_PRESSED : SDL_RELEASED), 0);
  }

  // Runs frames until `done` holds (1), or the run ends or the limit passes (0).
  template <class DONE>
  int run_until(DONE done) {
    while (passes < pass_limit) {
      if (!app_pass()) return 0;
      ++passes;
      if (done()) return 1;
    }
    return 0;
  }

  // A press held for a few frames and let go, as a thumb does.
  void tap(SDL_GameControllerButton which) {
    set(which, true);
    int frames = 0;
    run_until([&] { return ++frames == 3; });
    set(which, false);
    frames = 0;
    run_until([&] { return ++frames == 3; });
  }
};

TEST_F(PadPlay, APadAlonePlaysFromTheTitleToTheFirstStrikeAndQuits) {
  const GAME_CALLS_TYP calls = {game_init, game_main, game_shutdown};
  ASSERT_EQ(app_start(&calls), 1);
  ASSERT_TRUE(run_until([] { return game_state == STATE_TITLE; }));
  tap(SDL_CONTROLLER_BUTTON_A);
  ASSERT_EQ(game_state, STATE_CONTROLS);
  tap(SDL_CONTROLLER_BUTTON_A);
  ASSERT_EQ(game_state, STATE_PLAY);
  // A strike waits for a full attack timer; A then strikes and the pose starts again.
  ASSERT_TRUE(run_until([] { return player()->attack_timer >= STRIKE_READY_MS; }));
  set(SDL_CONTROLLER_BUTTON_A, true);
  ASSERT_TRUE(run_until([] { return player()->attack_timer < STRIKE_READY_MS; }));
  EXPECT_LT(player()->action_timer, STRIKE_POSE_MS);
  set(SDL_CONTROLLER_BUTTON_A, false);
  // Start alone during play neither strikes nor quits; Back with Start quits when let go.
  tap(SDL_CONTROLLER_BUTTON_START);
  EXPECT_EQ(game_state, STATE_PLAY);
  set(SDL_CONTROLLER_BUTTON_BACK, true);
  set(SDL_CONTROLLER_BUTTON_START, true);
  // The window ends the loop once the queue is empty again, so once the thumb lets go.
  int held = 0;
  run_until([&] { return ++held == 3; });
  set(SDL_CONTROLLER_BUTTON_BACK, false);
  set(SDL_CONTROLLER_BUTTON_START, false);
  EXPECT_FALSE(run_until([] { return false; })) << "still running after Back+Start";
  EXPECT_LT(passes, pass_limit);
  EXPECT_EQ(app_finish(), 0);
}

}  // namespace
