// Building file images in memory: little- and big-endian integers, four-letter tags, and the
// write of a finished image to disk. Every picture, sound and music writer of the project
// packs its headers with these.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

void plat_put_le16(std::vector<uint8_t>& out, uint32_t v);
void plat_put_le32(std::vector<uint8_t>& out, uint32_t v);
void plat_put_be32(std::vector<uint8_t>& out, uint32_t v);
void plat_put_tag(std::vector<uint8_t>& out, const char* tag);  // its first four bytes

// Writes size bytes as the whole file at path. 1, or 0 when the file cannot be written whole.
int plat_write_file(const char* path, const uint8_t* bytes, size_t size);
