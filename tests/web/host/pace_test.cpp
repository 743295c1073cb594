// The page's frame pacing: the next pass starts on the tick the native wait would have
// returned on, never sooner, across the wrap of the tick count.
#include "platform/web/web_pace.h"

#include <gtest/gtest.h>

namespace {

TEST(WebPace, TheNextPassWaitsForTheFramesThirtyMilliseconds) {
  const struct {
    uint32_t start, now, delay;
  } cases[] = {
      {1000, 1000, 30}, {1000, 1012, 18}, {1000, 1029, 1}, {1000, 1030, 0}, {1000, 1045, 0},
      // The frame's own work took longer than the period: the next starts at once.
      {1000, 5000, 0},
      // Right across the wrap: 16 ms before it and 14 ms after it are 30 ms apart.
      {0xFFFFFFF0u, 0xFFFFFFF0u, 30}, {0xFFFFFFF0u, 0xFFFFFFFFu, 15}, {0xFFFFFFF0u, 13, 1},
      {0xFFFFFFF0u, 14, 0},
  };
  for (const auto& c : cases) {
    WEB_PACE_TYP pace = {};
    web_pace_wait(&pace, c.start, 30);
    EXPECT_EQ(web_pace_delay(&pace, c.now), c.delay) << c.start << " " << c.now;
  }
}

TEST(WebPace, NoWaitOwedStartsAtOnceAndALaterWaitReplacesAnEarlierOne) {
  WEB_PACE_TYP pace = {};
  EXPECT_EQ(web_pace_delay(&pace, 123), 0u);
  web_pace_wait(&pace, 100, 30);
  web_pace_wait(&pace, 110, 12);
  EXPECT_EQ(web_pace_delay(&pace, 110), 12u);
  web_pace_wait(&pace, 200, 0);
  EXPECT_EQ(web_pace_delay(&pace, 200), 0u);
}

// A page whose timers fire exactly when asked, frames of varying work: each pass starts on or
// past the tick its frame's wait named, and a frame that worked past it is not held up.
TEST(WebPace, ALoopOfTimersKeepsTheNativePace) {
  WEB_PACE_TYP pace = {};
  uint32_t now = 0xFFFFFF00u;  // runs across the wrap
  const uint32_t work[] = {3, 0, 29, 30, 31, 45, 1, 12};
  for (int frame = 0; frame < 40; ++frame) {
    const uint32_t start = now;
    now += work[frame % 8];
    web_pace_wait(&pace, start, 30);
    now += web_pace_delay(&pace, now);  // the timer
    const uint32_t took = now - start;
    EXPECT_EQ(took, work[frame % 8] > 30 ? work[frame % 8] : 30u) << frame;
  }
}

}  // namespace
