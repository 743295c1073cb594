// Start and end of the headless backend, and the reset to a fresh process.
#include <cerrno>
#include <cstdio>

#include "platform/core/backend.h"
#include "platform/faults.h"
#include <cstdlib>

#include "platform/headless/headless.h"
#include "platform/headless/headless_state.h"

// The effects are mixed on a loopback device and played nowhere, so OpenAL is given only its
// silent backend: without this its first device probes PulseAudio, ALSA and the rest, which
// on a machine without sound prints their complaints and on a read-only home fails loudly.
static void choose_silent_openal() { setenv("ALSOFT_DRIVERS", "null", 1); }

// The headless process has no sound card, and tells the libraries it links so. FluidSynth makes
// the options of its ALSA drivers with every settings record it creates, whichever drivers are
// registered, and lists them by walking the machine's cards (opening /dev/snd/controlC0 to C31).
// A program's own definition of ALSA's card walk comes first in the dynamic linker's search, so
// in this backend that walk ends at once and opens nothing. It lives here, in the file every
// headless program links, so that it is always part of the program.
extern "C" int snd_card_next(int* card) {
  if (!card) return -EINVAL;
  *card = -1;
  return 0;
}

int plat_startup(char* reason, int reason_size) {
  choose_silent_openal();
  if (plat_fault(CALL_STARTUP)) {
    if (reason && reason_size > 0) std::snprintf(reason, static_cast<size_t>(reason_size), "%s",
                                                 "headless: start-up failure injected");
    return 0;
  }
  if (reason && reason_size > 0) reason[0] = '\0';
  return 1;
}

void plat_shutdown() {}

void headless_reset() {
  choose_silent_openal();
  headless_clock_reset();
  headless_script_reset();
  headless_output_reset();
  plat_windows_reset();
  plat_keys_reset();
  plat_display_reset();
  plat_fault_clear_all();
}

void headless_set_pixel_format(int rgb_bits) { plat_display_set_format16(rgb_bits); }

int headless_begin_paints() { return plat_begin_paint_count(); }
int headless_end_paints() { return plat_end_paint_count(); }
int headless_cursor_count() { return plat_cursor_count(); }

// There is no desktop to cover: every mode is captured the same way.
void plat_display_prefer_window(int) {}
void plat_display_set_scale(int) {}
