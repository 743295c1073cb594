// Starting the sdl backend: a clear refusal without a display, a clean start on the dummy
// driver after it, and the tick count.
#include <chrono>
#include <cstring>
#include <ctime>
#include <string>

#include "platform/ticks.h"
#include "tests/sdl/sdl_fixture.h"

namespace {

TEST(SdlStartup, RefusesWithAReasonWhenThereIsNoDisplay) {
  EnvGuard display("DISPLAY", nullptr);
  EnvGuard wayland("WAYLAND_DISPLAY", nullptr);
  EnvGuard driver("SDL_VIDEODRIVER", nullptr);
  fresh_platform();
  char reason[256] = "unchanged";
  EXPECT_EQ(plat_startup(reason, sizeof reason), 0);
  const std::string said = reason;
  EXPECT_NE(said.find("DISPLAY"), std::string::npos) << said;
  EXPECT_NE(said.find("SDL_VIDEODRIVER=dummy"), std::string::npos) << said;
  // Nothing was brought up that would need bringing down.
  EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);

  // A short buffer gets a cut, terminated reason; no buffer at all is fine too.
  char shorter[8];
  std::memset(shorter, 'x', sizeof shorter);
  EXPECT_EQ(plat_startup(shorter, sizeof shorter), 0);
  EXPECT_EQ(std::string(shorter), said.substr(0, sizeof shorter - 1));
  EXPECT_EQ(plat_startup(nullptr, 0), 0);
}

TEST(SdlStartup, NamesTheDisplayItCannotReach) {
  EnvGuard display("DISPLAY", ":9753");  // no server listens there
  EnvGuard wayland("WAYLAND_DISPLAY", nullptr);
  EnvGuard driver("SDL_VIDEODRIVER", nullptr);
  fresh_platform();
  char reason[256] = "";
  EXPECT_EQ(plat_startup(reason, sizeof reason), 0);
  EXPECT_NE(std::string(reason).find("\":9753\""), std::string::npos) << reason;
  EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
}

TEST(SdlStartup, RefusesWhenOnlyAnUnreachableWaylandDisplayIsNamed) {
  EnvGuard display("DISPLAY", nullptr);
  EnvGuard wayland("WAYLAND_DISPLAY", "ashfallow-no-such-wayland");
  EnvGuard driver("SDL_VIDEODRIVER", nullptr);
  fresh_platform();
  char reason[256] = "";
  EXPECT_EQ(plat_startup(reason, sizeof reason), 0);
  EXPECT_STRNE(reason, "");
  EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
}

TEST(SdlStartup, StartsOnTheDummyDriverAfterARefusal) {
  {
    EnvGuard display("DISPLAY", nullptr);
    EnvGuard wayland("WAYLAND_DISPLAY", nullptr);
    EnvGuard driver("SDL_VIDEODRIVER", nullptr);
    char reason[256];
    ASSERT_EQ(plat_startup(reason, sizeof reason), 0);
  }
  EnvGuard driver("SDL_VIDEODRIVER", "dummy");
  fresh_platform();
  char reason[256] = "stale";
  ASSERT_EQ(plat_startup(reason, sizeof reason), 1) << reason;
  EXPECT_STREQ(reason, "");
  EXPECT_STREQ(SDL_GetCurrentVideoDriver(), "dummy");
  plat_shutdown();
  EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
  fresh_platform();
}

TEST(SdlTicks, CountMillisecondsSinceSystemStartInThirtyTwoBits) {
  using std::chrono::duration_cast;
  using std::chrono::milliseconds;
  using std::chrono::steady_clock;
  const auto before = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  const uint32_t tick = plat_get_tick_count();
  const auto after = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  // The low 32 bits of the system's count: differences stay right across the wrap.
  EXPECT_LE(uint32_t(tick - uint32_t(before)), uint32_t(after - before));
}

TEST(SdlTicks, NeverRunBackwardsAndAdvanceWithTime) {
  const uint32_t first = plat_get_tick_count();
  uint32_t last = first;
  for (int i = 0; i < 1000; ++i) {
    const uint32_t now = plat_get_tick_count();
    EXPECT_LT(uint32_t(now - last), 0x80000000u) << "went back from " << last << " to " << now;
    last = now;
  }
  SDL_Delay(3);
  EXPECT_GE(uint32_t(plat_get_tick_count() - first), 3u);
}

TEST(SdlTicks, TheFrameWaitSleepsAndEndsOnItsTick) {
  // The processor is given back: a thread that spun through the wait would use about all of
  // it. The thread's own CPU time does not grow when other work slows the machine down.
  timespec cpu_before = {};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu_before);
  const uint32_t start = plat_get_tick_count();
  const uint32_t end = plat_wait_ticks(start, 200);
  timespec cpu_after = {};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu_after);
  EXPECT_GE(uint32_t(end - start), 200u);
  const double cpu_ms = (cpu_after.tv_sec - cpu_before.tv_sec) * 1e3 +
                        (cpu_after.tv_nsec - cpu_before.tv_nsec) / 1e6;
  EXPECT_LT(cpu_ms, 40.0);

  // A deadline already past (or one a wrap away) never sleeps.
  const uint32_t late = plat_get_tick_count();
  EXPECT_GE(uint32_t(plat_wait_ticks(late - 500, 30) - (late - 500)), 30u);
}

}  // namespace
