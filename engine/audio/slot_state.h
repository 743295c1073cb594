// States of a sound or MIDI slot. Sound slots use only the first two.
#pragma once
#include <cstdint>

constexpr int32_t SLOT_EMPTY = 0;
constexpr int32_t SLOT_LOADED = 1;
constexpr int32_t SLOT_PLAYING = 2;
constexpr int32_t SLOT_STOPPED = 3;
