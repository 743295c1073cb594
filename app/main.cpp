// The game on the sdl backend. Data files are read from the folder given with --data, else from
// the working folder or the installed one (app/data_find.h).
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>

#include "app/data_find.h"
#include "app/data_sum.h"
#include "app/entry.h"
#include "app/game_shell.h"
#include "platform/demo.h"
#include "platform/display.h"
#include "platform/keys.h"
#include "platform/window.h"
#include "sim/trace.h"

namespace {

const char* const USAGE =
    "usage: ashfallow [--window] [--scale sharp|nearest|integer] [--data DIR]\n"
    "                 [--record FILE | --playback FILE] [--trace FILE] [--help]\n"
    "Plays Ashfallow full screen (Alt+Enter toggles a window).\n"
    "  --window    start in a 640 x 480 window\n"
    "  --scale S   how the picture fills a larger screen or window: sharp (the default:\n"
    "              even pixels at any size, edges softened), nearest, or integer (whole\n"
    "              factors only, with wider borders)\n"
    "  --data DIR  read the data files from DIR (default: the working folder when it\n"
    "              holds them, else the installed ones)\n"
    "  --record FILE    write the game to FILE as a demo (to attach to a report: it replays\n"
    "                   the game exactly, in the window or in ashfallow-sim --replay)\n"
    "  --playback FILE  show the demo in FILE at its own pace (Escape stops it)\n"
    "  --trace FILE     write one JSON line per frame of the game's state to FILE, as\n"
    "                   ashfallow-sim --trace does\n"
    "Keys: arrows move, Space strikes and advances the screens, Left Shift summons,\n"
    "Escape quits.\n"
    "Gamepad (plugged in at any time): d-pad or left stick moves, A strikes and\n"
    "advances the screens, X or the right shoulder summons, Start advances the\n"
    "screens, Back held with Start quits.\n";

struct LIVE_RUN_TYP {
  std::string record, playback, trace;  // absolute paths, empty when not asked for
  std::string playback_shown;           // as given, for messages
  FILE* trace_file = nullptr;
  long frames_run = 0;
  int stopped = 0;  // the player stopped a playback, or it ended
};
LIVE_RUN_TYP live;

// The game's frame with the demo's frame mark before it and the trace line after it.
int live_frame() {
  if (live.stopped) return 1;
  // A playback stops at the viewer's own Escape (the game hears only the recorded keys).
  if ((!live.playback.empty() && plat_demo_live_key(DIK_ESCAPE)) || !plat_demo_frame()) {
    live.stopped = 1;
    plat_post_quit_message(0);
    return 1;
  }
  const int result = game_main();
  if (live.trace_file) sim_trace_frame(live.trace_file, static_cast<int>(live.frames_run));
  ++live.frames_run;
  return result;
}

// The working folder changes to the data folder before start-up: a file named on the command
// line is placed first. 1, or 0 with the line said.
int place(const char* option, std::string* file) {
  if (file->empty()) return 1;
  std::error_code failed;
  const std::filesystem::path path = std::filesystem::absolute(*file, failed);
  if (failed) {
    std::fprintf(stderr, "ashfallow: %s: cannot place \"%s\": %s\n", option, file->c_str(),
                 failed.message().c_str());
    return 0;
  }
  *file = path.string();
  return 1;
}

// Opens the demo to record or play and the trace. 1, or 0 with the line said.
int start_demo() {
  char reason[512];
  if (!live.playback.empty()) {
    DEMO_HEADER_TYP header = {};
    int unfinished = 0;
    if (!plat_demo_replay_start(live.playback.c_str(), &header, &unfinished, reason,
                                static_cast<int>(sizeof reason))) {
      std::fprintf(stderr, "ashfallow: %s\n", reason);
      return 0;
    }
    const uint32_t here = data_files_checksum();
    if (header.data_sum != here) {
      std::fprintf(stderr, "ashfallow: %s: was recorded with other data files (data %08x, here %08x)\n",
                   live.playback_shown.c_str(), header.data_sum, here);
      plat_demo_replay_finish(0, nullptr, 0);
      return 0;
    }
    if (unfinished)
      std::fprintf(stderr, "ashfallow: %s: has no end record (its game stopped without closing it); "
                   "showing the %ld frames it holds\n", live.playback_shown.c_str(), plat_demo_frames());
    plat_demo_replay_paced(1);
    game_fixed_seed = header.seed;
  } else if (!live.record.empty()) {
    // The seed the game would have taken from the clock, chosen here so the demo can keep it.
    const DEMO_HEADER_TYP header = {static_cast<uint32_t>(std::time(nullptr)), data_files_checksum()};
    if (!plat_demo_record_start(live.record.c_str(), &header, reason, static_cast<int>(sizeof reason))) {
      std::fprintf(stderr, "ashfallow: %s\n", reason);
      return 0;
    }
    game_fixed_seed = header.seed;
  }
  if (!live.trace.empty()) {
    live.trace_file = std::fopen(live.trace.c_str(), "w");
    if (!live.trace_file) {
      std::fprintf(stderr, "ashfallow: cannot create the trace %s: %s\n", live.trace.c_str(),
                   std::strerror(errno));
      return 0;
    }
  }
  return 1;
}

// Ends the demo and the trace after the last frame. 0 when something was lost (each said in
// a line), 3 when a playback parted from its demo, else 1.
int finish_demo() {
  char reason[512];
  int result = 1;
  if (!live.record.empty() && !plat_demo_record_finish(reason, static_cast<int>(sizeof reason))) {
    std::fprintf(stderr, "ashfallow: %s\n", reason);
    result = 0;
  }
  if (!live.playback.empty() && !plat_demo_replay_finish(0, reason, static_cast<int>(sizeof reason))) {
    std::fprintf(stderr, "ashfallow: %s: the playback diverged %s\n", live.playback_shown.c_str(), reason);
    result = 3;
  }
  if (live.trace_file) {
    errno = 0;
    const int failed = std::ferror(live.trace_file);
    if ((std::fclose(live.trace_file) != 0 || failed) && result == 1) {
      std::fprintf(stderr, "ashfallow: cannot write the trace %s: %s\n", live.trace.c_str(),
                   errno ? std::strerror(errno) : "write error");
      result = 0;
    }
    live.trace_file = nullptr;
  }
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  plat_display_set_scale(SCALE_SHARP);
  const char* data_option = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
      std::fputs(USAGE, stdout);
      return 0;
    }
    if (!std::strcmp(argv[i], "--window")) {
      plat_display_prefer_window(1);
    } else if (!std::strcmp(argv[i], "--scale") && i + 1 < argc) {
      const int scale = plat_display_scale_named(argv[++i]);
      if (scale < 0) {
        std::fprintf(stderr, "ashfallow: --scale takes sharp, nearest or integer, not \"%s\"\n",
                     argv[i]);
        return 2;
      }
      plat_display_set_scale(scale);
    } else if (!std::strcmp(argv[i], "--data") && i + 1 < argc) {
      data_option = argv[++i];
    } else if (!std::strcmp(argv[i], "--record") && i + 1 < argc) {
      live.record = argv[++i];
    } else if (!std::strcmp(argv[i], "--playback") && i + 1 < argc) {
      live.playback = live.playback_shown = argv[++i];
    } else if (!std::strcmp(argv[i], "--trace") && i + 1 < argc) {
      live.trace = argv[++i];
    } else {
      std::fprintf(stderr, "ashfallow: unknown option \"%s\"\n%s", argv[i], USAGE);
      return 2;
    }
  }
  if (!live.record.empty() && !live.playback.empty()) {
    std::fprintf(stderr, "ashfallow: --record and --playback cannot go together\n%s", USAGE);
    return 2;
  }
  if (!place("--record", &live.record) || !place("--playback", &live.playback) ||
      !place("--trace", &live.trace))
    return 2;
  if (!data_enter_folder(data_option)) return 2;
  char reason[256];
  if (!plat_startup(reason, static_cast<int>(sizeof reason))) {
    std::fprintf(stderr, "ashfallow: %s\n", reason);
    return 1;
  }
  if (!start_demo()) {
    finish_demo();
    plat_shutdown();
    return 2;
  }
  const GAME_CALLS_TYP calls = {game_init, live_frame, game_shutdown};
  if (app_start(&calls)) {
    while (app_pass()) {
    }
  }
  // The demo ends with the last frame, before shut-down makes reads of its own.
  const int demo = finish_demo();
  int exit_code = app_finish();
  plat_shutdown();
  if (demo == 3) return 3;
  if (demo == 0 && exit_code == 0) exit_code = 1;
  return exit_code;
}
