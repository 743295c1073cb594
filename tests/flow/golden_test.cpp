// Golden runs: the simulator replays a key script with a fixed seed, and its per-frame trace (all
// but the real-time work figure) must match the committed one line for line. A deliberate change
// of behaviour shows as a diff; ASHFALLOW_UPDATE_GOLDEN=1 rewrites the expected traces.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/temp_path.h"

namespace {

struct GOLDEN_TYP {
  const char* name;  // NAME.keys holds the script, NAME.trace the expected trace
  unsigned seed;
  int frames;
};

// What each run shows is said in its key script's comments.
const GOLDEN_TYP GOLDEN_RUNS[] = {
    {"title_to_play", 11, 90},
    {"walls", 25, 900},
    {"strike", 4, 900},
    {"summon", 7, 1300},
    {"death_and_restart", 2, 830},
};

std::string flow_file(const std::string& name) { return std::string(ASHFALLOW_FLOW_DIR) + "/" + name; }

std::vector<std::string> run_sim(const GOLDEN_TYP& run) {
  const std::string command = std::string(ASHFALLOW_SIM) + " --data " + ASHFALLOW_DATA_DIR +
                              " --seed " + std::to_string(run.seed) + " --frames " +
                              std::to_string(run.frames) + " --keys " +
                              flow_file(std::string(run.name) + ".keys") + " --trace";
  std::vector<std::string> lines;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return lines;
  const std::regex work(",\"work_us\":[0-9]+");
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) {
    std::string line(buffer);
    if (!line.empty() && line.back() == '\n') line.pop_back();
    lines.push_back(std::regex_replace(line, work, ""));
  }
  EXPECT_EQ(pclose(pipe), 0) << command;
  return lines;
}

std::vector<std::string> read_lines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

// One field of a trace line.
long field(const std::string& line, const char* key) {
  const std::string tag = std::string("\"") + key + "\":";
  const size_t at = line.find(tag);
  return at == std::string::npos ? -1 : std::atol(line.c_str() + at + tag.size());
}

class GoldenRun : public ::testing::TestWithParam<GOLDEN_TYP> {};

TEST_P(GoldenRun, TraceMatchesTheCommittedOne) {
  const GOLDEN_TYP& run = GetParam();
  const std::vector<std::string> got = run_sim(run);
  ASSERT_EQ(static_cast<int>(got.size()), run.frames);
  const std::string expected_path = flow_file(std::string(run.name) + ".trace");
  if (std::getenv("ASHFALLOW_UPDATE_GOLDEN")) {
    std::ofstream out(expected_path);
    for (const std::string& line : got) out << line << '\n';
    GTEST_SKIP() << "rewrote " << expected_path;
  }
  const std::vector<std::string> expected = read_lines(expected_path);
  ASSERT_EQ(expected.size(), got.size()) << expected_path;
  for (size_t i = 0; i < got.size(); ++i) {
    ASSERT_EQ(expected[i], got[i]) << "first difference at line " << i + 1 << " of "
                                   << expected_path;
  }
}

INSTANTIATE_TEST_SUITE_P(Flow, GoldenRun, ::testing::ValuesIn(GOLDEN_RUNS),
                         [](const auto& info) { return std::string(info.param.name); });

// The screens as a player meets them, read from the traces.
TEST(GoldenFlow, HoldingSpaceAdvancesOneScreenAndPlayStartsWithTheControlsPress) {
  const std::vector<std::string> trace = read_lines(flow_file("title_to_play.trace"));
  ASSERT_GT(trace.size(), 40u);
  // Space goes down at pass 5 and is held to pass 20: only the controls screen is reached.
  EXPECT_EQ(field(trace[4], "state"), 0);
  for (int pass = 5; pass <= 20; ++pass) EXPECT_EQ(field(trace[pass], "state"), 1) << pass;
  // The fresh press at pass 30 starts play in that frame with the first skeleton spawned.
  EXPECT_EQ(field(trace[29], "state"), 1);
  EXPECT_EQ(field(trace[30], "state"), 2);
  EXPECT_EQ(field(trace[30], "skeletons"), 2);
  EXPECT_EQ(field(trace[30], "dead"), 1);
}

