#include "sim/options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "sim/key_names.h"

namespace {

// A whole decimal number in [0, max]; anything else (signs, junk, overflow) is refused. The
// value's own type holds max (a long has only 32 bits in the browser's build).
template <typename NUMBER>
int read_number(const std::string& text, long long max, NUMBER* value) {
  if (text.empty() || text.size() > 18) return 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
  }
  errno = 0;
  const long long parsed = std::strtoll(text.c_str(), nullptr, 10);
  if (errno != 0 || parsed > max) return 0;
  *value = static_cast<NUMBER>(parsed);
  return 1;
}

constexpr long max_pass = 1000000000L;

// PASS:KEYNAME:down|up
int read_key(const std::string& text, SIM_KEY_TYP* key, std::string* error) {
  const size_t first = text.find(':');
  const size_t second = first == std::string::npos ? first : text.find(':', first + 1);
  if (second == std::string::npos) {
    *error = "--key wants PASS:KEYNAME:down|up, not \"" + text + "\"";
    return 0;
  }
  long pass = 0;
  if (!read_number(text.substr(0, first), max_pass, &pass)) {
    *error = "--key: \"" + text.substr(0, first) + "\" is not a pass number";
    return 0;
  }
  const std::string name = text.substr(first + 1, second - first - 1);
  const int dik = sim_key_by_name(name.c_str());
  if (dik == 0) {
    *error = "--key: unknown key \"" + name + "\"";
    return 0;
  }
  const std::string state = text.substr(second + 1);
  if (state != "down" && state != "up") {
    *error = "--key: \"" + state + "\" is neither down nor up";
    return 0;
  }
  *key = SIM_KEY_TYP{static_cast<int>(pass), dik, state == "down" ? 1 : 0};
  return 1;
}

// PASS:path.png (the path may itself hold colons)
int read_capture(const std::string& text, SIM_CAPTURE_TYP* capture, std::string* error) {
  const size_t colon = text.find(':');
  long pass = 0;
  if (colon == std::string::npos || colon + 1 == text.size() ||
      !read_number(text.substr(0, colon), max_pass, &pass)) {
    *error = "--capture wants PASS:path.png, not \"" + text + "\"";
    return 0;
  }
  capture->pass = static_cast<int>(pass);
  capture->path = text.substr(colon + 1);
  return 1;
}

}  // namespace

const char* sim_usage() {
  return "usage: ashfallow-sim [--frames N] [--until title|controls|play|game-over]\n"
         "                     [--key PASS:KEYNAME:down|up]... [--keys FILE]...\n"
         "                     [--capture PASS:path.png]... [--seed N] [--data DIR] [--trace]\n"
         "                     [--undying] [--record FILE] [--replay FILE]\n"
         "Runs the game on the headless backend, reading the data files from DIR (default: the\n"
         "current directory). Passes count loop passes from 0. The run ends after N frames, at\n"
         "the first frame that shows the --until screen, or when the game ends by itself (script\n"
         "Escape down and then up: while it is held the quit waits).\n"
         "A key script holds one event a line, \"PASS KEYNAME down|up\"; '#' starts a comment.\n"
         "Keys: a-z, 0-9, f1-f12, space, escape, return, tab, backspace, left, right, up, down,\n"
         "lshift, rshift, lctrl, rctrl, lalt, ralt, home, end, pageup, pagedown, insert, delete.\n"
         "--capture writes the frame shown in that pass as PNG; --trace prints one JSON object\n"
         "per frame (pass, state, score, health, x, y, charge, drain, skeletons, summons, dead,\n"
         "lasers, work_us); --seed fixes the random seed (default 1), so a seed and a key script\n"
         "replay one game exactly. Game time: every frame lasts 30 ms of virtual time plus a\n"
         "microsecond per clock read. --undying puts the player's health back to 100 before\n"
         "every frame (not the game's rules: for long runs that load the game).\n"
         "--record writes the run as a demo (every keyboard and clock reading the game made);\n"
         "--replay plays a demo, recorded here or by \"ashfallow --record\", frame for frame on\n"
         "its recorded readings, seed and keys (no --seed, --key, --keys or --undying then); it\n"
         "ends with the demo, and stops where the game parts from its recording.\n"
         "--mix-wav writes the run's sound (the effects and the music as the headless mix plays\n"
         "them, each frame's sounds starting where the frame did on the game's clock, a replay's\n"
         "recorded one) as 16-bit stereo WAV at 44100 Hz, from the first frame on.\n"
         "Exit code: the game's (1 when a capture, the trace, the mix or the demo could not be\n"
         "written, 2 for bad options, a bad key script or a demo refused, 3 when the replay\n"
         "parted from its demo, 141 when the reader of the trace went away).\n";
}

int sim_parse_options(int argc, char** argv, SIM_OPTIONS_TYP* options, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--trace") {
      options->trace = 1;
      continue;
    }
    if (option == "--undying") {
      options->undying = 1;
      continue;
    }
    if (option == "--help" || option == "-h") {
      options->help = 1;
      continue;
    }
    const bool takes_value = option == "--frames" || option == "--key" || option == "--capture" ||
                             option == "--seed" || option == "--keys" || option == "--until" ||
                             option == "--data" || option == "--replay" || option == "--record" ||
                             option == "--mix-wav";
    if (!takes_value) {
      *error = "unknown option \"" + option + "\"";
      return 0;
    }
    if (i + 1 >= argc) {
      *error = option + " needs a value";
      return 0;
    }
    const std::string value = argv[++i];
    if (option == "--frames") {
      if (!read_number(value, max_pass, &options->frames)) {
        *error = "--frames: \"" + value + "\" is not a frame count";
        return 0;
      }
    } else if (option == "--seed") {
      long long seed = 0;
      if (!read_number(value, 4294967295LL, &seed)) {
        *error = "--seed: \"" + value + "\" is not a seed (0 to 4294967295)";
        return 0;
      }
      options->seed = static_cast<unsigned>(seed);
      options->seed_given = 1;
    } else if (option == "--replay") {
      options->replay = value;
    } else if (option == "--record") {
      options->record = value;
    } else if (option == "--mix-wav") {
      options->mix_wav = value;
    } else if (option == "--keys") {
      if (!sim_read_key_script(value, &options->keys, error)) return 0;
    } else if (option == "--until") {
      static const char* const states[] = {"title", "controls", "play", "game-over"};
      options->until = -1;
      for (int s = 0; s < 4; ++s) {
        if (value == states[s]) options->until = s;
      }
      if (options->until < 0) {
        *error = "--until: \"" + value + "\" is not a screen (title, controls, play, game-over)";
        return 0;
      }
    } else if (option == "--data") {
      options->data_dir = value;
    } else if (option == "--key") {
      SIM_KEY_TYP key;
      if (!read_key(value, &key, error)) return 0;
      options->keys.push_back(key);
    } else {
      SIM_CAPTURE_TYP capture;
      if (!read_capture(value, &capture, error)) return 0;
      options->captures.push_back(capture);
    }
  }
  // A demo holds its own seed and keys: anything else that would steer the game is refused.
  if (!options->replay.empty()) {
    const char* clash = !options->keys.empty() ? "--key/--keys"
                        : options->seed_given  ? "--seed"
                        : options->undying     ? "--undying"
                        : !options->record.empty() ? "--record"
                                                   : nullptr;
    if (clash) {
      *error = std::string("--replay plays the demo's own game: it takes no ") + clash;
      return 0;
    }
  }
  return 1;
}
