// State shared by the headless backend's files.
#pragma once
#include <cstdint>

// Drops the script and the pass count; the clock back to 0 with a step of 1.
void headless_script_reset();
void headless_clock_reset();
// Drops frames and counters of presentation and modes.
void headless_output_reset();
// The same RGB as plat_pixels_to_rgb, quicker for 8-bit pixels (a lookup table kept while the
// palette stays the same).
void headless_pixels_to_rgb(const uint8_t* pixels, int pitch, int width, int height, int bpp,
                            int pixel_format, const uint8_t* palette_rgbx, uint8_t* rgb_out);
