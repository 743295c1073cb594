// Opening data files for reading. Only regular files are read: a pipe or a device could keep
// a loader waiting for ever (a named pipe planted under a data file's name hangs start-up), and
// a directory holds no data.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

// Opens `path` for reading with the stdio `mode` ("r" or "rb") when it names a regular file
// (following links); null for anything else or when it cannot be opened. Never waits for a
// writer: the file is opened without blocking, checked, and only then read as usual.
FILE* plat_open_regular_file(const char* path, const char* mode);

// As plat_open_regular_file, and when the file cannot be used says why in `reason` (a static
// string): "missing", "not a regular file" (a directory, a pipe, a device) or the system's
// word for the failure. `reason` may be null.
FILE* plat_open_regular_file_why(const char* path, const char* mode, const char** reason);
// Reads a whole regular file of at most `max_bytes` through a cache kept for the life of the
// process: a file read before whose identity, size and modification and change times are as
// they were is served from memory without opening it again; a changed one is read afresh, and so
// is one read within two seconds of its last change (a rewrite that soon may keep its times). The
// bytes stay valid until the next call. `serial` (may be null) gets a number that names these
// very bytes: the same as before while they are the same bytes, one never given out before
// when they differ. 1, or 0 when the file is missing, not a regular file, larger than
// `max_bytes` or cannot be read (the caller may still read it its own way).
int plat_read_file_cached(const char* path, size_t max_bytes, const uint8_t** data, size_t* size,
                          uint64_t* serial = nullptr);
// Forgets every cached file (tests; a long-lived tool may call it to give the memory back).
void plat_file_cache_clear();
// For tests of the file's status alone: how soon after a change a read is not trusted (0: never
// distrusted; negative: the usual two seconds).
void plat_file_cache_set_racy_window(int64_t ns);
