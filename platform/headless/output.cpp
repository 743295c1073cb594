// What the headless backend shows: modes, windows and the cursor are recorded, and every
// presented picture is kept for tests and captures to look at. A present keeps the picture as it
// is (held, not copied) with its palette; it becomes RGB only when something looks at it.
#include <cstring>
#include <deque>
#include <memory>
#include <new>
#include <string>

#include "platform/core/backend.h"
#include "platform/display.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_state.h"
#include "platform/image_file.h"

namespace {

struct FRAME_REC {
  int width;
  int height;
  int bpp;
  int pixel_format;
  int has_palette;
  uint8_t palette_rgbx[256 * 4];  // as it was at the present
  PICTURE_HOLD_TYP* hold;
  std::unique_ptr<uint8_t[]> rgb;  // made at the first look
};

static_assert(sizeof(PALETTEENTRY) == 4, "palette entries are red, green, blue, flags");

std::deque<FRAME_REC> frames;
int frame_cap = 8;
int presents = 0;
int set_modes = 0;
int restores = 0;
int vblanks = 0;
int cursor_visible = 1;
HEADLESS_MODE_TYP last_mode = {};
std::string caption;

void drop_oldest() {
  plat_picture_hold_release(frames.front().hold);
  frames.pop_front();
}

FRAME_REC* frame_at(int index) {
  int count = static_cast<int>(frames.size());
  if (index < 0) index += count;
  if (index < 0 || index >= count) return nullptr;
  return &frames[static_cast<size_t>(index)];
}

// The frame's RGB, made now if nothing has looked at it yet; null when it cannot be had.
const uint8_t* rgb_of(FRAME_REC* frame) {
  if (!frame) return nullptr;
  if (frame->rgb) return frame->rgb.get();
  int pitch = 0;
  const uint8_t* pixels = plat_picture_hold_pixels(frame->hold, &pitch);
  if (!pixels) return nullptr;
  const size_t size = static_cast<size_t>(frame->width) * static_cast<size_t>(frame->height) * 3;
  frame->rgb.reset(new (std::nothrow) uint8_t[size]);
  if (!frame->rgb) return nullptr;
  headless_pixels_to_rgb(pixels, pitch, frame->width, frame->height, frame->bpp, frame->pixel_format,
                         frame->has_palette ? frame->palette_rgbx : nullptr, frame->rgb.get());
  return frame->rgb.get();
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
  if (!plat_surface_pixels(primary, nullptr)) return 0;
  ++presents;
  if (frame_cap <= 0) return 1;
  PICTURE_HOLD_TYP* hold = plat_picture_hold(primary);
  if (!hold) return 1;  // shown, but there is no memory to keep it
  if (static_cast<int>(frames.size()) >= frame_cap) drop_oldest();
  frames.emplace_back();
  FRAME_REC& frame = frames.back();
  frame.width = plat_surface_width(primary);
  frame.height = plat_surface_height(primary);
  frame.bpp = plat_surface_bpp(primary);
  frame.pixel_format = plat_display_pixel_format(primary);
  frame.has_palette = 0;
  frame.hold = hold;
  if (frame.bpp == 8) {
    if (PALETTE_TYP* p = plat_surface_get_palette(primary)) {
      PALETTEENTRY entries[256];
      plat_palette_get_entries(p, 0, 256, entries);
      std::memcpy(frame.palette_rgbx, entries, sizeof frame.palette_rgbx);
      frame.has_palette = 1;
    }
  }
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
  while (static_cast<int>(frames.size()) > frame_cap) drop_oldest();
}

int headless_frame_count() { return static_cast<int>(frames.size()); }

const uint8_t* headless_frame_rgb(int index) { return rgb_of(frame_at(index)); }

void headless_frame_size(int* width, int* height) {
  const FRAME_REC* f = frame_at(-1);
  if (width) *width = f ? f->width : 0;
  if (height) *height = f ? f->height : 0;
}

int headless_write_frame_png(int index, const char* path) {
  FRAME_REC* f = frame_at(index);
  const uint8_t* rgb = rgb_of(f);
  if (!rgb) return 0;
  return plat_write_png(path, rgb, f->width, f->height);
}

int headless_presents() { return presents; }
int headless_set_mode_calls() { return set_modes; }
int headless_restore_mode_calls() { return restores; }
int headless_vblank_waits() { return vblanks; }
int headless_cursor_visible() { return cursor_visible; }
HEADLESS_MODE_TYP headless_last_mode() { return last_mode; }
const char* headless_window_caption() { return caption.c_str(); }

void headless_output_reset() {
  while (!frames.empty()) drop_oldest();
  frame_cap = 8;
  presents = set_modes = restores = vblanks = 0;
  cursor_visible = 1;
  last_mode = {};
  caption.clear();
}
