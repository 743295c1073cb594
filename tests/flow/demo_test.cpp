// Demos in the simulator: a scripted run recorded as a demo replays to the very trace the
// committed golden run gives, with no key script or seed; and a demo that is empty, cut,
// damaged, of another version or from other data files is refused with one line, a replay that
// parts from its demo stops where it did, and a recording that cannot be written says so.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/core/demo_format.h"

namespace {

namespace fs = std::filesystem;

struct RUN_RESULT_TYP {
  int exit_code = -1;
  std::vector<std::string> trace;  // without work_us
  std::string said;                // stderr
};

const fs::path& scratch() {
  static const fs::path dir = fs::path(::testing::TempDir()) / ("demo_test_" + std::to_string(getpid()));
  fs::create_directories(dir);
  return dir;
}

RUN_RESULT_TYP run_sim(const std::string& arguments, const std::string& data = ASHFALLOW_DATA_DIR,
                       const std::string& shell_first = "") {
  const std::string err = (scratch() / "stderr.txt").string();
  const std::string command = shell_first + std::string(ASHFALLOW_SIM) + " --data " + data + " " +
                              arguments + " 2>" + err;
  RUN_RESULT_TYP result;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  const std::regex work(",\"work_us\":[0-9]+");
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) {
    std::string line(buffer);
    if (!line.empty() && line.back() == '\n') line.pop_back();
    result.trace.push_back(std::regex_replace(line, work, ""));
  }
  const int status = pclose(pipe);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream said(err);
  result.said.assign(std::istreambuf_iterator<char>(said), std::istreambuf_iterator<char>());
  return result;
}

std::vector<std::string> read_lines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

std::vector<uint8_t> read_bytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void write_bytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                               static_cast<std::streamsize>(bytes.size()));
}

std::string flow_file(const std::string& name) { return std::string(ASHFALLOW_FLOW_DIR) + "/" + name; }

struct RECORDED_TYP {
  const char* name;  // a golden run: NAME.keys, NAME.trace
  unsigned seed;
  int frames;
};

const RECORDED_TYP RECORDED_RUNS[] = {
    {"title_to_play", 11, 90},
    {"strike", 4, 900},
    {"summon", 7, 1300},
    {"death_and_restart", 2, 830},
};

void PrintTo(const RECORDED_TYP& run, std::ostream* out) { *out << run.name; }

class DemoOfAGoldenRun : public ::testing::TestWithParam<RECORDED_TYP> {};

// The demo alone (it holds the seed, the keys and every clock reading) replays the game.
TEST_P(DemoOfAGoldenRun, ReplaysToTheCommittedTrace) {
  const RECORDED_TYP& run = GetParam();
  const std::string demo = (scratch() / (std::string(run.name) + ".dem")).string();
  const RUN_RESULT_TYP recorded =
      run_sim("--seed " + std::to_string(run.seed) + " --frames " + std::to_string(run.frames) +
              " --keys " + flow_file(std::string(run.name) + ".keys") + " --record " + demo);
  ASSERT_EQ(recorded.exit_code, 0) << recorded.said;
  const RUN_RESULT_TYP replayed = run_sim("--replay " + demo + " --trace");
  EXPECT_EQ(replayed.exit_code, 0) << replayed.said;
  EXPECT_EQ(replayed.said, "");
  const std::vector<std::string> expected = read_lines(flow_file(std::string(run.name) + ".trace"));
  ASSERT_EQ(replayed.trace.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i)
    ASSERT_EQ(replayed.trace[i], expected[i]) << "first difference at frame " << i;
}

INSTANTIATE_TEST_SUITE_P(Flow, DemoOfAGoldenRun, ::testing::ValuesIn(RECORDED_RUNS),
                         [](const auto& info) { return std::string(info.param.name); });

// A demo of 90 frames, recorded once for the edge cases, and it decoded.
const fs::path& base_demo() {
  static const fs::path path = [] {
    const fs::path p = scratch() / "base.dem";
    const RUN_RESULT_TYP r = run_sim("--seed 11 --frames 90 --keys " + flow_file("title_to_play.keys") +
                                     " --record " + p.string());
    EXPECT_EQ(r.exit_code, 0) << r.said;
    return p;
  }();
  return path;
}

