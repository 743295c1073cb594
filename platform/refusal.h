// Why a loader refused a data file, in words a player can act on ("cut short (expected 308278
// bytes, found 154139)", "not a picture the game can read (BMP with 4-bit pixels)"). A loader
// notes the reason where it gives up; whoever asked for the file takes it afterwards and says it.
// One note per thread: a loader's failure value is unchanged, the note only tells why.
#pragma once
#include <cstddef>
#include <cstdint>

// Records the reason for the refusal just made (printf-style), replacing any earlier one.
void plat_refusal_note(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The reason last noted on this thread, and forgets it; null when none was noted. The text
// stays valid until the next take on this thread.
const char* plat_refusal_take();
// Forgets any reason noted, so the next take tells about the loads made from now on.
void plat_refusal_clear();

// A size as a person reads it: "812 bytes", "340 KB", "17 MB", "4 GB" (binary units, rounded).
void plat_size_words(uint64_t bytes, char* out, size_t out_size);
