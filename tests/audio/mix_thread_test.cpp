// The sdl output renders the mix on its own thread while the game thread plays, stops, loads
// and deletes. This runs both at once; the sanitizer builds catch what a race would break.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "engine/audio/music.h"
#include "engine/audio/sound.h"
#include "platform/faults.h"
#include "platform/mix.h"
#include "tests/audio/audio_helpers.h"

namespace {

TEST(MixThread, RenderingWhileTheGameChangesWhatPlays) {
  plat_fault_clear_all();
  sound_first_start = 1;
  ASSERT_EQ(start_sound_system(), 1);
  ASSERT_EQ(start_music_system(), 1);
  int tune = load_midi(audio_fixture("tune.mid").c_str());
  ASSERT_GE(tune, 0);

  std::atomic<bool> done{false};
  std::atomic<int> blocks{0};
  std::thread output([&] {
    std::vector<float> block(2 * 256);
    while (!done.load()) {
      plat_mix_render(block.data(), 256);
      blocks.fetch_add(1);
    }
  });
  std::string path = audio_fixture("tone8.wav");
  for (int round = 0; round < 40; ++round) {
    int a = load_wav_sound(path.c_str(), 224);
    int b = replicate_sound(a);
    play_sound(a, round % 2 ? DSBPLAY_LOOPING : 0);
    play_sound(b, 0);
    set_sound_pan(b, round * 100 - 2000);
    set_sound_frequency(a, 8000 + round * 100);
    play_midi(tune);
    midi_status(tune);
    stop_sound(a);
    delete_sound(b);
    if (round % 10 == 9) start_sound_system();  // empties the table under the renderer
  }
  stop_midi(tune);
  // Let the renderer run a little beyond the last change before stopping it.
  int seen = blocks.load();
  while (blocks.load() < seen + 4) std::this_thread::yield();
  done = true;
  output.join();
  EXPECT_EQ(midi_status(tune), SLOT_STOPPED);
  EXPECT_EQ(current_midi, -1);

  stop_all_sounds();
  delete_all_sounds();
  shutdown_sound_system();
  delete_all_midi();
  shutdown_music_system();
}

}  // namespace
