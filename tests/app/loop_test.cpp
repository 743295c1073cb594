// The entry point's loop on the headless backend, with the game's three calls replaced by
// recorders so each pass can be seen.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/entry.h"
#include "engine/graphics/display.h"
#include "platform/core/backend.h"
#include "platform/faults.h"
#include "platform/headless/headless.h"

namespace {

struct RUN_LOG_TYP {
  int init_result = 1;
  int inits = 0;
  int frames = 0;
  int shutdowns = 0;
  std::vector<int> frame_passes;  // the loop pass each frame ran in
  std::vector<int> paints_seen;   // begin-paint count as each frame ran
  std::function<void()> on_init;
  std::function<void(int frame)> on_frame;
};

RUN_LOG_TYP run_log;

// A runaway loop must not hang the suite: far past any test's length, quit.
constexpr int frame_limit = 1000;

int recorded_init() {
  ++run_log.inits;
  if (run_log.on_init) run_log.on_init();
  return run_log.init_result;
}

int recorded_main() {
  const int frame = run_log.frames++;
  run_log.frame_passes.push_back(headless_pass() - 1);
  run_log.paints_seen.push_back(headless_begin_paints());
  if (run_log.on_frame) run_log.on_frame(frame);
  if (frame == frame_limit) plat_post_quit_message(99);
  return 1;
}

int recorded_shutdown() {
  ++run_log.shutdowns;
  return 1;
}

const GAME_CALLS_TYP recorded_calls = {recorded_init, recorded_main, recorded_shutdown};

class AppLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    headless_reset();
    run_log = RUN_LOG_TYP{};
    main_window = nullptr;
  }
  void TearDown() override { headless_reset(); }
};

void quit_at_frame(int last_frame, int exit_code) {
  run_log.on_frame = [=](int frame) {
    if (frame == last_frame) plat_post_quit_message(exit_code);
  };
}

