// Regular files only, checked on the opened descriptor so that nothing can be swapped in
// between the check and the read.
#include "platform/file_open.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FILE* plat_open_regular_file(const char* path, const char* mode) {
  if (!path || !mode) return nullptr;
  // O_NONBLOCK: opening a named pipe for reading would otherwise wait for a writer.
  const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st;
  const int flags = ::fcntl(fd, F_GETFL);
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags < 0 ||
      ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    ::close(fd);
    return nullptr;
  }
  FILE* file = ::fdopen(fd, mode);
  if (!file) ::close(fd);
  return file;
}
