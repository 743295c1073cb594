// The simulator's mix as WAV: the headless mix rendered along the game's clock, each frame's
// sounds where the frame began, the same from a replay of the run's demo as from the run.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct WAV_TYP {
  int ok = 0;
  uint16_t tag = 0, channels = 0, bits = 0, block = 0;
  uint32_t rate = 0, riff_size = 0, data_size = 0;
  size_t file_size = 0;
  std::vector<int16_t> left;
};

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t le16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

WAV_TYP read_wav(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), {});
  WAV_TYP w;
  w.file_size = b.size();
  if (b.size() < 44 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
      std::string(b.begin() + 8, b.begin() + 16) != "WAVEfmt " ||
      std::string(b.begin() + 36, b.begin() + 40) != "data")
    return w;
  w.riff_size = le32(b, 4);
  w.tag = le16(b, 20);
  w.channels = le16(b, 22);
  w.rate = le32(b, 24);
  w.block = le16(b, 32);
  w.bits = le16(b, 34);
  w.data_size = le32(b, 40);
  for (size_t at = 44; at + 4 <= b.size(); at += 4) w.left.push_back(int16_t(le16(b, at)));
  w.ok = 1;
  return w;
}

class SimMix : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::path(::testing::TempDir()) / ("sim_mix_" + std::to_string(getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Runs the simulator with `arguments` after its data folder; its exit status.
  int sim(const std::string& arguments) {
    const std::string command = std::string(ASHFALLOW_SIM) + " --data " + ASHFALLOW_DATA_DIR + " " +
                                arguments + " > /dev/null";
    return std::system(command.c_str());
  }
  std::string at(const char* name) { return (folder_ / name).string(); }
  // Into play at pass 40 (two presses of Space), then Space at `strike` (none when negative).
  std::string keys(const char* name, int strike) {
    std::ofstream out(folder_ / name);
    out << "2 space down\n4 space up\n20 space down\n22 space up\n";
    if (strike >= 0) out << strike << " space down\n" << strike + 4 << " space up\n";
    return at(name);
  }
  fs::path folder_;
};

TEST_F(SimMix, TheMixLastsAsLongAsTheRunsFramesAndASecondMore) {
  ASSERT_EQ(sim("--frames 100 --mix-wav " + at("mix.wav")), 0);
  const WAV_TYP w = read_wav(folder_ / "mix.wav");
  ASSERT_TRUE(w.ok);
  EXPECT_EQ(w.tag, 1);
  EXPECT_EQ(w.channels, 2);
  EXPECT_EQ(w.bits, 16);
  EXPECT_EQ(w.block, 4);
  EXPECT_EQ(w.rate, 44100u);
  EXPECT_EQ(w.data_size, w.file_size - 44);
  EXPECT_EQ(w.riff_size, w.file_size - 8);
  // From the first frame's start to the last one's, 99 frames of 30 ms and a little, then the
  // last frame's own span and the ring-out: 1.03 s.
  const double seconds = double(w.left.size()) / 44100;
  EXPECT_NEAR(seconds, 99 * 0.030 + 1.03, 0.01);
  // The music plays from the start.
  double sum = 0;
  for (size_t i = 0; i < 44100 && i < w.left.size(); ++i) sum += double(w.left[i]) * w.left[i];
  EXPECT_GT(std::sqrt(sum / 44100), 30.0);
}

// The strike of pass 60 changes the mix from where that frame began (60 frames of 30 ms and a
// little into the mix), not before and not a frame later.
TEST_F(SimMix, AStrikeSoundsWhereItsFrameBegan) {
  ASSERT_EQ(sim("--frames 90 --keys " + keys("plain.keys", -1) + " --mix-wav " + at("plain.wav")), 0);
  ASSERT_EQ(sim("--frames 90 --keys " + keys("strike.keys", 60) + " --mix-wav " + at("strike.wav")), 0);
  const WAV_TYP plain = read_wav(folder_ / "plain.wav"), strike = read_wav(folder_ / "strike.wav");
  ASSERT_TRUE(plain.ok && strike.ok);
  ASSERT_EQ(plain.left.size(), strike.left.size());
  size_t first = 0;
  while (first < plain.left.size() && plain.left[first] == strike.left[first]) ++first;
  ASSERT_LT(first, plain.left.size()) << "the strike was not heard";
  const double at_ms = 1000.0 * double(first) / 44100;
  EXPECT_GE(at_ms, 60 * 30.0);
  EXPECT_LT(at_ms, 60 * 30.0 + 15.0);
}

// A replay reads no clock of its own: its mix follows the recorded one, and comes out the same.
TEST_F(SimMix, AReplaysMixIsTheRecordedRunsMix) {
  ASSERT_EQ(sim("--frames 120 --seed 5 --keys " + keys("strike.keys", 70) + " --record " + at("run.demo") +
                " --mix-wav " + at("run.wav")),
            0);
  ASSERT_EQ(sim("--replay " + at("run.demo") + " --mix-wav " + at("replay.wav")), 0);
  const WAV_TYP run = read_wav(folder_ / "run.wav"), replay = read_wav(folder_ / "replay.wav");
  ASSERT_TRUE(run.ok && replay.ok);
  ASSERT_EQ(run.left.size(), replay.left.size());
  EXPECT_TRUE(run.left == replay.left);
}

}  // namespace
