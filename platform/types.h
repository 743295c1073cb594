// Plain records shared by every platform service and by the engine.
#pragma once
#include <cstdint>

// A rectangle in pixels; right and bottom are exclusive.
struct RECT {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

// One palette entry: red, green, blue, flags (the flags byte is stored, never interpreted).
struct PALETTEENTRY {
  uint8_t red;
  uint8_t green;
  uint8_t blue;
  uint8_t flags;
};

constexpr uint8_t PC_EXPLICIT = 0x02;
constexpr uint8_t PC_NOCOLLAPSE = 0x04;
