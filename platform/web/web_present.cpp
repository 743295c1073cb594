// The game's window is the page's canvas: a mode sets the canvas's own size to the mode's, and
// the page shows it as large as fits, sharp and letterboxed (web_frame.h). Each present turns the
// primary's pixels into RGBA and puts them into the canvas.
#include <emscripten.h>
#include <emscripten/html5.h>

#include "platform/core/backend.h"
#include "platform/display.h"
#include "platform/web/web_frame.h"
#include "platform/web/web_state.h"

void web_fit_canvas() {
  if (web_backend.mode_width <= 0) return;
  const double ratio = emscripten_get_device_pixel_ratio();
  const int inner_width = EM_ASM_INT({ return window.innerWidth; });
  const int inner_height = EM_ASM_INT({ return window.innerHeight; });
  // Fitted in device pixels, so the picture's pixels land on whole screen pixels where they can.
  const WEB_VIEW_TYP view =
      web_view_fit(web_backend.mode_width, web_backend.mode_height,
                   static_cast<int>(inner_width * ratio), static_cast<int>(inner_height * ratio));
  EM_ASM(
      {
        var style = Module['canvas'].style;
        style.left = ($0 / $4) + 'px';
        style.top = ($1 / $4) + 'px';
        style.width = ($2 / $4) + 'px';
        style.height = ($3 / $4) + 'px';
      },
      view.x, view.y, view.width, view.height, ratio);
}

int plat_backend_window_created(WINDOW_TYP*, const char* caption, int, int) {
  EM_ASM({ document.title = UTF8ToString($0); }, caption ? caption : "");
  return 1;
}

int plat_backend_set_mode(WINDOW_TYP*, int width, int height, int bpp, int) {
  if (width <= 0 || height <= 0) return 0;
  web_backend.mode_width = width;
  web_backend.mode_height = height;
  web_backend.mode_bpp = bpp;
  web_backend.lookup_bpp = 0;
  web_backend.rgba.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFF000000u);
  emscripten_set_canvas_element_size("#canvas", width, height);
  web_fit_canvas();
  return 1;
}

void plat_backend_restore_mode() {
  web_backend.mode_width = web_backend.mode_height = 0;
  web_backend.rgba.clear();
}

int plat_backend_present(const SURFACE_TYP* primary) {
  if (!primary || web_backend.mode_width <= 0) return 0;
  const int width = plat_surface_width(primary);
  const int height = plat_surface_height(primary);
  if (width != web_backend.mode_width || height != web_backend.mode_height) return 0;
  int pitch = 0;
  const uint8_t* pixels = plat_surface_pixels(primary, &pitch);
  if (!pixels) return 0;
  const int bpp = plat_surface_bpp(primary);
  if (bpp == 8) {
    // The palette can change every frame (each screen sets its own): its lookup is made anew.
    PALETTEENTRY entries[256];
    const PALETTE_TYP* palette = plat_surface_get_palette(primary);
    if (palette) plat_palette_get_entries(palette, 0, 256, entries);
    web_backend.lookup.resize(256);
    web_frame_lookup8(palette ? entries : nullptr, web_backend.lookup.data());
    web_backend.lookup_bpp = 8;
  } else {
    const int format = plat_display_pixel_format(primary);
    if (web_backend.lookup_bpp != 16 || web_backend.lookup_format != format) {
      web_backend.lookup.resize(65536);
      web_frame_lookup16(format, web_backend.lookup.data());
      web_backend.lookup_bpp = 16;
      web_backend.lookup_format = format;
    }
  }
  web_frame_to_rgba(pixels, pitch, width, height, bpp, web_backend.lookup.data(),
                    web_backend.rgba.data());
  EM_ASM(
      {
        var canvas = Module['canvas'];
        if (!Module['frameContext']) Module['frameContext'] = canvas.getContext('2d');
        var image = Module['frameImage'];
        if (!image || image.width != $1 || image.height != $2)
          image = Module['frameImage'] = Module['frameContext'].createImageData($1, $2);
        image.data.set(HEAPU8.subarray($0, $0 + $1 * $2 * 4));
        Module['frameContext'].putImageData(image, 0, 0);
      },
      web_backend.rgba.data(), width, height);
  return 1;
}

// The browser shows the canvas on its own refresh; there is no blank to wait for.
int plat_backend_wait_vblank() { return 1; }

void plat_backend_cursor(int visible) {
  EM_ASM({ Module['canvas'].style.cursor = $0 ? "auto" : "none"; }, visible);
}
