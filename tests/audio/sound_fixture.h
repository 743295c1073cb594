// A started sound system for each test, as a fresh process would have it.
#pragma once
#include <gtest/gtest.h>

#include "engine/audio/sound.h"
#include "platform/faults.h"

class SoundTest : public testing::Test {
 protected:
  void SetUp() override {
    plat_fault_clear_all();
    sound_first_start = 1;
    ASSERT_EQ(start_sound_system(), 1);
  }
  void TearDown() override {
    stop_all_sounds();
    delete_all_sounds();
    shutdown_sound_system();
    plat_fault_clear_all();
  }
};

// The flags the game loads its effects with: frequency, pan and volume control.
constexpr int GAME_FLAGS = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
