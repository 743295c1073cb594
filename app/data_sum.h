// A short checksum of the data files in the working directory, kept in a demo's header: a
// demo replays only on the data it was recorded with.
#pragma once
#include <cstdint>

// CRC-32 over each data file's name and bytes in turn (a missing or unreadable file counts by
// its name alone, so which files are missing matters too).
uint32_t data_files_checksum();
