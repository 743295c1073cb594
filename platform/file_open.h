// Opening data files for reading. Only regular files are read: a pipe or a device could keep
// a loader waiting for ever (a named pipe planted under a data file's name hangs start-up), and
// a directory holds no data.
#pragma once
#include <cstdio>

// Opens `path` for reading with the stdio `mode` ("r" or "rb") when it names a regular file
// (following links); null for anything else or when it cannot be opened. Never waits for a
// writer: the file is opened without blocking, checked, and only then read as usual.
FILE* plat_open_regular_file(const char* path, const char* mode);

// As plat_open_regular_file, and when the file cannot be used says why in `reason` (a static
// string): "missing", "not a regular file" (a directory, a pipe, a device) or the system's
// word for the failure. `reason` may be null.
FILE* plat_open_regular_file_why(const char* path, const char* mode, const char** reason);
