// How long a Standard MIDI file plays: the time of its last event, through its tempo changes.
#pragma once
#include <cstddef>
#include <cstdint>

// Microseconds from the start to the last event of any track (its end-of-track mark); -1 when
// the bytes are not a Standard MIDI file ("MThd" and a header of at least 6 bytes), the files
// the native music refuses too. A track cut short counts as far as it goes; a file with no
// usable timing lasts 0.
int64_t midi_length_us(const uint8_t* bytes, size_t size);
