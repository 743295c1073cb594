// Writes that can fail after the fact: a buffered stream shows a full disk or a short write
// only when it is flushed, so output that matters is flushed and checked before success is
// reported.
#pragma once
#include <cstdio>

// Flushes `stream` and reports whether everything written to it so far reached its file:
// 1, or 0 with the system's reason in `reason` (may be null).
int plat_flush_checked(std::FILE* stream, const char** reason);

// Closes `stream` (not stdout or stderr) with the same check. The stream is closed either way.
int plat_close_checked(std::FILE* stream, const char** reason);
