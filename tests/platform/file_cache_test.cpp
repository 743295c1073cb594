// The read cache of data files: a file changed in any way is read again, however soon after
// the first read and whatever times it is left with; the same bytes keep their serial.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "platform/file_open.h"
#include "tests/platform/support.h"

namespace {

std::string temp_path(const char* name) {
  return ::testing::TempDir() + "ashfallow-cache-" + std::to_string(::getpid()) + "-" + name;
}

void write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

struct READ_TYP {
  int ok = 0;
  std::vector<uint8_t> bytes;
  uint64_t serial = 0;
};

READ_TYP read_cached(const std::string& path) {
  READ_TYP r;
  const uint8_t* data = nullptr;
  size_t size = 0;
  r.ok = plat_read_file_cached(path.c_str(), 1 << 20, &data, &size, &r.serial);
  if (r.ok) r.bytes.assign(data, data + size);
  return r;
}

enum CHANGE { SAME_SIZE_TIMES_SET_BACK, NEW_SIZE, REPLACED_BY_RENAME, SAME_SIZE_AT_ONCE, SAME_BYTES };
struct CHANGE_CASE {
  CHANGE change;
  const char* what;
  bool same_bytes;
};

// With the distrust of fresh reads off, the file's status alone must tell each change.
class FileCache : public Headless, public ::testing::WithParamInterface<std::tuple<CHANGE_CASE, bool>> {
 protected:
  void TearDown() override {
    plat_file_cache_set_racy_window(-1);
    Headless::TearDown();
  }
};

TEST_P(FileCache, AChangedFileIsReadAgain) {
  const CHANGE_CASE& c = std::get<0>(GetParam());
  const bool by_status_alone = std::get<1>(GetParam());
  plat_file_cache_set_racy_window(by_status_alone ? 0 : -1);
  const std::string path = temp_path(c.what);
  const std::vector<uint8_t> first = {'B', 'M', 1, 2, 3, 4, 5, 6};
  std::vector<uint8_t> second = first;
  if (c.change == NEW_SIZE) second.push_back(7);
  if (!c.same_bytes) second[4] = 99;

  write_file(path, first);
  const READ_TYP before = read_cached(path);
  ASSERT_EQ(before.ok, 1);
  EXPECT_EQ(before.bytes, first);
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);

  switch (c.change) {
    case SAME_SIZE_TIMES_SET_BACK: {
      write_file(path, second);
      const struct timespec times[2] = {st.st_atim, st.st_mtim};
      ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
      break;
    }
    case REPLACED_BY_RENAME: {
      const std::string fresh = path + ".new";
      write_file(fresh, second);
      ASSERT_EQ(std::rename(fresh.c_str(), path.c_str()), 0);
      break;
    }
    default:
      write_file(path, second);
      break;
  }
  const READ_TYP after = read_cached(path);
  ASSERT_EQ(after.ok, 1);
  EXPECT_EQ(after.bytes, second);
  EXPECT_EQ(after.serial == before.serial, c.same_bytes);
  // Asked again with nothing changed: the same bytes under the same serial.
  const READ_TYP again = read_cached(path);
  EXPECT_EQ(again.bytes, second);
  EXPECT_EQ(again.serial, after.serial);
  std::remove(path.c_str());
}

constexpr CHANGE_CASE TIMES_SET_BACK{SAME_SIZE_TIMES_SET_BACK, "TimesSetBack", false};
constexpr CHANGE_CASE NEW_SIZE_CASE{NEW_SIZE, "NewSize", false};
constexpr CHANGE_CASE RENAMED_OVER{REPLACED_BY_RENAME, "RenamedOver", false};
constexpr CHANGE_CASE AT_ONCE{SAME_SIZE_AT_ONCE, "AtOnce", false};
constexpr CHANGE_CASE SAME_BYTES_CASE{SAME_BYTES, "SameBytes", true};

std::string case_name(const ::testing::TestParamInfo<std::tuple<CHANGE_CASE, bool>>& info) {
  return std::string(std::get<0>(info.param).what) + (std::get<1>(info.param) ? "ByStatusAlone" : "");
}

INSTANTIATE_TEST_SUITE_P(Changes, FileCache,
                         ::testing::Combine(::testing::Values(TIMES_SET_BACK, NEW_SIZE_CASE, RENAMED_OVER, AT_ONCE,
                                                              SAME_BYTES_CASE),
                                            ::testing::Values(false)),
                         case_name);
// On a file system with coarse times a rewrite at once keeps them: only the distrust of fresh
// reads sees it, so it is left out here.
INSTANTIATE_TEST_SUITE_P(StatusAlone, FileCache,
                         ::testing::Combine(::testing::Values(TIMES_SET_BACK, NEW_SIZE_CASE, RENAMED_OVER,
                                                              SAME_BYTES_CASE),
                                            ::testing::Values(true)),
                         case_name);

using FileCacheOldFile = Headless;

TEST_F(FileCacheOldFile, AnUnchangedFileKeepsItsSerialAndAMissingOneIsRefused) {
  const std::string fixture = std::string(ASHFALLOW_FIXTURES) + "/graphics/p8.bmp";
  const READ_TYP first = read_cached(fixture), second = read_cached(fixture);
  ASSERT_EQ(first.ok, 1);
  EXPECT_EQ(second.bytes, first.bytes);
  EXPECT_EQ(second.serial, first.serial);
  EXPECT_NE(first.serial, 0u);
  EXPECT_EQ(read_cached(temp_path("never-written")).ok, 0);
  // A file larger than the caller allows is refused, not cut.
  const uint8_t* data = nullptr;
  size_t size = 0;
  EXPECT_EQ(plat_read_file_cached(fixture.c_str(), first.bytes.size() - 1, &data, &size), 0);
}

}  // namespace
