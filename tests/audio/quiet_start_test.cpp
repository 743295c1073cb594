// Starting the sound and music systems on the headless backend asks nothing of the machine's
// sound system and leaves no thread of the synthesizer's own behind.
#include <gtest/gtest.h>

#include <dirent.h>
#include <dlfcn.h>

#include <cstdlib>

#include "engine/audio/music.h"
#include "engine/audio/sound.h"
#include "platform/faults.h"

extern "C" int snd_card_next(int* card);

namespace {

int threads_now() {
  DIR* tasks = opendir("/proc/self/task");
  if (!tasks) return -1;
  int count = 0;
  while (const dirent* entry = readdir(tasks)) count += entry->d_name[0] != '.';
  closedir(tasks);
  return count;
}

TEST(QuietStart, TheMusicSystemStartsNoThreadOfItsOwn) {
  // The synthesizer's sound font loader would start a worker per core and leave it idling.
  unsetenv("OMP_NUM_THREADS");
  plat_fault_clear_all();
  sound_first_start = 1;
  ASSERT_EQ(start_sound_system(), 1);
  const int before = threads_now();
  ASSERT_GT(before, 0);
  ASSERT_EQ(start_music_system(), 1);
  EXPECT_EQ(threads_now(), before);
  shutdown_sound_system();
  shutdown_music_system();
}

TEST(QuietStart, EveryLibraryWalkingTheSoundCardsFindsNone) {
  // What the synthesizer's ALSA drivers reach when they list the cards: this program's walk.
  void* seen = dlsym(RTLD_DEFAULT, "snd_card_next");
  ASSERT_NE(seen, nullptr);
  EXPECT_EQ(seen, reinterpret_cast<void*>(&snd_card_next));
  int card = 0;
  EXPECT_EQ(reinterpret_cast<int (*)(int*)>(seen)(&card), 0);
  EXPECT_EQ(card, -1);
}

}  // namespace
