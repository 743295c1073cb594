// assetgen writes the same bytes on every run, and what the build put in the data folder is what
// it writes now.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/assets/asset_files.h"

namespace {

std::string fresh_dir(const char* name) {
  std::filesystem::path dir = std::filesystem::temp_directory_path() /
                              ("ashfallow-assets-" + std::to_string(getpid()) + "-" + name);
  std::filesystem::remove_all(dir);
  return dir.string();
}

TEST(Repeat, TwoRunsWriteIdenticalFiles) {
  std::string first = fresh_dir("a"), second = fresh_dir("b");
  std::string tool = ASHFALLOW_ASSETGEN;
  ASSERT_EQ(std::system((tool + " " + first + " > /dev/null").c_str()), 0);
  ASSERT_EQ(std::system((tool + " " + second + " > /dev/null").c_str()), 0);
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(first)) {
    std::string name = entry.path().filename().string();
    ++files;
    std::vector<uint8_t> a = read_bytes(entry.path().string()), b = read_bytes(second + "/" + name);
    EXPECT_FALSE(a.empty()) << name;
    EXPECT_EQ(a, b) << name << " differs between two runs";
    EXPECT_EQ(a, read_bytes(data_path(name))) << name << " in the data folder is out of date";
  }
  EXPECT_EQ(files, static_cast<int>(DATA_FILES.size()));
  std::filesystem::remove_all(first);
  std::filesystem::remove_all(second);
}

}  // namespace
