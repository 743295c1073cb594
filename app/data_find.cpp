#include "app/data_find.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/data_files.h"

namespace fs = std::filesystem;

namespace {

// Two names of one folder (the working folder may be the installed one) are tried once.
bool same_folder(const std::string& a, const std::string& b) {
  std::error_code error;
  if (fs::equivalent(a, b, error)) return true;
  return fs::path(a).lexically_normal() == fs::path(b).lexically_normal();
}

}  // namespace

std::string data_installed_folder(const std::string& exe_path) {
  const fs::path folder = fs::path(exe_path).parent_path();
  if (folder.empty()) return std::string();
  return (folder / ".." / "share" / "ashfallow").lexically_normal().string();
}

int data_files_in(const std::string& folder) {
  int present = 0;
  for (int i = 0; i < DATA_FILE_COUNT; ++i) {
    const fs::path file = fs::path(folder) / DATA_FILES[i];
    std::error_code error;
    if (fs::is_regular_file(file, error) && access(file.c_str(), R_OK) == 0) ++present;
  }
  return present;
}

int data_choose_folder(const std::vector<std::string>& candidates, std::string* chosen, std::string* line) {
  std::vector<std::string> tried;
  int best_count = -1;
  for (const std::string& folder : candidates) {
    bool seen = false;
    for (const std::string& earlier : tried) seen = seen || same_folder(folder, earlier);
    if (seen) continue;
    tried.push_back(folder);
    const int present = data_files_in(folder);
    if (present == DATA_FILE_COUNT) {
      *chosen = folder;
      line->clear();
      return 1;
    }
    // A damaged install still beats a folder with nothing in it.
    if (present > best_count) {
      best_count = present;
      *chosen = folder;
    }
  }
  if (tried.empty()) {
    *chosen = ".";
    *line = "no folder was named to look for the data files in";
    return 0;
  }
  std::string names;
  for (const std::string& folder : tried) names += (names.empty() ? "\"" : ", \"") + folder + "\"";
  *line = "the data files are in none of " + names + "; going on in \"" + *chosen + "\" with " +
          std::to_string(best_count) + " of " + std::to_string(DATA_FILE_COUNT) + " there";
  return 0;
}

int data_enter_folder(const char* option_dir) {
  if (option_dir) {
    if (chdir(option_dir) == 0) return 1;
    std::fprintf(stderr, "ashfallow: cannot read data from \"%s\": %s\n", option_dir, std::strerror(errno));
    return 0;
  }
  std::vector<std::string> candidates;
  std::error_code error;
  const fs::path here = fs::current_path(error);
  candidates.push_back(error ? std::string(".") : here.string());
  // The kernel's own record of the running file, symbolic links resolved, wherever it was
  // started from and whatever argv[0] says.
  const fs::path exe = fs::read_symlink("/proc/self/exe", error);
  if (!error) {
    const std::string installed = data_installed_folder(exe.string());
    if (!installed.empty()) candidates.push_back(installed);
  }
  std::string chosen, line;
  if (!data_choose_folder(candidates, &chosen, &line)) std::fprintf(stderr, "ashfallow: %s\n", line.c_str());
  if (chosen != candidates.front() && chdir(chosen.c_str()) != 0)
    std::fprintf(stderr, "ashfallow: cannot enter the data folder \"%s\": %s\n", chosen.c_str(),
                 std::strerror(errno));
  return 1;
}
