// Key scripts: a replay's keys, one event a line.
#include <cstdio>
#include <cstring>
#include <sstream>

#include "platform/file_open.h"
#include "sim/key_names.h"
#include "sim/options.h"

int sim_read_key_script(const std::string& path, std::vector<SIM_KEY_TYP>* keys,
                        std::string* error) {
  // A pipe or a directory named as a script is refused at once: a pipe would keep the run
  // waiting for a writer, and a directory holds no keys.
  const char* reason = nullptr;
  FILE* fp = plat_open_regular_file_why(path.c_str(), "r", &reason);
  if (!fp) {
    *error = std::strcmp(reason, "not a regular file") == 0
                 ? path + ": " + reason
                 : path + ": cannot be read (" + reason + ")";
    return 0;
  }
  std::string text;
  char chunk[4096];
  for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, fp)) > 0;) text.append(chunk, got);
  const bool failed = std::ferror(fp) != 0;
  std::fclose(fp);
  if (failed) {
    *error = path + ": cannot be read";
    return 0;
  }
  std::istringstream file(text);
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string pass_text, name, state, extra;
    if (!(words >> pass_text)) continue;  // blank or comment only
    const std::string where = path + ":" + std::to_string(number) + ": ";
    if (!(words >> name >> state)) {
      *error = where + "want \"PASS KEYNAME down|up\"";
      return 0;
    }
    if (words >> extra) {
      *error = where + "unexpected \"" + extra + "\" after the event";
      return 0;
    }
    if (pass_text.empty() || pass_text.size() > 9 ||
        pass_text.find_first_not_of("0123456789") != std::string::npos) {
      *error = where + "\"" + pass_text + "\" is not a pass number";
      return 0;
    }
    const int dik = sim_key_by_name(name.c_str());
    if (dik == 0) {
      *error = where + "unknown key \"" + name + "\"";
      return 0;
    }
    if (state != "down" && state != "up") {
      *error = where + "\"" + state + "\" is neither down nor up";
      return 0;
    }
    keys->push_back(SIM_KEY_TYP{std::stoi(pass_text), dik, state == "down" ? 1 : 0});
  }
  return 1;
}
