// The simulator on hostile ground: key scripts that are not files, and output that cannot be
// written. Each run must end at once with its one line and an exit code that says failure.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct SIM_FAILURE_TYP {
  const char* name;
  const char* arguments;  // after --data; @ stands for the test's own folder
  const char* redirect;   // where stdout goes
  int exit_code;
  const char* said;       // on stderr
};

// A pipe with no writer must not keep the run waiting: `timeout` ends a run that hangs (124).
const SIM_FAILURE_TYP FAILURES[] = {
    {"fifo_script", "--frames 3 --keys @/script.fifo", "/dev/null", 2,
     "@/script.fifo: not a regular file"},
    {"directory_script", "--frames 3 --keys @", "/dev/null", 2, "@: not a regular file"},
    {"device_script", "--frames 3 --keys /dev/zero", "/dev/null", 2,
     "/dev/zero: not a regular file"},
    {"missing_script", "--frames 3 --keys @/nothing.keys", "/dev/null", 2,
     "@/nothing.keys: cannot be read (missing)"},
    {"trace_full_disk", "--frames 40 --trace", "/dev/full", 1,
     "cannot write the trace: No space left on device"},
    {"capture_full_disk", "--frames 3 --capture 1:/dev/full", "/dev/null", 1,
     "cannot write /dev/full: No space left on device"},
    {"mix_full_disk", "--frames 3 --mix-wav /dev/full", "/dev/null", 1,
     "cannot write /dev/full: No space left on device"},
    {"mix_no_folder", "--frames 3 --mix-wav @/none/mix.wav", "/dev/null", 1,
     "cannot write @/none/mix.wav: No such file or directory"},
    {"mix_replay_not_a_demo", "--replay @/script.fifo --mix-wav @/mix.wav", "/dev/null", 2,
     "@/script.fifo: not a regular file"},
};

std::string with_folder(std::string text, const std::string& folder) {
  for (size_t at; (at = text.find('@')) != std::string::npos;) text.replace(at, 1, folder);
  return text;
}

std::string read_all(const fs::path& path) {
  std::string text;
  if (FILE* f = std::fopen(path.c_str(), "r")) {
    char buffer[512];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, got);
    std::fclose(f);
  }
  return text;
}

class SimFailure : public ::testing::TestWithParam<SIM_FAILURE_TYP> {
 protected:
  void SetUp() override {
    folder_ = fs::path(::testing::TempDir()) /
              ("sim_failure_" + std::string(GetParam().name) + "_" + std::to_string(getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    ASSERT_EQ(::mkfifo((folder_ / "script.fifo").c_str(), 0600), 0);
  }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path folder_;
};

TEST_P(SimFailure, EndsAtOnceWithOneLineAndAFailingExit) {
  const SIM_FAILURE_TYP& c = GetParam();
  const fs::path said_path = folder_ / "stderr.txt";
  const std::string command = std::string("timeout 20 ") + ASHFALLOW_SIM + " --data " +
                              ASHFALLOW_DATA_DIR + " " + with_folder(c.arguments, folder_) +
                              " > " + c.redirect + " 2> " + said_path.string();
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status)) << command;
  EXPECT_EQ(WEXITSTATUS(status), c.exit_code) << command;
  const std::string said = read_all(said_path);
  const std::string want = "ashfallow-sim: " + with_folder(c.said, folder_) + "\n";
  EXPECT_EQ(said.substr(0, want.size()), want) << said;
}

INSTANTIATE_TEST_SUITE_P(Sim, SimFailure, ::testing::ValuesIn(FAILURES),
                         [](const auto& info) { return std::string(info.param.name); });

// A reader that goes away ends the run by its signal, quietly, as command-line tools end.
TEST(SimTrace, AClosedPipeEndsTheRunQuietlyWith141) {
  const fs::path said_path = fs::path(::testing::TempDir()) /
                             ("sim_pipe_" + std::to_string(getpid()) + ".txt");
  const std::string command = std::string("bash -c 'timeout 60 ") + ASHFALLOW_SIM + " --data " +
                              ASHFALLOW_DATA_DIR + " --frames 100000 --trace 2> " +
                              said_path.string() + " | head -c 1 > /dev/null; exit ${PIPESTATUS[0]}'";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status)) << command;
  EXPECT_EQ(WEXITSTATUS(status), 141) << command;
  EXPECT_EQ(read_all(said_path), "");
  fs::remove(said_path);
}

}  // namespace

namespace {

// The simulator plays its sound nowhere: it must not wake the system's sound server, which
// would first make its folder under the home (and fail loudly on a read-only one).
TEST(SimAudio, ARunTouchesNoSoundServer) {
  const fs::path home = fs::path(::testing::TempDir()) / ("sim_home_" + std::to_string(getpid()));
  fs::remove_all(home);
  fs::create_directories(home);
  const std::string command = "env -u XDG_CONFIG_HOME -u XDG_RUNTIME_DIR -u PULSE_SERVER HOME='" +
                              home.string() + "' " + ASHFALLOW_SIM + " --data " +
                              ASHFALLOW_DATA_DIR + " --frames 30 > /dev/null";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  EXPECT_FALSE(fs::exists(home / ".config" / "pulse"));
  EXPECT_FALSE(fs::exists(home / ".pulse"));
  fs::remove_all(home);
}

}  // namespace