TEST_F(AppLoop, EveryPassRunsOneFrameWithOrWithoutAMessage) {
  quit_at_frame(4, 0);
  EXPECT_EQ(app_run(&recorded_calls), 0);
  EXPECT_EQ(run_log.inits, 1);
  EXPECT_EQ(run_log.shutdowns, 1);
  ASSERT_EQ(run_log.frames, 5);
  // Empty queue: passes 0..4 each ran exactly one frame; pass 5 removed the quit.
  EXPECT_EQ(run_log.frame_passes, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(headless_pass(), 6);
}

TEST_F(AppLoop, PendingMessagesAreTakenOnePerPassEachWithAFrame) {
  run_log.on_init = [] {
    for (int i = 0; i < 3; ++i) plat_post_message(main_window, WM_PAINT, 0, 0);
  };
  quit_at_frame(5, 0);
  EXPECT_EQ(app_run(&recorded_calls), 0);
  // A burst of three is spread over three frames, not handled before the first.
  EXPECT_EQ(run_log.paints_seen, (std::vector<int>{1, 2, 3, 3, 3, 3}));
  EXPECT_EQ(run_log.frame_passes, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(headless_end_paints(), 3);
}

TEST_F(AppLoop, QuitPassRunsNoFrameAndShutdownRunsOnceWithTheQuitCode) {
  quit_at_frame(2, 7);
  EXPECT_EQ(app_run(&recorded_calls), 7);
  EXPECT_EQ(run_log.frames, 3);
  EXPECT_EQ(run_log.shutdowns, 1);
  // The pass after the last frame removed the quit and ran nothing.
  EXPECT_EQ(headless_pass(), run_log.frame_passes.back() + 2);
}

TEST_F(AppLoop, MessagesPostedBeforeTheQuitStillGetTheirPassesAndFrames) {
  run_log.on_frame = [](int frame) {
    if (frame != 0) return;
    plat_post_quit_message(3);
    plat_post_message(main_window, WM_PAINT, 0, 0);
    plat_post_message(main_window, WM_PAINT, 0, 0);
  };
  EXPECT_EQ(app_run(&recorded_calls), 3);
  EXPECT_EQ(run_log.frames, 3);
  // Pass 0 painted the newly shown window; passes 1 and 2 took the two posted paints.
  EXPECT_EQ(headless_begin_paints(), 3);
  EXPECT_EQ(run_log.shutdowns, 1);
}

TEST_F(AppLoop, ClassOrWindowFailureReturnsZeroAndRunsNoGameCode) {
  for (PLAT_CALL call : {CALL_REGISTER_CLASS, CALL_CREATE_WINDOW}) {
    SCOPED_TRACE(call == CALL_REGISTER_CLASS ? "class registration" : "window creation");
    headless_reset();
    run_log = RUN_LOG_TYP{};
    main_window = nullptr;
    plat_fault_set(call, 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(app_run(&recorded_calls), 0);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(run_log.inits, 0);
    EXPECT_EQ(run_log.frames, 0);
    EXPECT_EQ(run_log.shutdowns, 0);
    EXPECT_EQ(main_window, nullptr);
    EXPECT_NE(said.find("ashfallow: "), std::string::npos);
  }
}

TEST_F(AppLoop, FailedStartUpRunsNoFrameReleasesOnceAndExitsNonZero) {
  run_log.init_result = 0;
  testing::internal::CaptureStderr();
  const int exit_code = app_run(&recorded_calls);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(exit_code, 0);
  EXPECT_EQ(run_log.inits, 1);
  EXPECT_EQ(run_log.frames, 0);
  EXPECT_EQ(run_log.shutdowns, 1);
  EXPECT_EQ(said.rfind("ashfallow: start-up failed: ", 0), 0u) << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;
}

TEST_F(AppLoop, PaintIsValidatedOnceWithoutDrawing) {
  headless_script_expose(2);
  quit_at_frame(5, 0);
  EXPECT_EQ(app_run(&recorded_calls), 0);
  // One paint when the window appeared and one for the exposure: each answered once (a paint
  // left unvalidated would come back every pass), and none of them showed anything.
  EXPECT_EQ(run_log.paints_seen, (std::vector<int>{1, 1, 2, 2, 2, 2}));
  EXPECT_EQ(headless_end_paints(), 2);
  EXPECT_EQ(headless_presents(), 0);
}

TEST_F(AppLoop, ClosingTheWindowEndsTheRunWithZero) {
  headless_script_close(3);
  EXPECT_EQ(app_run(&recorded_calls), 0);
  // Pass 3 takes WM_CLOSE (the window goes, the quit is posted) and still runs its frame.
  EXPECT_EQ(run_log.frame_passes, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(run_log.shutdowns, 1);
}

TEST_F(AppLoop, TheWindowIsTheGamesPopUpAtTheOrigin) {
  RECT rect = {};
  void* instance = nullptr;
  run_log.on_init = [&] {
    plat_get_window_rect(main_window, &rect);
    instance = app_instance;
  };
  quit_at_frame(0, 0);
  EXPECT_EQ(app_run(&recorded_calls), 0);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, 640);
  EXPECT_EQ(rect.bottom, 480);
  EXPECT_NE(instance, nullptr);
  EXPECT_STREQ(headless_window_caption(), "Ashfallow");
  // Created visible: it asked for its first paint.
  EXPECT_EQ(headless_begin_paints(), 1);
  // The class name is taken: the run registered "WINCLASS1".
  WNDCLASS_TYP again = {0, nullptr, "WINCLASS1", 1};
  EXPECT_EQ(plat_register_class(&again), 0);
}

TEST_F(AppLoop, AHostDrivingThePassesItselfSeesTheSameRun) {
  // A host that owns the loop (a browser calls one pass per callback) gets app_run's passes,
  // shut-down and exit code; passes after the end do nothing.
  quit_at_frame(2, 5);
  ASSERT_EQ(app_start(&recorded_calls), 1);
  int passes = 0;
  while (app_pass()) ++passes;
  EXPECT_EQ(passes, 3);
  EXPECT_EQ(app_pass(), 0);
  EXPECT_EQ(run_log.frames, 3);
  EXPECT_EQ(run_log.shutdowns, 0);
  EXPECT_EQ(app_finish(), 5);
  EXPECT_EQ(run_log.shutdowns, 1);
  EXPECT_EQ(app_finish(), 5);
  EXPECT_EQ(run_log.shutdowns, 1);

  // A failed start-up leaves nothing to pass and its exit code for the finish.
  headless_reset();
  run_log = RUN_LOG_TYP{};
  run_log.init_result = 0;
  testing::internal::CaptureStderr();
  EXPECT_EQ(app_start(&recorded_calls), 0);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(app_pass(), 0);
  EXPECT_EQ(app_finish(), APP_EXIT_START_FAILED);
  EXPECT_EQ(run_log.frames, 0);
  EXPECT_EQ(run_log.shutdowns, 1);
}

}  // namespace
