#include "platform/checked_write.h"

#include <cerrno>
#include <cstring>

int plat_flush_checked(std::FILE* stream, const char** reason) {
  const char* unused;
  if (!reason) reason = &unused;
  *reason = "no stream";
  if (!stream) return 0;
  errno = 0;
  // ferror keeps an earlier failure that a later successful flush would not show.
  if (std::fflush(stream) != 0 || std::ferror(stream)) {
    *reason = errno ? std::strerror(errno) : "write failed";
    return 0;
  }
  return 1;
}

int plat_close_checked(std::FILE* stream, const char** reason) {
  const char* unused;
  if (!reason) reason = &unused;
  if (!stream) {
    *reason = "no stream";
    return 0;
  }
  const int flushed = plat_flush_checked(stream, reason);
  errno = 0;
  const int closed = std::fclose(stream) == 0;
  if (flushed && !closed) *reason = errno ? std::strerror(errno) : "close failed";
  return flushed && closed ? 1 : 0;
}
