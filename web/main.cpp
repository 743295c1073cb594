// The game in a browser page. The page owns the loop: each callback runs one pass of the
// game's own entry logic (at most one message and one frame), and the next callback comes
// once the frame clock's 30 ms are up, so the game runs at the native pace without ever
// blocking the page. The data files are fetched into the page's file system first.
#include <emscripten.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/data_files.h"
#include "app/data_sum.h"
#include "app/entry.h"
#include "app/game_shell.h"
#include "game/world.h"
#include "platform/demo.h"
#include "platform/web/web.h"
#include "sim/trace.h"

namespace {

// What the page's address asked for (?seed=N&undying&trace&record): a fixed seed, the player's
// health put back before every frame (for loading the game with actors), a trace per frame,
// and a demo of the game (every key and clock reading) that whoever watches the page can ask
// for, so the same game can be replayed natively.
struct PAGE_OPTIONS_TYP {
  long seed;
  int undying;
  int trace;
  int record;
};

PAGE_OPTIONS_TYP options = {-1, 0, 0, 0};
int recording = 0;
constexpr const char* DEMO_PATH = "/page.demo";
int pass = -1;       // the loop pass now running, from 0 as the simulator counts them
bool scheduled = false;

// The frame's figures for the page: its pass, its own work, the actors it drew, and the
// simulator's trace line when asked for.
void report_frame() {
  char line[512] = "";
  if (options.trace) {
    if (std::FILE* out = fmemopen(line, sizeof line - 1, "w")) {
      sim_trace_frame(out, pass);
      std::fclose(out);
    }
  }
  const size_t actors = skeleton_list.size() + summon_list.size() + dead_list.size();
  EM_ASM({ Module['onFrame']($0, $1, $2, UTF8ToString($3)); }, pass,
         static_cast<double>(frame_work_us), static_cast<int>(actors), line);
}

int page_frame() {
  if (recording) plat_demo_frame();
  if (options.undying && !skeleton_list.empty()) skeleton_list[0].health = 100;
  const int result = game_main();
  report_frame();
  return result;
}

const GAME_CALLS_TYP calls = {game_init, page_frame, game_shutdown};

void run_pass(void*);

void schedule(uint32_t ms) {
  if (scheduled) return;
  scheduled = true;
  emscripten_async_call(run_pass, nullptr, static_cast<int>(ms));
}

void end_game(const char* line) {
  app_finish();
  plat_shutdown();
  web_show_line(line);
  EM_ASM({ Module['ended'] = true; });
}

void run_pass(void*) {
  scheduled = false;
  if (web_page_hidden()) return;  // the loop rests until the page is shown again
  if (const uint32_t wait = web_ms_until_next_pass()) {
    schedule(wait);
    return;
  }
  ++pass;
  if (!app_pass()) {
    end_game("Ashfallow has ended - reload to play again");
    return;
  }
  schedule(web_ms_until_next_pass());
}

void page_shown() { schedule(0); }

}  // namespace

// Called by the page once the data files it could fetch are in /data.
extern "C" EMSCRIPTEN_KEEPALIVE void page_start() {
  if (chdir("/data") != 0) std::fprintf(stderr, "ashfallow: the page has no data folder\n");
  char reason[256];
  if (!plat_startup(reason, static_cast<int>(sizeof reason))) {
    std::fprintf(stderr, "ashfallow: %s\n", reason);
    web_show_line("Ashfallow cannot start here - see the browser's console");
    return;
  }
  game_fixed_seed = options.seed;
  if (options.record) {
    // The demo keeps the seed the game plays with: one is chosen when the page was given none.
    if (game_fixed_seed < 0) game_fixed_seed = EM_ASM_INT({ return Date.now() % 2147483647; });
    const DEMO_HEADER_TYP header = {static_cast<uint32_t>(game_fixed_seed), data_files_checksum()};
    char why[512];
    recording = plat_demo_record_start(DEMO_PATH, &header, why, static_cast<int>(sizeof why));
    if (!recording) std::fprintf(stderr, "ashfallow: no demo: %s\n", why);
  }
  if (!app_start(&calls)) {
    end_game("Ashfallow could not start - see the browser's console");
    return;
  }
  web_show_line("");
  web_on_page_shown(page_shown);
  schedule(0);
}

// Ends the page's demo (the game plays on unrecorded) and leaves it in the page's files for the
// page to hand out. 1, or 0 when there is none or a write failed (said on the console).
extern "C" EMSCRIPTEN_KEEPALIVE int page_demo_finish() {
  if (!recording) return 0;
  recording = 0;
  char why[512];
  if (!plat_demo_record_finish(why, static_cast<int>(sizeof why))) {
    std::fprintf(stderr, "ashfallow: the demo is lost: %s\n", why);
    return 0;
  }
  return 1;
}

int main() {
  options.seed = EM_ASM_INT({ return Module['pageOptions']['seed']; });
  options.undying = EM_ASM_INT({ return Module['pageOptions']['undying'] ? 1 : 0; });
  options.trace = EM_ASM_INT({ return Module['pageOptions']['trace'] ? 1 : 0; });
  options.record = EM_ASM_INT({ return Module['pageOptions']['record'] ? 1 : 0; });
  // The game's own list of its files, so the page fetches exactly what the game reads.
  std::string names;
  for (int i = 0; i < DATA_FILE_COUNT; ++i) names += std::string(i ? "\n" : "") + DATA_FILES[i];
  EM_ASM({ Module['fetchData'](UTF8ToString($0).split('\n')); }, names.c_str());
  return 0;
}
