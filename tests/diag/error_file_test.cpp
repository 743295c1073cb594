#include "engine/diag/error_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <unistd.h>

#include "engine/diag/timestamp.h"

namespace {

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class ErrorFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("ashfallow-errfile-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "ERR.TXT").string();
  }
  void TearDown() override {
    close_error_file();
    std::filesystem::remove_all(dir_);
  }
  std::filesystem::path dir_;
  std::string path_;
};

// Header: empty line, "Opening Error Output File (name) on Www Mmm dd hh:mm:ss.ms, yyyy", empty line.
const std::regex header_re(
    "\nOpening Error Output File \\(([^)]*)\\) on [A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9][0-9] "
    "[0-9]{2}:[0-9]{2}:[0-9]{2}\\.[0-9]{1,3}, [0-9]{4}\n\n");

TEST_F(ErrorFileTest, WritesAreDroppedWhileClosed) {
  EXPECT_EQ(write_error("\npixel format = %d", 8), 0);
  EXPECT_EQ(close_error_file(), 0);
  EXPECT_FALSE(std::filesystem::exists(path_));
}

TEST_F(ErrorFileTest, FileReadsHeaderMessagesAndClosingLine) {
  ASSERT_EQ(open_error_file(path_.c_str(), nullptr), 1);
  EXPECT_EQ(write_error("\npixel format = %d", 8), 1);
  EXPECT_EQ(write_error("\npixel format = 5.6.5"), 1);
  EXPECT_EQ(write_error(nullptr), 0);
  EXPECT_EQ(close_error_file(), 1);
  std::string text = read_file(path_);
  std::smatch match;
  ASSERT_TRUE(std::regex_search(text, match, header_re)) << text;
  EXPECT_EQ(match.position(0), 0);
  EXPECT_EQ(match[1].str(), path_);
  EXPECT_EQ(text.substr(match.length(0)),
            "\npixel format = 8\npixel format = 5.6.5\nClosing Error Output File.");
}

TEST_F(ErrorFileTest, OpeningAgainByNameTruncates) {
  ASSERT_EQ(open_error_file(path_.c_str(), nullptr), 1);
  write_error("first run");
  ASSERT_EQ(open_error_file(path_.c_str(), nullptr), 1);
  write_error("second run");
  close_error_file();
  std::string text = read_file(path_);
  EXPECT_EQ(text.find("first run"), std::string::npos);
  EXPECT_NE(text.find("second run"), std::string::npos);
}

TEST_F(ErrorFileTest, OpeningAgainWithTheSameStreamKeepsItOpen) {
  FILE* stream = fopen(path_.c_str(), "w+");
  ASSERT_NE(stream, nullptr);
  ASSERT_EQ(open_error_file("FIRST", stream), 1);
  ASSERT_EQ(open_error_file("SECOND", stream), 1);
  EXPECT_EQ(error_file, stream);
  EXPECT_EQ(write_error("\nstill here"), 1);
  EXPECT_EQ(close_error_file(), 1);  // closes the stream: it is not a standard one
  // Both headers and the message went into the one stream.
  std::string text = read_file(path_);
  EXPECT_NE(text.find("(FIRST)"), std::string::npos) << text;
  EXPECT_NE(text.find("(SECOND)"), std::string::npos) << text;
  EXPECT_NE(text.find("\nstill here\nClosing Error Output File."), std::string::npos) << text;
}

TEST_F(ErrorFileTest, AFileThatCannotBeCreatedLeavesTheModuleClosed) {
  std::string bad = (dir_ / "no-such-folder" / "ERR.TXT").string();
  EXPECT_EQ(open_error_file(bad.c_str(), nullptr), 0);
  EXPECT_EQ(error_file, nullptr);
  EXPECT_EQ(write_error("lost"), 0);
}

TEST_F(ErrorFileTest, AGivenStreamIsUsedAndLeftOpenWhenItIsAStandardStream) {
  testing::internal::CaptureStdout();
  ASSERT_EQ(open_error_file("CONSOLE", stdout), 1);
  write_error("\nhello");
  EXPECT_EQ(close_error_file(), 1);
  std::string text = testing::internal::GetCapturedStdout();
  std::smatch match;
  ASSERT_TRUE(std::regex_search(text, match, header_re)) << text;
  EXPECT_EQ(match[1].str(), "CONSOLE");
  EXPECT_EQ(text.substr(match.length(0)), "\nhello\nClosing Error Output File.");
  // stdout is still usable.
  EXPECT_GE(fprintf(stdout, "%s", ""), 0);
  EXPECT_EQ(ferror(stdout), 0);

  // So is standard error.
  testing::internal::CaptureStderr();
  ASSERT_EQ(open_error_file("ERRORS", stderr), 1);
  EXPECT_EQ(close_error_file(), 1);
  EXPECT_GE(fprintf(stderr, "after"), 0);
  text = testing::internal::GetCapturedStderr();
  EXPECT_NE(text.find("(ERRORS)"), std::string::npos) << text;
  EXPECT_NE(text.find("\nClosing Error Output File.after"), std::string::npos) << text;
}

TEST_F(ErrorFileTest, PercentSignsFromArgumentsAreWrittenAsTheyAre) {
  ASSERT_EQ(open_error_file(path_.c_str(), nullptr), 1);
  write_error("\n%s", "100% done %d");
  close_error_file();
  EXPECT_NE(read_file(path_).find("\n100% done %d\nClosing"), std::string::npos);
}

TEST_F(ErrorFileTest, LongMessagesAreCutAt79Characters) {
  ASSERT_EQ(open_error_file(path_.c_str(), nullptr), 1);
  std::string long_text(300, 'x');
  write_error("<%s>", long_text.c_str());
  close_error_file();
  std::string text = read_file(path_);
  size_t start = text.find('<');
  size_t end = text.find("\nClosing");
  ASSERT_NE(start, std::string::npos);
  EXPECT_EQ(end - start, 79u);
}

TEST(ErrorFileTimestamp, MillisecondsWithoutLeadingZeros) {
  setenv("TZ", "UTC0", 1);
  tzset();
  // 2021-03-04 05:12:39 UTC, a Thursday.
  time_t when = 1614834759;
  char stamp[280];
  error_file_timestamp(stamp, sizeof stamp, when, 7);
  EXPECT_STREQ(stamp, "Thu Mar  4 05:12:39.7, 2021\n");
  error_file_timestamp(stamp, sizeof stamp, when, 42);
  EXPECT_STREQ(stamp, "Thu Mar  4 05:12:39.42, 2021\n");
  error_file_timestamp(stamp, sizeof stamp, when, 999);
  EXPECT_STREQ(stamp, "Thu Mar  4 05:12:39.999, 2021\n");
}

}  // namespace

// A full disk: the error file says it could not be used rather than taking messages it loses.
TEST(ErrorFileFullDisk, AFileThatCannotTakeItsHeaderIsNotOpened) {
  EXPECT_EQ(open_error_file("/dev/full", nullptr), 0);
  EXPECT_EQ(write_error("\nlost"), 0);
  FILE* full = std::fopen("/dev/full", "w");
  ASSERT_NE(full, nullptr);
  EXPECT_EQ(open_error_file("given", full), 0);
  EXPECT_EQ(write_error("\nlost"), 0);
  EXPECT_EQ(close_error_file(), 0);
  std::fclose(full);
}
