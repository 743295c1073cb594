#include "engine/diag/timestamp.h"

#include <cstdio>
#include <cstring>

void error_file_timestamp(char* out, size_t size, time_t seconds, unsigned milliseconds) {
  char text[64];
  tm local{};
  localtime_r(&seconds, &local);
  // ctime's fixed layout: "Www Mmm dd hh:mm:ss yyyy\n".
  if (!asctime_r(&local, text)) {
    snprintf(out, size, "?");
    return;
  }
  size_t length = strlen(text);
  const char* year = length > 20 ? text + 20 : "";
  snprintf(out, size, "%.19s.%hu, %s", text, static_cast<unsigned short>(milliseconds % 1000), year);
}
