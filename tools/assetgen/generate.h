// Writes every data file the game reads into a folder.
#pragma once
#include <string>

constexpr int DATA_FILE_COUNT = 22;

// 1 when all files were written, 0 at the first failure (a message goes to stderr).
int generate_all(const std::string& dir);
