// Regular files only, checked on the opened descriptor so that nothing can be swapped in
// between the check and the read.
#include "platform/file_open.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FILE* plat_open_regular_file(const char* path, const char* mode) {
  return plat_open_regular_file_why(path, mode, nullptr);
}

FILE* plat_open_regular_file_why(const char* path, const char* mode, const char** reason) {
  const char* unused;
  if (!reason) reason = &unused;
  *reason = "missing";
  if (!path || !mode) return nullptr;
  // O_NONBLOCK: opening a named pipe for reading would otherwise wait for a writer.
  const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    // A directory opens for reading on some systems and not on others; either way it is there.
    if (errno == EISDIR) *reason = "not a regular file";
    else if (errno != ENOENT && errno != ENOTDIR) *reason = std::strerror(errno);
    return nullptr;
  }
  struct stat st;
  const int flags = ::fcntl(fd, F_GETFL);
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags < 0 ||
      ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    *reason = "not a regular file";
    ::close(fd);
    return nullptr;
  }
  FILE* file = ::fdopen(fd, mode);
  if (!file) {
    *reason = std::strerror(errno);
    ::close(fd);
  }
  return file;
}
