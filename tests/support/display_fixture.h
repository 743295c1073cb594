// Brings the headless display up for a test: a fresh platform, the game's window, and the
// display in the game's mode (640 x 480, 8 bits, full-screen), run from an empty folder so no
// stray data file is read. Torn down again after the test.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "engine/graphics/display.h"
#include "platform/headless/headless.h"
#include "platform/window.h"

class HeadlessWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    headless_reset();
    old_dir_ = std::filesystem::current_path();
    dir_ = std::filesystem::temp_directory_path() /
           ("ashfallow-test-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
    char reason[128];
    ASSERT_EQ(plat_startup(reason, sizeof reason), 1) << reason;
    WNDCLASS_TYP window_class = {CS_OWNDC, plat_def_window_proc, "TESTCLASS", 1};
    ASSERT_NE(plat_register_class(&window_class), 0);
    main_window = plat_create_window("TESTCLASS", "test", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480);
    ASSERT_NE(main_window, nullptr);
  }

  void TearDown() override {
    display_shutdown();
    main_window = nullptr;
    plat_shutdown();
    std::filesystem::current_path(old_dir_);
    std::filesystem::remove_all(dir_);
  }

  std::filesystem::path dir_;
  std::filesystem::path old_dir_;
};

class DisplayFixture : public HeadlessWindowFixture {
 protected:
  void SetUp() override {
    HeadlessWindowFixture::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(display_init(640, 480, 8, 0), 1);
  }
};
