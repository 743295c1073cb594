// Finding the text face (fontconfig, then the fixed path) and running on without one: a single
// line on stderr as the display opens, then text that draws nothing.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/core/font_find.h"
#include "platform/display.h"
#include "platform/text.h"
#include "tests/platform/support.h"
#include "tests/support/temp_path.h"

namespace {

std::string temp_file(const char* name, const char* contents) {
  std::string path = test_temp_path(name);
  std::ofstream(path, std::ios::binary) << contents;
  return path;
}

int finds_nothing(char*, int) { return 0; }
int finds_a_face(char* path, int size) {
  return std::snprintf(path, size_t(size), "/fonts/found.ttf") < size ? 1 : 0;
}

int lines_in(const std::string& text) {
  int n = 0;
  for (char c : text) n += c == '\n';
  return n;
}

TEST(FontChoice, FontconfigFirstThenTheFixedPathThenNothing) {
  const std::string fixed = temp_file("fixed-face.ttf", "face");
  struct Case {
    PLAT_FONT_SEARCH search;
    std::string fixed;
    int size;
    int result;
    std::string path;
  } cases[] = {
      {finds_a_face, fixed, 256, 1, "/fonts/found.ttf"},
      {finds_nothing, fixed, 256, 1, fixed},
      {nullptr, fixed, 256, 1, fixed},
      {finds_nothing, "/nonexistent/face.ttf", 256, 0, ""},
      {finds_nothing, fixed, int(fixed.size()), 0, ""},  // no room for the terminator
  };
  for (const Case& c : cases) {
    char path[256] = "";
    EXPECT_EQ(plat_font_choose(c.search, c.fixed.c_str(), path, c.size), c.result) << c.fixed;
    EXPECT_EQ(std::string(path), c.path) << c.fixed;
  }
  std::remove(fixed.c_str());
}

// fonts-dejavu-core is one of the project's packages, so fontconfig knows the face here.
TEST(FontChoice, FontconfigFindsDejaVuSansBold) {
  char path[4096] = "";
  ASSERT_EQ(plat_font_find_fontconfig(path, sizeof path), 1);
  EXPECT_NE(std::string(path).find("DejaVuSans-Bold"), std::string::npos) << path;
  char tiny[8] = "";
  EXPECT_EQ(plat_font_find_fontconfig(tiny, sizeof tiny), 0);
  EXPECT_EQ(std::string(tiny), "");
}

// Every way of ending up without a face.
enum FaceLoss { NOTHING_FOUND, FILE_MISSING, FILE_NOT_A_FONT };

class WithoutFace : public Headless, public ::testing::WithParamInterface<FaceLoss> {
 protected:
  void SetUp() override {
    Headless::SetUp();
    junk_ = temp_file("not-a-font.ttf", "these bytes are no font");
    switch (GetParam()) {
      case NOTHING_FOUND: plat_text_set_font_search(finds_nothing); break;
      case FILE_MISSING: plat_text_set_font_file("/nonexistent/face.ttf"); break;
      case FILE_NOT_A_FONT: plat_text_set_font_file(junk_.c_str()); break;
    }
  }
  void TearDown() override {
    plat_text_set_font_search(nullptr);
    plat_text_set_font_file(nullptr);
    std::remove(junk_.c_str());
    Headless::TearDown();
  }
  std::string junk_;
};

TEST_P(WithoutFace, SaysSoOnceAsTheDisplayOpensThenDrawsNothing) {
  ::testing::internal::CaptureStderr();
  ASSERT_EQ(plat_display_set_mode(nullptr, 64, 32, 8, 1), 1);
  const std::string at_start = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(lines_in(at_start), 1) << at_start;
  EXPECT_NE(at_start.find("running without text"), std::string::npos) << at_start;

  ::testing::internal::CaptureStderr();
  for (int bpp : {8, 16}) {
    SURFACE_TYP* s = plat_surface_create(40, 20, bpp, 0);
    ASSERT_NE(s, nullptr);
    plat_surface_fill(s, nullptr, 77);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(plat_text_draw(s, 2, 2, "Score 250", 255, 0, 0), 0);
    for (uint32_t v : pixels_of(s)) ASSERT_EQ(v, 77u);
    plat_surface_release(s);
  }
  EXPECT_EQ(plat_text_width("HP"), 0);
  EXPECT_EQ(plat_text_line_height(), 16);
  EXPECT_EQ(plat_text_prepare(), 0);
  ASSERT_EQ(plat_display_set_mode(nullptr, 64, 32, 16, 1), 1);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

INSTANTIATE_TEST_SUITE_P(AllLosses, WithoutFace,
                         ::testing::Values(NOTHING_FOUND, FILE_MISSING, FILE_NOT_A_FONT));

using FaceFound = Headless;

TEST_F(FaceFound, LoadsQuietlyAsTheDisplayOpens) {
  ::testing::internal::CaptureStderr();
  ASSERT_EQ(plat_display_set_mode(nullptr, 64, 32, 8, 1), 1);
  EXPECT_EQ(plat_text_prepare(), 1);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(plat_text_line_height(), 16);
}

}  // namespace
