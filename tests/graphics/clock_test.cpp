#include "engine/graphics/clock.h"

#include <gtest/gtest.h>

#include "platform/headless/headless.h"

namespace {

class FrameClock : public ::testing::Test {
 protected:
  void SetUp() override {
    headless_reset();
    headless_set_tick_step(1);
  }
};

TEST_F(FrameClock, WaitPadsTheFrameToThePeriod) {
  headless_set_ticks(1000);
  EXPECT_EQ(clock_start(), 1000u);
  EXPECT_EQ(clock_start_tick, 1000u);
  uint32_t end = clock_wait(30);
  EXPECT_GE(end - 1000u, 30u);
  EXPECT_LE(end - 1000u, 32u);  // spins in 1 ms reads: at most a read or two past the period
}

TEST_F(FrameClock, WaitReturnsAFreshReadTakenAfterTheWait) {
  headless_set_ticks(1000);
  clock_start();  // reads 1000
  // Reads 1001 to 1030 spin; 1030 ends the wait; the result is the next read.
  EXPECT_EQ(clock_wait(30), 1031u);
  EXPECT_EQ(headless_ticks(), 1032u);
}

TEST_F(FrameClock, WaitSleepsTillTwoMillisecondsBeforeTheEndAndSpinsTheRest) {
  for (const uint32_t step_us : {1000u, 1u}) {
    headless_reset();
    headless_set_tick_step_us(step_us);
    headless_set_ticks(1000);
    clock_start();
    const uint32_t end = clock_wait(30);
    // The processor is given back for all but the last 2 ms, and the wait still ends on the
    // first tick at or past the period, as a pure spin would.
    EXPECT_EQ(headless_slept_ms(), step_us == 1 ? 28u : 27u) << step_us;
    EXPECT_GE(end - 1000u, 30u);
    EXPECT_LE(end - 1000u, step_us == 1 ? 30u : 31u);
  }
}

TEST_F(FrameClock, AWaitBeforeAnyStartReturnsAtOnce) {
  // The start tick's value at load, against a tick count that has run since the system
  // started: the period is long past.
  clock_start_tick = 0;
  headless_set_ticks(3600000);
  EXPECT_EQ(clock_wait(30), 3600001u);
}

TEST_F(FrameClock, ALongFrameDoesNotWait) {
  headless_set_ticks(5000);
  clock_start();
  headless_advance(45);
  uint32_t before = headless_ticks();
  uint32_t end = clock_wait(30);
  EXPECT_LE(end - before, 2u);  // one read to test, one read to return
}

TEST_F(FrameClock, WaitMeasuresAcrossTheWrapOfTheTickCount) {
  headless_set_ticks(0xFFFFFFFFu - 15);  // 16 ms below the wrap
  clock_start();
  headless_set_ticks(14);  // 14 ms past it: 30 ms have passed
  uint32_t before = headless_ticks();
  uint32_t end = clock_wait(30);
  EXPECT_LE(end - before, 2u);

  headless_set_ticks(0xFFFFFFFFu - 15);
  clock_start();
  headless_set_ticks(4);  // only 20 ms: waits 10 more
  end = clock_wait(30);
  EXPECT_GE(static_cast<uint32_t>(end - clock_start_tick), 30u);
  EXPECT_LE(static_cast<uint32_t>(end - clock_start_tick), 32u);
}

TEST_F(FrameClock, ZeroPeriodNeverLoops) {
  headless_set_ticks(77);
  clock_start();
  uint32_t end = clock_wait(0);
  EXPECT_LE(end - 77u, 2u);
}

TEST_F(FrameClock, GetReadsTheTickCount) {
  headless_set_tick_step(0);
  headless_set_ticks(123456);
  EXPECT_EQ(clock_get(), 123456u);
}

}  // namespace