// The file written anew from a decoded demo: every record in one chunk, and the end record
// unless `with_end` is 0.
std::vector<uint8_t> encode(const DEMO_TYP& demo, int with_end = 1) {
  std::vector<uint8_t> out, payload;
  demo_put_header(out, demo.header);
  uint32_t prev = 0;
  for (size_t i = 0; i < demo.records.size(); ++i) demo_put_record(payload, demo_frame_of(demo, i), &prev);
  demo_put_chunk(out, static_cast<uint32_t>(demo.records.size()), payload);
  if (with_end) demo_put_end(out, demo.records.size());
  return out;
}

DEMO_TYP decoded(const std::vector<uint8_t>& bytes) {
  DEMO_TYP demo;
  std::string reason;
  EXPECT_TRUE(demo_parse(bytes.data(), bytes.size(), &demo, &reason)) << reason;
  return demo;
}

// Frame 10 of the base demo with one clock reading more than the game will make.
std::vector<uint8_t> one_reading_more(std::vector<uint8_t> bytes) {
  DEMO_TYP demo = decoded(bytes);
  const DEMO_RECORD_TYP& frame10 = demo.records.at(11);
  demo.runs.at(frame10.run_first + frame10.run_count - 1).count += 1;
  return encode(demo);
}

struct EDGE_TYP {
  const char* name;
  std::function<std::vector<uint8_t>(std::vector<uint8_t>)> change;  // of the base demo's bytes
  int changed_data;  // replay it on a copy of the data with one file altered
  int exit_code;
  const char* said;  // part of the one line on stderr ("" when nothing may be said)
  int frames;        // trace lines expected
};

const EDGE_TYP EDGES[] = {
    {"Empty", [](std::vector<uint8_t>) { return std::vector<uint8_t>(); }, 0, 2, ": is empty\n", 0},
    {"NotADemo",
     [](std::vector<uint8_t>) {
       const std::string text = "5 space down\n";
       return std::vector<uint8_t>(text.begin(), text.end());
     },
     0, 2, ": is not an Ashfallow demo\n", 0},
    {"CutInItsHeader", [](std::vector<uint8_t> b) { b.resize(9); return b; }, 0, 2,
     ": is cut short in its header\n", 0},
    {"CutMidFrame", [](std::vector<uint8_t> b) { b.resize(b.size() / 2); return b; }, 0, 2,
     ": is cut short in the chunk that begins at ", 0},
    {"CutInItsEndRecord", [](std::vector<uint8_t> b) { b.resize(b.size() - 2); return b; }, 0, 2,
     ": is cut short in its end record\n", 0},
    {"WrongVersion",
     [](std::vector<uint8_t> b) {
       b[std::string("ASHFALLOW DEMO\nversion ").size()] = '2';
       return b;
     },
     0, 2, ": is a version 2 demo; this game reads version 1\n", 0},
    {"AByteChanged",
     [](std::vector<uint8_t> b) {
       b[b.size() - 30] ^= 0x10;
       return b;
     },
     0, 2, ": is damaged: the chunk at byte ", 0},
    {"BytesAfterTheEnd", [](std::vector<uint8_t> b) { b.push_back('C'); return b; }, 0, 2,
     ": is damaged: bytes follow its end record\n", 0},
    {"OtherDataFiles", [](std::vector<uint8_t> b) { return b; }, 1, 2,
     ": was recorded with other data files (data ", 0},
    // A game that stopped without closing its demo left whole chunks: they still replay.
    {"NoEndRecord", [](std::vector<uint8_t> b) { return encode(decoded(b), 0); }, 0, 0,
     ": has no end record (its game stopped without closing it); replaying the 90 frames", 90},
    {"DivergedAtFrame10", one_reading_more, 0, 3,
     ": the replay diverged at frame 10: the game read the clock ", 11},
    {"Intact", [](std::vector<uint8_t> b) { return encode(decoded(b)); }, 0, 0, "", 90},
};

