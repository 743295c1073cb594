// The optional error output file: a time-stamped header, then flushed printf-style messages.
#pragma once
#include <cstdio>

extern FILE* error_file;

int open_error_file(const char* file_name, FILE* stream);
int close_error_file();
int write_error(const char* format, ...) __attribute__((format(printf, 1, 2)));
