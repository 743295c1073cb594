// What the web backend holds between calls. The page's events (keys, focus, visibility,
// resizing) arrive between loop passes, on the page's one thread.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/web/web_pace.h"

struct WEB_BACKEND_TYP {
  int started;
  int mode_width;
  int mode_height;
  int mode_bpp;
  int lookup_bpp;       // the depth `lookup` was built for (16-bit lookups by pixel format)
  int lookup_format;
  std::vector<uint32_t> lookup;
  std::vector<uint32_t> rgba;  // the picture last shown
  WEB_PACE_TYP pace;
  int hidden;
  void (*shown)();
};

extern WEB_BACKEND_TYP web_backend;

// Fits the canvas into the page (called on a mode set and on every resize).
void web_fit_canvas();
// Registers and drops the page's event handlers.
void web_events_start();
void web_events_stop();
// Moves the silent mix on by the real time since the last pass (audio_output.cpp).
void web_audio_output_pump();
// The page's audio (web_audio.cpp): started by the player's first key press (a page may only
// start its sound on a gesture), and stopped with the backend.
void web_audio_start_on_key();
void web_audio_stop();
// Shows or hides the page's "Press any key for sound" line (until the first key press).
void web_audio_show_hint(int shown);