void PrintTo(const EDGE_TYP& edge, std::ostream* out) { *out << edge.name; }

class DemoEdge : public ::testing::TestWithParam<EDGE_TYP> {};

TEST_P(DemoEdge, IsReplayedOrRefusedWithOneLine) {
  const EDGE_TYP& edge = GetParam();
  const fs::path demo = scratch() / (std::string(edge.name) + ".dem");
  write_bytes(demo, edge.change(read_bytes(base_demo())));
  std::string data = ASHFALLOW_DATA_DIR;
  if (edge.changed_data) {
    const fs::path copy = scratch() / "other_data";
    fs::remove_all(copy);
    fs::copy(ASHFALLOW_DATA_DIR, copy, fs::copy_options::recursive);
    std::vector<uint8_t> sound = read_bytes(copy / "bat.WAV");
    ASSERT_FALSE(sound.empty());
    sound.back() ^= 1;
    write_bytes(copy / "bat.WAV", sound);
    data = copy.string();
  }
  const RUN_RESULT_TYP r = run_sim("--replay " + demo.string() + " --trace", data);
  EXPECT_EQ(r.exit_code, edge.exit_code) << r.said;
  EXPECT_EQ(static_cast<int>(r.trace.size()), edge.frames);
  if (*edge.said) {
    EXPECT_NE(r.said.find(demo.string() + edge.said), std::string::npos) << r.said;
    // One line, naming the file.
    EXPECT_EQ(r.said.find('\n'), r.said.size() - 1) << r.said;
  } else {
    EXPECT_EQ(r.said, "");
  }
  // What was replayed is the recorded game.
  const std::vector<std::string> golden = read_lines(flow_file("title_to_play.trace"));
  for (size_t i = 0; i < r.trace.size() && i < golden.size(); ++i) EXPECT_EQ(r.trace[i], golden[i]);
}

INSTANTIATE_TEST_SUITE_P(Demo, DemoEdge, ::testing::ValuesIn(EDGES),
                         [](const auto& info) { return std::string(info.param.name); });

// A demo names the game it holds; the options that would steer another one are refused.
TEST(DemoOptions, AReplayTakesNoKeysSeedOrUndying) {
  for (const char* clash : {"--seed 3", "--key 5:space:down", "--undying", "--record x.dem"}) {
    const RUN_RESULT_TYP r = run_sim("--replay " + base_demo().string() + " " + clash);
    EXPECT_EQ(r.exit_code, 2) << clash;
    EXPECT_NE(r.said.find("--replay plays the demo's own game"), std::string::npos) << r.said;
  }
}

// A recording whose writes fail says so in one line: at the start the run is refused; later
// the game still plays to its end and the run fails.
TEST(DemoRecording, AFailedWriteIsSaidInOneLine) {
  if (fs::exists("/dev/full")) {
    const RUN_RESULT_TYP r = run_sim("--frames 40 --trace --record /dev/full");
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_EQ(r.trace.size(), 0u);
    EXPECT_EQ(r.said, "ashfallow-sim: cannot write the demo /dev/full: No space left on device\n");
  }
  // A file size limit of 2 KB: the header goes out, the frames' chunk does not.
  const fs::path demo = scratch() / "limited.dem";
  const RUN_RESULT_TYP r = run_sim("--seed 4 --frames 900 --keys " + flow_file("strike.keys") +
                                       " --trace --record " + demo.string(),
                                   ASHFALLOW_DATA_DIR, "trap '' XFSZ; ulimit -f 2; ");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.trace.size(), 900u);
  // (The sound libraries may say something of the limit too, before it.)
  const std::string line = "ashfallow-sim: cannot write the demo " + demo.string() + ": File too large\n";
  ASSERT_GE(r.said.size(), line.size()) << r.said;
  EXPECT_EQ(r.said.substr(r.said.size() - line.size()), line);
}

}  // namespace
