// What the headless backend shows: modes, windows and the cursor are recorded, and every
// presented picture is kept as RGB for tests to look at.
#include <deque>
#include <string>
#include <vector>

#include "platform/core/backend.h"
#include "platform/display.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_state.h"
#include "platform/image_file.h"

namespace {

struct FRAME_REC {
  int width;
  int height;
  std::vector<uint8_t> rgb;
};

std::deque<FRAME_REC> frames;
int frame_cap = 8;
int presents = 0;
int set_modes = 0;
int restores = 0;
int vblanks = 0;
int cursor_visible = 1;
HEADLESS_MODE_TYP last_mode = {};
std::string caption;

const FRAME_REC* frame_at(int index) {
  int count = static_cast<int>(frames.size());
  if (index < 0) index += count;
  if (index < 0 || index >= count) return nullptr;
  return &frames[static_cast<size_t>(index)];
}

}  // namespace

int plat_backend_set_mode(WINDOW_TYP* window, int width, int height, int bpp, int fullscreen) {
  (void)window;
  ++set_modes;
  last_mode = {width, height, bpp, fullscreen};
  return 1;
}

void plat_backend_restore_mode() { ++restores; }

int plat_backend_present(const SURFACE_TYP* primary) {
  int pitch = 0;
  const uint8_t* pixels = plat_surface_pixels(primary, &pitch);
  if (!pixels) return 0;
  ++presents;
  if (frame_cap <= 0) return 1;
  FRAME_REC frame;
  frame.width = plat_surface_width(primary);
  frame.height = plat_surface_height(primary);
  frame.rgb.resize(static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height) * 3);
  uint8_t palette_rgbx[256 * 4];
  const uint8_t* palette = nullptr;
  if (PALETTE_TYP* p = plat_surface_get_palette(primary)) {
    PALETTEENTRY entries[256];
    plat_palette_get_entries(p, 0, 256, entries);
    for (int i = 0; i < 256; ++i) {
      palette_rgbx[4 * i] = entries[i].red;
      palette_rgbx[4 * i + 1] = entries[i].green;
      palette_rgbx[4 * i + 2] = entries[i].blue;
      palette_rgbx[4 * i + 3] = entries[i].flags;
    }
    palette = palette_rgbx;
  }
  plat_pixels_to_rgb(pixels, pitch, frame.width, frame.height, plat_surface_bpp(primary),
                     plat_display_pixel_format(primary), palette, frame.rgb.data());
  frames.push_back(std::move(frame));
  while (static_cast<int>(frames.size()) > frame_cap) frames.pop_front();
  return 1;
}

int plat_backend_wait_vblank() {
  ++vblanks;
  return 1;
}

int plat_backend_window_created(WINDOW_TYP* window, const char* text, int width, int height) {
  (void)window;
  (void)width;
  (void)height;
  caption = text ? text : "";
  return 1;
}

void plat_backend_cursor(int visible) { cursor_visible = visible; }

void headless_set_frame_cap(int max_frames) {
  frame_cap = max_frames < 0 ? 0 : max_frames;
  while (static_cast<int>(frames.size()) > frame_cap) frames.pop_front();
}

int headless_frame_count() { return static_cast<int>(frames.size()); }

const uint8_t* headless_frame_rgb(int index) {
  const FRAME_REC* f = frame_at(index);
  return f ? f->rgb.data() : nullptr;
}

void headless_frame_size(int* width, int* height) {
  const FRAME_REC* f = frame_at(-1);
  if (width) *width = f ? f->width : 0;
  if (height) *height = f ? f->height : 0;
}

int headless_write_frame_png(int index, const char* path) {
  const FRAME_REC* f = frame_at(index);
  if (!f) return 0;
  return plat_write_png(path, f->rgb.data(), f->width, f->height);
}

int headless_presents() { return presents; }
int headless_set_mode_calls() { return set_modes; }
int headless_restore_mode_calls() { return restores; }
int headless_vblank_waits() { return vblanks; }
int headless_cursor_visible() { return cursor_visible; }
HEADLESS_MODE_TYP headless_last_mode() { return last_mode; }
const char* headless_window_caption() { return caption.c_str(); }

void headless_output_reset() {
  frames.clear();
  frame_cap = 8;
  presents = set_modes = restores = vblanks = 0;
  cursor_visible = 1;
  last_mode = {};
  caption.clear();
}
