// ashfallow-sim: the game's own entry logic and frames on the headless backend, driven by a key
// script, with a virtual clock, PNG captures of chosen passes and a per-frame trace.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/data_sum.h"
#include "app/entry.h"
#include "app/game_shell.h"
#include "game/world.h"
#include "platform/checked_write.h"
#include "platform/demo.h"
#include "platform/headless/headless.h"
#include "sim/mix_wav.h"
#include "sim/options.h"
#include "sim/trace.h"

namespace {

SIM_OPTIONS_TYP options;
long frames_run = 0;
int quit_posted = 0;
int capture_failures = 0;
int trace_failed = 0;
const char* trace_reason = "write failed";
std::vector<int> captures_done;
SIM_MIX_WAV_TYP mix_wav;

// Where the frame about to run starts on the game's clock: a replay's is in its demo (reading
// the clock here would be a read the recording does not hold).
uint32_t frame_start_ms() {
  if (options.replay.empty()) return headless_ticks();
  return plat_demo_frame_clock(frames_run);
}

void capture_pass(int pass, int presents_before) {
  for (size_t i = 0; i < options.captures.size(); ++i) {
    const SIM_CAPTURE_TYP& capture = options.captures[i];
    if (capture.pass != pass) continue;
    captures_done[i] = 1;
    if (headless_presents() == presents_before) {
      std::fprintf(stderr, "ashfallow-sim: no frame was presented in pass %d\n", pass);
      ++capture_failures;
    } else if (errno = 0, !headless_write_frame_png(-1, capture.path.c_str())) {
      std::fprintf(stderr, "ashfallow-sim: cannot write %s: %s\n", capture.path.c_str(),
                   errno ? std::strerror(errno) : "write failed");
      ++capture_failures;
    }
  }
}

// A relative path names a file in the folder the simulator was started in, so it is made
// absolute before the data folder becomes the working directory. 1, or 0 with the reason.
int make_absolute(const char* option, std::string* file, std::string* error) {
  if (file->empty()) return 1;
  std::error_code failed;
  const std::filesystem::path path = std::filesystem::absolute(*file, failed);
  if (failed) {
    *error = std::string(option) + ": cannot place \"" + *file + "\": " + failed.message();
    return 0;
  }
  *file = path.string();
  return 1;
}

int absolute_paths(std::string* error) {
  for (SIM_CAPTURE_TYP& capture : options.captures)
    if (!make_absolute("--capture", &capture.path, error)) return 0;
  return make_absolute("--replay", &options.replay, error) &&
         make_absolute("--record", &options.record, error) &&
         make_absolute("--mix-wav", &options.mix_wav, error);
}

// The demo named by --replay, loaded and checked against the data here: its seed then starts
// the game. 1, or 0 with the line said.
int start_replay(const std::string& shown) {
  DEMO_HEADER_TYP header = {};
  int unfinished = 0;
  char reason[512];
  if (!plat_demo_replay_start(options.replay.c_str(), &header, &unfinished, reason,
                              static_cast<int>(sizeof reason))) {
    std::fprintf(stderr, "ashfallow-sim: %s\n", reason);
    return 0;
  }
  const uint32_t here = data_files_checksum();
  if (header.data_sum != here) {
    std::fprintf(stderr,
                 "ashfallow-sim: %s: was recorded with other data files (data %08x, here %08x)\n",
                 shown.c_str(), header.data_sum, here);
    plat_demo_replay_finish(0, nullptr, 0);
    return 0;
  }
  if (unfinished)
    std::fprintf(stderr,
                 "ashfallow-sim: %s: has no end record (its game stopped without closing it); "
                 "replaying the %ld frames it holds\n",
                 shown.c_str(), plat_demo_frames());
  game_fixed_seed = header.seed;
  return 1;
}

void end_run() {
  if (!quit_posted) plat_post_quit_message(0);
  quit_posted = 1;
}

// The game's frame, watched: the loop and the frame are the game's own; the simulator only
// looks at what a pass presented and ends the run when asked to.
int sim_frame() {
  if (quit_posted || (options.frames >= 0 && frames_run >= options.frames)) {
    // Messages still queued are handled before the quit; their passes run no game frame.
    end_run();
    return 1;
  }
  // A replay ends with its demo, or where the game parted from it.
  if (!plat_demo_frame()) {
    end_run();
    return 1;
  }
  const int pass = headless_pass() - 1;
  const int presents_before = headless_presents();
  if (options.undying && !skeleton_list.empty()) skeleton_list[0].health = 100;
  if (!options.mix_wav.empty()) sim_mix_wav_until(&mix_wav, frame_start_ms());
  const int result = game_main();
  ++frames_run;
  if (options.trace && !trace_failed) {
    errno = 0;
    sim_trace_frame(stdout, pass);
    // A trace nobody can read is no replay: the run stops at the first failed write.
    if (std::ferror(stdout)) {
      trace_failed = 1;
      if (errno) trace_reason = std::strerror(errno);
      end_run();
    }
  }
  capture_pass(pass, presents_before);
  if ((options.frames >= 0 && frames_run >= options.frames) ||
      (options.until >= 0 && game_state == options.until)) {
    end_run();
  }
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  if (!sim_parse_options(argc, argv, &options, &error)) {
    std::fprintf(stderr, "ashfallow-sim: %s\n%s", error.c_str(), sim_usage());
    return 2;
  }
  if (options.help) {
    std::fputs(sim_usage(), stdout);
    return 0;
  }
  const std::string replay_shown = options.replay;
  if (!absolute_paths(&error)) {
    std::fprintf(stderr, "ashfallow-sim: %s\n%s", error.c_str(), sim_usage());
    return 2;
  }
  if (!options.data_dir.empty() && chdir(options.data_dir.c_str()) != 0) {
    std::fprintf(stderr, "ashfallow-sim: cannot read data from \"%s\": %s\n",
                 options.data_dir.c_str(), std::strerror(errno));
    return 2;
  }
  char reason[256];
  if (!plat_startup(reason, static_cast<int>(sizeof reason))) {
    std::fprintf(stderr, "ashfallow-sim: %s\n", reason);
    return 1;
  }
  headless_reset();
  // A machine whose clock reads cost a microsecond: a frame lasts its 30 ms and a little more,
  // however often the game reads the clock.
  headless_set_tick_step_us(1);
  // Only the latest frame is ever written out; keep no more.
  headless_set_frame_cap(1);
  for (const SIM_KEY_TYP& key : options.keys) headless_script_key(key.pass, key.dik, key.down);
  captures_done.assign(options.captures.size(), 0);
  game_fixed_seed = options.seed;
  if (!options.replay.empty() && !start_replay(replay_shown)) {
    plat_shutdown();
    return 2;
  }
  if (!options.mix_wav.empty() && !sim_mix_wav_open(&mix_wav, options.mix_wav)) {
    std::fprintf(stderr, "ashfallow-sim: %s\n", mix_wav.failure.c_str());
    sim_mix_wav_close(&mix_wav);
    if (!options.replay.empty()) plat_demo_replay_finish(0, nullptr, 0);
    plat_shutdown();
    return 1;
  }
  if (!options.record.empty()) {
    const DEMO_HEADER_TYP header = {options.seed, data_files_checksum()};
    char demo_reason[512];
    if (!plat_demo_record_start(options.record.c_str(), &header, demo_reason, static_cast<int>(sizeof demo_reason))) {
      std::fprintf(stderr, "ashfallow-sim: %s\n", demo_reason);
      plat_shutdown();
      return 2;
    }
  }

  const GAME_CALLS_TYP calls = {game_init, sim_frame, game_shutdown};
  if (app_start(&calls)) {
    while (app_pass()) {
    }
  }
  // The last frame's own span and a second for its sounds to ring out, while the sound and
  // the music are still there.
  int mix_failed = 0;
  if (!options.mix_wav.empty()) {
    sim_mix_wav_extra(&mix_wav, 1030);
    if (!sim_mix_wav_close(&mix_wav)) {
      std::fprintf(stderr, "ashfallow-sim: %s\n", mix_wav.failure.c_str());
      mix_failed = 1;
    }
  }
  // The demo ends with the frames, before shut-down makes reads of its own.
  char demo_reason[512];
  int demo_failed = 0, diverged = 0;
  if (!options.record.empty() && !plat_demo_record_finish(demo_reason, static_cast<int>(sizeof demo_reason))) {
    std::fprintf(stderr, "ashfallow-sim: %s\n", demo_reason);
    demo_failed = 1;
  }
  const int whole = options.frames < 0 && options.until < 0;
  if (!options.replay.empty() && !plat_demo_replay_finish(whole, demo_reason, static_cast<int>(sizeof demo_reason))) {
    std::fprintf(stderr, "ashfallow-sim: %s: the replay diverged %s\n", replay_shown.c_str(), demo_reason);
    diverged = 1;
  }
  int exit_code = app_finish();
  plat_shutdown();

  for (size_t i = 0; i < options.captures.size(); ++i) {
    if (!captures_done[i]) {
      std::fprintf(stderr, "ashfallow-sim: the run ended before pass %d (no capture)\n",
                   options.captures[i].pass);
      ++capture_failures;
    }
  }
  // The trace is buffered: a full disk shows only when it is flushed. A closed pipe ends the
  // run by its signal before this, quietly, with the shell's 141, as command-line tools do.
  if (options.trace && !trace_failed && !plat_flush_checked(stdout, &trace_reason)) {
    trace_failed = 1;
  }
  if (trace_failed) std::fprintf(stderr, "ashfallow-sim: cannot write the trace: %s\n", trace_reason);
  if ((capture_failures || demo_failed || trace_failed || mix_failed) && exit_code == 0) exit_code = 1;
  if (diverged) exit_code = 3;
  return exit_code;
}
