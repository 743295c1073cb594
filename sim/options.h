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
  long frames = -1;  // -1: until the game ends by itself
  std::vector<SIM_KEY_TYP> keys;
  std::vector<SIM_CAPTURE_TYP> captures;
  unsigned seed = 1;
  int trace = 0;
  int help = 0;
};

// Reads the options after the program name. 1, or 0 with a one-line reason in *error.
int sim_parse_options(int argc, char** argv, SIM_OPTIONS_TYP* options, std::string* error);

// The usage text.
const char* sim_usage();
