// The per-thread note of why a data file was refused.
#include "platform/refusal.h"

#include <cstdarg>
#include <cstdio>

namespace {

constexpr size_t NOTE_SIZE = 192;
thread_local char noted[NOTE_SIZE];
thread_local bool has_note = false;
thread_local char taken[NOTE_SIZE];

}  // namespace

void plat_refusal_note(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vsnprintf(noted, sizeof noted, format, args);
  va_end(args);
  has_note = true;
}

const char* plat_refusal_take() {
  if (!has_note) return nullptr;
  has_note = false;
  std::snprintf(taken, sizeof taken, "%s", noted);
  return taken;
}

void plat_refusal_clear() { has_note = false; }

void plat_size_words(uint64_t bytes, char* out, size_t out_size) {
  if (!out || out_size == 0) return;
  const char* const units[] = {"KB", "MB", "GB", "TB"};
  if (bytes < 1024) {
    std::snprintf(out, out_size, "%llu bytes", static_cast<unsigned long long>(bytes));
    return;
  }
  double value = static_cast<double>(bytes) / 1024;
  int unit = 0;
  // Past 1023.5 the rounded figure would read "1024": the next unit says it better.
  while (value >= 1023.5 && unit < 3) {
    value /= 1024;
    ++unit;
  }
  std::snprintf(out, out_size, "%.0f %s", value, units[unit]);
}