TEST(GoldenFlow, WallsHoldThePlayerAndStrikesAndSummonsCount) {
  const auto extent = [](const char* name, const char* key, bool most) {
    long best = most ? -1000000 : 1000000;
    for (const std::string& line : read_lines(flow_file(name))) {
      best = most ? std::max(best, field(line, key)) : std::min(best, field(line, key));
    }
    return best;
  };
  EXPECT_EQ(extent("walls.trace", "x", false), 0);
  EXPECT_EQ(extent("walls.trace", "x", true), 584);
  EXPECT_EQ(extent("walls.trace", "y", false), 0);
  EXPECT_EQ(extent("walls.trace", "y", true), 408);
  EXPECT_GE(extent("strike.trace", "score", true), 250);
  const std::vector<std::string> summon = read_lines(flow_file("summon.trace"));
  ASSERT_GT(summon.size(), 1201u);
  EXPECT_EQ(field(summon[100], "summons"), 0);  // an empty charge calls nobody
  // The charge is emptied before the frame's own step refills it.
  EXPECT_LE(field(summon[100], "charge"), 31);
  EXPECT_EQ(field(summon[850], "summons"), 2);  // 25,000 and a little: two allies
  EXPECT_LE(field(summon[850], "charge"), 31);
  EXPECT_EQ(field(summon[1200], "summons"), 1);
}

TEST(GoldenFlow, ARestartStartsAFreshGame) {
  const std::vector<std::string> trace = read_lines(flow_file("death_and_restart.trace"));
  size_t over = 0, again = 0;
  for (size_t i = 1; i < trace.size(); ++i) {
    if (!over && field(trace[i], "state") == 3) over = i;
    if (over && !again && field(trace[i], "state") == 2) again = i;
  }
  ASSERT_GT(over, 0u) << "the player never died";
  ASSERT_GT(again, over) << "no restart";
  // An early press (the script presses 20 frames into game over) restarts nothing: at least
  // 2000 ms (67 frames) pass first.
  EXPECT_GE(again - over, 67u);
  EXPECT_EQ(field(trace[again], "score"), 0);
  EXPECT_EQ(field(trace[again], "health"), 100);
  EXPECT_EQ(field(trace[again], "drain"), 2);
  EXPECT_EQ(field(trace[again], "summons"), 0);
  EXPECT_EQ(field(trace[again], "dead"), 1);
}

TEST(SimKeyScript, AMalformedScriptIsRefusedWithItsFileLineAndReason) {
  const std::string path = test_temp_path("bad.keys");
  const struct {
    const char* script;
    const char* said;
  } cases[] = {
      {"# fine\n5 space down\n7 spcae up\n", "bad.keys:3: unknown key \"spcae\""},
      {"5 space sideways\n", "bad.keys:1: \"sideways\" is neither down nor up"},
      {"-5 space down\n", "bad.keys:1: \"-5\" is not a pass number"},
      {"\n5 space\n", "bad.keys:2: want \"PASS KEYNAME down|up\""},
      {"5 space down now\n", "bad.keys:1: unexpected \"now\""},
  };
  for (const auto& c : cases) {
    std::ofstream(path) << c.script;
    const std::string command = std::string(ASHFALLOW_SIM) + " --frames 1 --keys " + path + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string said;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) said += buffer;
    const int status = pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << c.script;
    EXPECT_NE(said.find(c.said), std::string::npos) << said;
  }
}

// Captures named by relative paths land in the folder the run was started in, whatever folder
// --data names (the README's example runs from build/ and reads build/data).
TEST(SimCapture, ARelativePathIsInTheFolderTheRunStartedIn) {
  namespace fs = std::filesystem;
  const fs::path here = fs::path(::testing::TempDir()) / ("sim_capture_" + std::to_string(getpid()));
  fs::remove_all(here);
  fs::create_directories(here / "shots");
  const std::string command = "cd '" + here.string() + "' && " + ASHFALLOW_SIM + " --data " +
                              ASHFALLOW_DATA_DIR + " --frames 3 --capture 1:title.png" +
                              " --capture 2:shots/again.png";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  for (const fs::path& written : {here / "title.png", here / "shots" / "again.png"}) {
    std::ifstream file(written, std::ios::binary);
    char signature[8] = {};
    file.read(signature, sizeof signature);
    EXPECT_EQ(std::string(signature, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << written;
  }
  EXPECT_FALSE(fs::exists(fs::path(ASHFALLOW_DATA_DIR) / "title.png"));
  EXPECT_FALSE(fs::exists(fs::path(ASHFALLOW_DATA_DIR) / "shots"));
  fs::remove_all(here);
}

}  // namespace
