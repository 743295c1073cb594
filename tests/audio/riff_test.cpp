// The RIFF reader: finding forms and chunks, and refusing sizes the file cannot back.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/riff.h"
#include "tests/audio/audio_helpers.h"

namespace {

constexpr uint32_t WAVE = plat_riff_fourcc('W', 'A', 'V', 'E');
constexpr uint32_t FMT = plat_riff_fourcc('f', 'm', 't', ' ');
constexpr uint32_t DATA = plat_riff_fourcc('d', 'a', 't', 'a');

struct Reader {
  explicit Reader(const std::vector<uint8_t>& bytes)
      : file(plat_riff_open_memory(bytes.data(), bytes.size())) {}
  ~Reader() { plat_riff_close(file); }
  RIFF_FILE_TYP* file;
};

// RIFF WAVE holding an odd-sized "junk" chunk, then "fmt " and "data".
std::vector<uint8_t> wave_with_junk() {
  std::vector<uint8_t> wav = make_wav(1, 1, 11025, 8, sine8(10, 5));
  const uint8_t junk[] = {'j', 'u', 'n', 'k', 3, 0, 0, 0, 'a', 'b', 'c', 0};
  wav.insert(wav.begin() + 12, junk, junk + sizeof(junk));
  put_le32(wav, 4, uint32_t(wav.size() - 8));
  return wav;
}

TEST(RiffReader, FindsFormAndChunksPastAnOddSizedChunk) {
  std::vector<uint8_t> wav = wave_with_junk();
  Reader r(wav);
  RIFF_CHUNK_TYP parent{}, child{};
  parent.fcc_type = WAVE;
  ASSERT_EQ(plat_riff_descend(r.file, &parent, nullptr, RIFF_FIND_RIFF), 1);
  EXPECT_EQ(parent.cksize, wav.size() - 8);
  child.ckid = FMT;
  ASSERT_EQ(plat_riff_descend(r.file, &child, &parent, RIFF_FIND_CHUNK), 1);
  EXPECT_EQ(child.cksize, 16u);
  uint8_t tag[2];
  ASSERT_EQ(plat_riff_read(r.file, tag, 2), 2);
  EXPECT_EQ(tag[0], 1);
  ASSERT_EQ(plat_riff_ascend(r.file, &child), 1);
  child.ckid = DATA;
  ASSERT_EQ(plat_riff_descend(r.file, &child, &parent, RIFF_FIND_CHUNK), 1);
  EXPECT_EQ(child.cksize, 10u);
  uint8_t samples[10];
  ASSERT_EQ(plat_riff_read(r.file, samples, 10), 10);
  EXPECT_EQ(std::memcmp(samples, sine8(10, 5).data(), 10), 0);
}

TEST(RiffReader, RefusesWrongFormAndMissingChunks) {
  std::vector<uint8_t> wav = make_wav(1, 1, 11025, 8, sine8(10, 5));
  {
    Reader r(wav);
    RIFF_CHUNK_TYP parent{};
    parent.fcc_type = plat_riff_fourcc('A', 'V', 'I', ' ');
    EXPECT_EQ(plat_riff_descend(r.file, &parent, nullptr, RIFF_FIND_RIFF), 0);
  }
  {
    Reader r(wav);
    RIFF_CHUNK_TYP parent{}, child{};
    parent.fcc_type = WAVE;
    ASSERT_EQ(plat_riff_descend(r.file, &parent, nullptr, RIFF_FIND_RIFF), 1);
    child.ckid = plat_riff_fourcc('c', 'u', 'e', ' ');
    EXPECT_EQ(plat_riff_descend(r.file, &child, &parent, RIFF_FIND_CHUNK), 0);
  }
}

TEST(RiffReader, RefusesSizesBeyondTheFileOrTheParent) {
  std::vector<uint8_t> wav = make_wav(1, 1, 11025, 8, sine8(10, 5));
  // The data chunk claims far more than the file holds.
  std::vector<uint8_t> huge = wav;
  put_le32(huge, 40, 0x7FFFFFF0u);
  {
    Reader r(huge);
    RIFF_CHUNK_TYP parent{}, child{};
    parent.fcc_type = WAVE;
    ASSERT_EQ(plat_riff_descend(r.file, &parent, nullptr, RIFF_FIND_RIFF), 1);
    child.ckid = DATA;
    EXPECT_EQ(plat_riff_descend(r.file, &child, &parent, RIFF_FIND_CHUNK), 0);
  }
  // The form claims more than the file holds (a truncated file).
  std::vector<uint8_t> cut(wav.begin(), wav.end() - 4);
  {
    Reader r(cut);
    RIFF_CHUNK_TYP parent{};
    parent.fcc_type = WAVE;
    EXPECT_EQ(plat_riff_descend(r.file, &parent, nullptr, RIFF_FIND_RIFF), 0);
  }
  // The form is shorter than its chunks: the data chunk overruns its parent.
  std::vector<uint8_t> short_form = wav;
  put_le32(short_form, 4, 4 + 24 + 8 + 4);
  {
    Reader r(short_form);
    RIFF_CHUNK_TYP parent{}, child{};
    parent.fcc_type = WAVE;
    ASSERT_EQ(plat_riff_descend(r.file, &parent, nullptr, RIFF_FIND_RIFF), 1);
    child.ckid = DATA;
    EXPECT_EQ(plat_riff_descend(r.file, &child, &parent, RIFF_FIND_CHUNK), 0);
  }
}

TEST(RiffReader, ReadsStopAtTheEndOfTheFile) {
  std::vector<uint8_t> bytes = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'};
  Reader r(bytes);
  RIFF_CHUNK_TYP parent{};
  parent.fcc_type = WAVE;
  ASSERT_EQ(plat_riff_descend(r.file, &parent, nullptr, RIFF_FIND_RIFF), 1);
  uint8_t buffer[32];
  EXPECT_EQ(plat_riff_read(r.file, buffer, 32), 0);
  EXPECT_EQ(plat_riff_read(r.file, buffer, -1), -1);
  RIFF_CHUNK_TYP child{};
  child.ckid = FMT;
  EXPECT_EQ(plat_riff_descend(r.file, &child, &parent, RIFF_FIND_CHUNK), 0);
}

TEST(RiffReader, OpensFilesAndRefusesMissingOnes) {
  EXPECT_EQ(plat_riff_open("/nonexistent/ashfallow.wav"), nullptr);
  std::vector<uint8_t> wav = make_wav(1, 1, 11025, 8, sine8(10, 5));
  RIFF_FILE_TYP* file = plat_riff_open(write_temp("riff_open.wav", wav).c_str());
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(plat_riff_size(file), wav.size());
  RIFF_CHUNK_TYP parent{};
  parent.fcc_type = WAVE;
  EXPECT_EQ(plat_riff_descend(file, &parent, nullptr, RIFF_FIND_RIFF), 1);
  plat_riff_close(file);
}

}  // namespace
