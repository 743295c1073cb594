// Finding the data folder: the installed folder beside the executable under any prefix, the
// order in which folders are tried, and what a player is told when none holds every file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/data_files.h"
#include "app/data_find.h"

namespace fs = std::filesystem;

namespace {

TEST(DataFind, InstalledFolderIsShareBesideTheExecutablesFolder) {
  struct CASE {
    const char* exe;
    const char* installed;
  };
  const CASE cases[] = {
      {"/usr/bin/ashfallow", "/usr/share/ashfallow"},
      {"/usr/games/ashfallow", "/usr/share/ashfallow"},
      {"/tmp/root/usr/bin/ashfallow", "/tmp/root/usr/share/ashfallow"},
      {"/opt/ashfallow/bin/ashfallow", "/opt/ashfallow/share/ashfallow"},
      {"/usr/bin/ashfallow (deleted)", "/usr/share/ashfallow"},  // replaced while running
      {"/ashfallow", "/share/ashfallow"},
      {"bin/ashfallow", "share/ashfallow"},
      {"./ashfallow", "../share/ashfallow"},
      {"ashfallow", ""},
      {"", ""},
  };
  for (const CASE& c : cases) EXPECT_EQ(data_installed_folder(c.exe), c.installed) << c.exe;
}

// A folder of its own for each test, removed at the end; the working folder is put back.
class DataFolders : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("ashfallow-data-find-" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root);
    start = fs::current_path();
  }
  void TearDown() override {
    fs::current_path(start);
    fs::remove_all(root);
  }

  // A folder holding the first `count` data files (all of them when count is -1).
  std::string folder(const std::string& name, int count) {
    const fs::path dir = root / name;
    fs::create_directories(dir);
    if (count < 0) count = DATA_FILE_COUNT;
    for (int i = 0; i < count; ++i) std::ofstream(dir / DATA_FILES[i]) << "x";
    return dir.string();
  }

  fs::path root, start;
};

TEST_F(DataFolders, CountsOnlyReadableRegularFiles) {
  const std::string dir = folder("some", 3);
  EXPECT_EQ(data_files_in(dir), 3);
  // A folder by a data file's name is no data file.
  fs::create_directory(fs::path(dir) / DATA_FILES[3]);
  EXPECT_EQ(data_files_in(dir), 3);
  EXPECT_EQ(data_files_in(folder("all", -1)), DATA_FILE_COUNT);
  EXPECT_EQ(data_files_in((root / "absent").string()), 0);
  if (geteuid() != 0) {  // root reads every file whatever its mode
    chmod((fs::path(dir) / DATA_FILES[0]).c_str(), 0);
    EXPECT_EQ(data_files_in(dir), 2);
  }
}

TEST_F(DataFolders, ChoosesTheFirstCompleteFolderElseTheFullestAndSaysWhy) {
  struct CASE {
    const char* what;
    int working;    // data files in the working folder (-1: all)
    int installed;  // ... in the installed folder
    int chosen;     // 0 working, 1 installed
    int complete;
  };
  const int all = -1, some = DATA_FILE_COUNT / 2;
  const CASE cases[] = {
      {"both complete: the working folder wins", all, all, 0, 1},
      {"a build's data folder", all, 0, 0, 1},
      {"an install", 0, all, 1, 1},
      {"a partial copy here, a complete install", some, all, 1, 1},
      {"a damaged install beats an empty folder", 0, some, 1, 0},
      {"a tie stays in the working folder", some, some, 0, 0},
      {"nothing anywhere: as without an install", 0, 0, 0, 0},
  };
  int n = 0;
  for (const CASE& c : cases) {
    const std::string tag = std::to_string(n++);
    const std::vector<std::string> candidates = {folder("here" + tag, c.working),
                                                 folder("share" + tag, c.installed)};
    std::string chosen, line = "stale";
    EXPECT_EQ(data_choose_folder(candidates, &chosen, &line), c.complete) << c.what;
    EXPECT_EQ(chosen, candidates[c.chosen]) << c.what;
    if (c.complete) {
      EXPECT_EQ(line, "") << c.what;
    } else {
      // One line, naming both folders in the order tried and the one the game goes on in.
      EXPECT_EQ(line.find('\n'), std::string::npos) << line;
      const size_t first = line.find("\"" + candidates[0] + "\""),
                   second = line.find("\"" + candidates[1] + "\"");
      EXPECT_NE(first, std::string::npos) << line;
      EXPECT_NE(second, std::string::npos) << line;
      EXPECT_LT(first, second) << line;
      EXPECT_NE(line.find("going on in \"" + candidates[c.chosen] + "\""), std::string::npos) << line;
    }
  }
}

TEST_F(DataFolders, OneFolderUnderTwoNamesIsTriedOnce) {
  const std::string here = folder("here", 1);
  std::string chosen, line;
  EXPECT_EQ(data_choose_folder({here, here + "/.", (root / "absent").string()}, &chosen, &line), 0);
  EXPECT_EQ(chosen, here);
  EXPECT_EQ(line.find(here + "/."), std::string::npos) << line;
  EXPECT_NE(line.find((root / "absent").string()), std::string::npos) << line;
  EXPECT_EQ(data_choose_folder({}, &chosen, &line), 0);
  EXPECT_EQ(chosen, ".");
}

TEST_F(DataFolders, TheDataOptionIsEnteredOrRefused) {
  const std::string dir = folder("given", 2);  // incomplete: the choice is the player's
  EXPECT_EQ(data_enter_folder(dir.c_str()), 1);
  EXPECT_TRUE(fs::equivalent(fs::current_path(), dir));
  testing::internal::CaptureStderr();
  EXPECT_EQ(data_enter_folder((root / "absent").c_str()), 0);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("cannot read data from \"" + (root / "absent").string() + "\""), std::string::npos)
      << said;
  EXPECT_TRUE(fs::equivalent(fs::current_path(), dir));
}

TEST_F(DataFolders, WithoutTheOptionAWorkingFolderWithTheFilesIsKept) {
  const std::string here = folder("here", -1);
  fs::current_path(here);
  testing::internal::CaptureStderr();
  EXPECT_EQ(data_enter_folder(nullptr), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(fs::equivalent(fs::current_path(), here));
}

// This test program is no installed game: nothing lies in share/ashfallow beside its folder,
// so the line names the working folder and that one, and the game stays where it was started.
TEST_F(DataFolders, WithoutTheOptionOrAnyDataTheLineNamesBothFolders) {
  const std::string here = folder("empty", 0);
  fs::current_path(here);
  const std::string installed = data_installed_folder(fs::read_symlink("/proc/self/exe").string());
  ASSERT_FALSE(fs::exists(installed)) << installed;
  testing::internal::CaptureStderr();
  EXPECT_EQ(data_enter_folder(nullptr), 1);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said, "ashfallow: the data files are in none of \"" + fs::current_path().string() + "\", \"" +
                      installed + "\"; going on in \"" + fs::current_path().string() + "\" with 0 of " +
                      std::to_string(DATA_FILE_COUNT) + " there\n");
  EXPECT_TRUE(fs::equivalent(fs::current_path(), here));
}

}  // namespace
