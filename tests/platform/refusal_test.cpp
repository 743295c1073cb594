// The note of why a data file was refused: taken once, kept apart per thread, sizes in words.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/refusal.h"

namespace {

TEST(RefusalNote, IsTakenOnceAndTheLatestWins) {
  plat_refusal_clear();
  EXPECT_EQ(plat_refusal_take(), nullptr);
  plat_refusal_note("cut short (expected %d bytes, found %d)", 10, 4);
  plat_refusal_note("not a sound the game can read (%s)", "no RIFF header");
  const char* said = plat_refusal_take();
  ASSERT_NE(said, nullptr);
  EXPECT_STREQ(said, "not a sound the game can read (no RIFF header)");
  EXPECT_EQ(plat_refusal_take(), nullptr);
  plat_refusal_note("empty");
  plat_refusal_clear();
  EXPECT_EQ(plat_refusal_take(), nullptr);
}

TEST(RefusalNote, ALongReasonIsCutNotOverrun) {
  const std::string long_word(1000, 'x');
  plat_refusal_note("%s", long_word.c_str());
  const char* said = plat_refusal_take();
  ASSERT_NE(said, nullptr);
  EXPECT_GT(std::string(said).size(), 100u);
  EXPECT_LT(std::string(said).size(), long_word.size());
}

TEST(RefusalNote, AnotherThreadsNoteIsNotTakenHere) {
  plat_refusal_clear();
  std::string there;
  std::thread other([&there] {
    plat_refusal_note("cut short");
    const char* said = plat_refusal_take();
    there = said ? said : "nothing";
  });
  plat_refusal_note("here");
  other.join();
  EXPECT_EQ(there, "cut short");
  const char* said = plat_refusal_take();
  EXPECT_STREQ(said ? said : "nothing", "here");
}

TEST(RefusalNote, SizesReadAsAPersonSaysThem) {
  const struct {
    uint64_t bytes;
    const char* words;
  } cases[] = {
      {0, "0 bytes"},          {1023, "1023 bytes"},      {1024, "1 KB"},
      {1536, "2 KB"},          {1047552, "1023 KB"},      {1048500, "1 MB"},
      {17u << 20, "17 MB"},    {0x7FFFFFF0u, "2 GB"},     {0xFFFFFFFFu, "4 GB"},
      {5ull << 40, "5 TB"},    {3000ull << 40, "3000 TB"},
  };
  for (const auto& c : cases) {
    char words[32];
    plat_size_words(c.bytes, words, sizeof words);
    EXPECT_STREQ(words, c.words) << c.bytes;
  }
}

}  // namespace
