// The read cache of data files: every actor spawned reads the same nine sprite sheets, so after
// the first time a look at the file's status is all the reading there is.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/file_open.h"

namespace {

// What says the file is still the one read: a rewrite changes the times (the change time even
// when the modification time is set back), a replacement the identity.
struct FILE_KEY_TYP {
  dev_t device;
  ino_t inode;
  off_t size;
  struct timespec modified;
  struct timespec changed;
};

struct CACHED_FILE_TYP {
  FILE_KEY_TYP key;
  uint64_t serial;  // which read of which file these bytes are: never given to another
  bool racy;        // read so soon after its last change that another could carry the same times
  std::vector<uint8_t> bytes;
};

// File times advance by the file system's tick (a few milliseconds, two seconds on some): a file
// written again within the tick of its last change keeps its times, even its size. A read that
// close to the change is not trusted; the file is read again (and compared) until it is not.
int64_t racy_ns = 2'000'000'000;

int64_t ns_of(const struct timespec& t) { return int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec; }

uint64_t last_serial = 0;

// The game's data files come to under 2 MB; beyond this the cache starts afresh.
constexpr size_t CACHE_LIMIT = 32u << 20;
size_t cached_bytes = 0;

std::unordered_map<std::string, CACHED_FILE_TYP>& cache() {
  static auto* files = new std::unordered_map<std::string, CACHED_FILE_TYP>;
  return *files;
}

FILE_KEY_TYP key_of(const struct stat& st) {
  return {st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

bool same_time(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool same_key(const FILE_KEY_TYP& a, const FILE_KEY_TYP& b) {
  return a.device == b.device && a.inode == b.inode && a.size == b.size &&
         same_time(a.modified, b.modified) && same_time(a.changed, b.changed);
}

// Reads the file as opened (checked to be regular), keyed by the status of what was opened.
bool read_whole(const char* path, size_t max_bytes, CACHED_FILE_TYP* out) {
  FILE* file = plat_open_regular_file(path, "rb");
  if (!file) return false;
  struct stat st;
  bool ok = ::fstat(fileno(file), &st) == 0 && st.st_size >= 0 &&
            static_cast<uint64_t>(st.st_size) <= max_bytes;
  if (ok) {
    out->key = key_of(st);
    try {
      out->bytes.resize(static_cast<size_t>(st.st_size));
    } catch (...) {
      ok = false;
    }
  }
  if (ok) {
    const size_t got = std::fread(out->bytes.data(), 1, out->bytes.size(), file);
    out->bytes.resize(got);  // a file cut short meanwhile: what is there (a later look re-reads it)
    struct timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    const int64_t latest = std::max(ns_of(st.st_mtim), ns_of(st.st_ctim));
    out->racy = ns_of(now) - latest < racy_ns;
  }
  std::fclose(file);
  return ok;
}

}  // namespace

int plat_read_file_cached(const char* path, size_t max_bytes, const uint8_t** data, size_t* size,
                          uint64_t* serial) {
  if (!path || !data || !size) return 0;
  struct stat st;
  if (::stat(path, &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<uint64_t>(st.st_size) > max_bytes) {
    return 0;
  }
  try {
    auto found = cache().find(path);
    const bool known = found != cache().end();
    if (known && !found->second.racy && same_key(found->second.key, key_of(st))) {
      *data = found->second.bytes.data();
      *size = found->second.bytes.size();
      if (serial) *serial = found->second.serial;
      return 1;
    }
    CACHED_FILE_TYP file;
    if (!read_whole(path, max_bytes, &file)) return 0;
    if (known && found->second.bytes == file.bytes) {
      file.serial = found->second.serial;  // the same bytes: whatever was made of them still holds
    } else {
      file.serial = ++last_serial;
    }
    if (known) {
      cached_bytes -= found->second.bytes.size();
      cache().erase(found);
    }
    if (cached_bytes + file.bytes.size() > CACHE_LIMIT) plat_file_cache_clear();
    cached_bytes += file.bytes.size();
    CACHED_FILE_TYP& kept = cache()[path] = std::move(file);
    *data = kept.bytes.data();
    *size = kept.bytes.size();
    if (serial) *serial = kept.serial;
    return 1;
  } catch (...) {
    return 0;  // no memory for the cache's own bookkeeping
  }
}

void plat_file_cache_set_racy_window(int64_t ns) { racy_ns = ns < 0 ? 2'000'000'000 : ns; }

void plat_file_cache_clear() {
  cache().clear();
  cached_bytes = 0;
}
