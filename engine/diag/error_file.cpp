// The error output file. Every message is flushed as it is written, so the file is whole up to
// the last message even if the process dies right after.
#include "engine/diag/error_file.h"

#include <cstdarg>
#include <cstring>
#include <ctime>

#include "engine/diag/timestamp.h"

FILE* error_file = nullptr;

// One formatted message holds at most 79 characters; longer ones are cut.
static char buffer[80];

// 1 when everything written to the stream reached its file (a full disk shows only here).
static int close_stream(FILE* stream) {
  if (!stream) return 1;
  const int ok = fflush(stream) == 0 && !ferror(stream);
  if (stream == stdout || stream == stderr) return ok;
  return fclose(stream) == 0 && ok;
}

int write_error(const char* format, ...) {
  if (!format || !error_file) return 0;
  va_list args;
  va_start(args, format);
  vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  // Written as text, not as a format: a percent sign that came from an argument stays as it is.
  // A message that did not reach the file (a full disk, a closed pipe) is reported as lost.
  const int written = fputs(buffer, error_file) >= 0;
  return fflush(error_file) == 0 && written ? 1 : 0;
}

int open_error_file(const char* file_name, FILE* stream) {
  if (!file_name) file_name = "";
  // A second open replaces the first; the earlier stream must not be left open and lost. The
  // same stream handed in again is kept: closing it here would leave us writing to a dead one.
  if (error_file != stream) close_stream(error_file);
  error_file = nullptr;

  FILE* file = stream;
  if (!file) {
    file = fopen(file_name, "w");
    if (!file) return 0;
  }
  error_file = file;

  char timestring[280];
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  error_file_timestamp(timestring, sizeof timestring, now.tv_sec,
                       static_cast<unsigned>(now.tv_nsec / 1000000));

  // The header is written whole, however long the file name: it is the one line that says
  // which run the messages below belong to.
  const int header = fprintf(error_file, "\nOpening Error Output File (%s) on %s\n", file_name,
                             timestring) >= 0 &&
                     fflush(error_file) == 0;
  if (!header) {
    // A file that cannot take its header cannot take the messages either.
    if (!stream) fclose(error_file);
    error_file = nullptr;
    return 0;
  }

  if (!stream) {
    fclose(error_file);
    error_file = fopen(file_name, "a+");
    if (!error_file) return 0;
  }
  return 1;
}

int close_error_file() {
  if (!error_file) return 0;
  const int written = write_error("\nClosing Error Output File.");
  const int closed = close_stream(error_file);
  error_file = nullptr;
  return written && closed ? 1 : 0;
}
