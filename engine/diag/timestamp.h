// The error file's time stamp: ctime's text with the milliseconds after the seconds,
// "Wed Jun 30 21:49:08.7, 1993\n" for 7 ms past the second.
#pragma once
#include <cstddef>
#include <ctime>

// Writes the stamp for `seconds` (local time) and `milliseconds` (0..999) into out.
void error_file_timestamp(char* out, size_t size, time_t seconds, unsigned milliseconds);
