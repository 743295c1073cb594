// The read cache of data files: every actor spawned reads the same nine sprite sheets, so after
// the first time a look at the file's status is all the reading there is.
#include <sys/stat.h>

#include <cstdio>
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
  std::vector<uint8_t> bytes;
};

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
    if (found != cache().end() && same_key(found->second.key, key_of(st))) {
      *data = found->second.bytes.data();
      *size = found->second.bytes.size();
      if (serial) *serial = found->second.serial;
      return 1;
    }
    if (found != cache().end()) {
      cached_bytes -= found->second.bytes.size();
      cache().erase(found);
    }
    CACHED_FILE_TYP file;
    if (!read_whole(path, max_bytes, &file)) return 0;
    file.serial = ++last_serial;
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

void plat_file_cache_clear() {
  cache().clear();
  cached_bytes = 0;
}
