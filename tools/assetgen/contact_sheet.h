// One PNG of every sprite sheet (cells over the grass, cell borders marked) and the four screens,
// read back from the written files, so a person can look at all the art at once.
#pragma once
#include <string>

int contact_sheet_write(const std::string& dir, const std::string& png_path);
