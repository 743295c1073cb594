// web_frame_load [DATA_DIR]: the game's frame under a load of about 50 actors, on the headless
// backend, native or as WebAssembly in a page (bench/web/page_figures.mjs runs both in one run
// and reports their ratio). Play starts as a player starts it; the player is kept alive and
// hostile skeletons are added until 50 actors are on the field; then the frames' own work
// (everything but the wait) is measured.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/entry.h"
#include "app/game_shell.h"
#include "game/spawn.h"
#include "game/world.h"
#include "platform/headless/headless.h"
#include "platform/keys.h"

namespace {

constexpr int ACTORS = 50;
constexpr int WARM_UP = 300;
constexpr int MEASURED = 900;

int frames = 0;
std::vector<double> work;
double actor_frames = 0;  // actors drawn, summed over the measured frames

size_t actors() { return skeleton_list.size() + summon_list.size() + dead_list.size(); }

int load_frame() {
  if (game_state == STATE_PLAY) {
    skeleton_list[0].health = 100;
    while (actors() < ACTORS && spawn_edge_skeleton()) {
    }
  }
  const int result = game_main();
  if (++frames > WARM_UP) {
    work.push_back(static_cast<double>(frame_work_us));
    actor_frames += static_cast<double>(actors());
  }
  if (frames >= WARM_UP + MEASURED) plat_post_quit_message(0);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  if (chdir(argc > 1 ? argv[1] : "/data") != 0) {
    std::fprintf(stderr, "web_frame_load: no data folder\n");
    return 2;
  }
  char reason[256];
  if (!plat_startup(reason, static_cast<int>(sizeof reason))) return 1;
  headless_reset();
  headless_set_tick_step_us(1);
  headless_set_frame_cap(1);
  // Space twice: the title, then the controls.
  for (int pass : {2, 6}) {
    headless_script_key(pass, DIK_SPACE, 1);
    headless_script_key(pass + 2, DIK_SPACE, 0);
  }
  game_fixed_seed = 7;
  const GAME_CALLS_TYP calls = {game_init, load_frame, game_shutdown};
  const int code = app_run(&calls);
  plat_shutdown();
  if (work.size() < MEASURED / 2) return 1;
  std::sort(work.begin(), work.end());
  std::printf("frames %zu actors %.1f median_us %.1f p90_us %.1f\n", work.size(),
              actor_frames / static_cast<double>(work.size()), work[work.size() / 2],
              work[work.size() * 9 / 10]);
  return code;
}
