// ashfallow-sim's command line.
#pragma once
#include <string>
#include <vector>

struct SIM_KEY_TYP {
  int pass;
  int dik;
  int down;
};

struct SIM_CAPTURE_TYP {
  int pass;
  std::string path;
};

struct SIM_OPTIONS_TYP {
  long frames = -1;  // -1: until the game ends by itself (or --until)
  int until = -1;    // a screen (0-3) whose first frame ends the run; -1: none
  std::vector<SIM_KEY_TYP> keys;
  std::vector<SIM_CAPTURE_TYP> captures;
  std::string data_dir;  // empty: the current directory
  unsigned seed = 1;
  int seed_given = 0;
  std::string replay;  // a demo to play instead of the seed, the key script and the clock
  std::string record;  // a demo to write of this run
  std::string mix_wav;  // the run's mix to write as WAV, empty: none
  int trace = 0;
  int undying = 0;  // the player's health is put back to 100 before every frame
  int help = 0;
};

// Reads the options after the program name; key scripts named by --keys are read too. 1, or 0
// with a one-line reason in *error (for a script: "file:line: reason").
int sim_parse_options(int argc, char** argv, SIM_OPTIONS_TYP* options, std::string* error);

// Reads a key script: one event a line, "PASS KEYNAME down|up"; '#' starts a comment; blank
// lines are skipped. 1, or 0 with "file:line: reason" in *error.
int sim_read_key_script(const std::string& path, std::vector<SIM_KEY_TYP>* keys,
                        std::string* error);

// The usage text.
const char* sim_usage();
