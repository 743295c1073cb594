// The presentation target and showing a frame on it. With an accelerated renderer the frame is
// converted once into a streaming texture in the renderer's own format and the renderer scales
// it (sharp: the texture holds the frame blown up by the whole factor and the renderer's linear
// filter takes it the rest of the way). With only software rendering, SDL's renderer would
// clear, copy, convert and scale the frame again on the processor; the frame is drawn instead,
// converted, scaled and letterboxed in one pass, straight into the window's surface.
#include <cstring>

#include "platform/sdl/sdl_frame_scale.h"
#include "platform/sdl/sdl_state.h"

// The player's choice; it outlasts the backend, as the window preference does.
static int scale_mode = SCALE_NEAREST;

void plat_display_set_scale(int scale) {
  scale_mode = scale == SCALE_SHARP || scale == SCALE_INTEGER ? scale : SCALE_NEAREST;
}

int sdl_frame_format_of(const SDL_PixelFormat* format, FRAME_FORMAT_TYP* out) {
  if (!format || format->BytesPerPixel != 4 || format->Rloss || format->Gloss || format->Bloss)
    return 0;
  *out = {format->Rshift, format->Gshift, format->Bshift, format->Amask};
  return 1;
}

namespace {

// The first texture format the renderer takes natively whose channels are 8 bits in 32.
Uint32 native_texture_format(SDL_Renderer* renderer, FRAME_FORMAT_TYP* frame_format) {
  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(renderer, &info) == 0) {
    for (Uint32 i = 0; i < info.num_texture_formats; ++i) {
      const Uint32 candidate = info.texture_formats[i];
      if (SDL_ISPIXELFORMAT_FOURCC(candidate) || SDL_BYTESPERPIXEL(candidate) != 4) continue;
      SDL_PixelFormat* format = SDL_AllocFormat(candidate);
      const int usable = format && sdl_frame_format_of(format, frame_format);
      if (format) SDL_FreeFormat(format);
      if (usable) return candidate;
    }
  }
  *frame_format = FRAME_ARGB8888;
  return SDL_PIXELFORMAT_ARGB8888;
}

int window_surface_usable() {
  FRAME_FORMAT_TYP format;
  SDL_Surface* surface = SDL_GetWindowSurface(sdl_backend.window);
  return surface && sdl_frame_format_of(surface->format, &format);
}

// An OpenGL renderer counts as accelerated even when Mesa rasterises on the processor (llvmpipe
// under Xvfb or on a desktop without a GPU driver); its threads would then scale every frame
// again, at several times the cost of the one-pass draw into the window.
bool rasterises_in_software(SDL_Renderer* renderer) {
  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(renderer, &info) != 0 || !info.name || std::strncmp(info.name, "opengl", 6))
    return false;
  using GET_STRING = const unsigned char* (*)(unsigned);
  const auto get_string = reinterpret_cast<GET_STRING>(SDL_GL_GetProcAddress("glGetString"));
  if (!get_string || !SDL_GL_GetCurrentContext()) return false;
  constexpr unsigned GL_RENDERER_NAME = 0x1F01;
  const char* name = reinterpret_cast<const char*>(get_string(GL_RENDERER_NAME));
  return name && (std::strstr(name, "llvmpipe") || std::strstr(name, "softpipe") ||
                  std::strstr(name, "Software Rasterizer") || std::strstr(name, "swrast"));
}

void choose_target() {
  // A render driver named in SDL_RENDER_DRIVER is used as asked, software or not.
  const char* asked = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
  const bool driver_asked = asked && asked[0];
  // Without a GPU device an accelerated renderer would be a software rasteriser, not used.
  if (driver_asked || sdl_gpu_device_present("/dev"))
    sdl_backend.renderer =
        SDL_CreateRenderer(sdl_backend.window, -1, driver_asked ? 0 : SDL_RENDERER_ACCELERATED);
  if (sdl_backend.renderer && !driver_asked && rasterises_in_software(sdl_backend.renderer)) {
    SDL_DestroyRenderer(sdl_backend.renderer);
    sdl_backend.renderer = nullptr;
  }
  if (sdl_backend.renderer) return;
  // The window's own surface, not a texture of a renderer behind it.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (window_surface_usable()) {
    sdl_backend.window_surface = 1;
    return;
  }
  // A window surface of a format the conversion cannot write: SDL's software renderer converts.
  sdl_backend.renderer = SDL_CreateRenderer(sdl_backend.window, -1, SDL_RENDERER_SOFTWARE);
}

}  // namespace

// A streaming texture of width x height, filtered linearly or not; kept while its size stays.
static int make_texture(int width, int height, int linear) {
  if (!sdl_backend.texture || sdl_backend.texture_width != width ||
      sdl_backend.texture_height != height) {
    if (sdl_backend.texture) SDL_DestroyTexture(sdl_backend.texture);
    sdl_backend.texture_width = sdl_backend.texture_height = 0;
    const Uint32 format = native_texture_format(sdl_backend.renderer, &sdl_backend.texture_format);
    sdl_backend.texture =
        SDL_CreateTexture(sdl_backend.renderer, format, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!sdl_backend.texture) return 0;
    sdl_backend.texture_width = width;
    sdl_backend.texture_height = height;
  }
  SDL_SetTextureScaleMode(sdl_backend.texture, linear ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  return 1;
}

int sdl_open_presentation(int width, int height) {
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  // No vsync: the frame clock paces the game, and a blocking present would stretch frames.
  if (!sdl_backend.renderer && !sdl_backend.window_surface) choose_target();
  sdl_frame_forget_drawn();
  if (sdl_backend.window_surface) return 1;
  if (!sdl_backend.renderer) return 0;
  if (!make_texture(width, height, 0)) return 0;
  // The mode's picture keeps its shape at any window size: bars fill the rest.
  SDL_RenderSetLogicalSize(sdl_backend.renderer, width, height);
  return 1;
}

void sdl_release_presentation() {
  sdl_frame_forget_drawn();
  if (sdl_backend.texture) SDL_DestroyTexture(sdl_backend.texture);
  if (sdl_backend.renderer) SDL_DestroyRenderer(sdl_backend.renderer);
  sdl_backend.texture = nullptr;
  sdl_backend.texture_width = sdl_backend.texture_height = 0;
  sdl_backend.renderer = nullptr;
  sdl_backend.window_surface = 0;
  sdl_backend.mode_width = 0;
  sdl_backend.mode_height = 0;
}

// The frame's colours in a target format, made again only when the palette (8 bits), the
// pixel format (16 bits) or the target's format differs from the last frame's.
static const FRAME_COLOURS_TYP& colours_for(const FRAME_FORMAT_TYP& format, int bpp,
                                            const PALETTEENTRY* palette, int pixel_format) {
  static FRAME_COLOURS_TYP colours;  // 3 KB, kept off the stack
  static struct {
    int valid, bpp, pixel_format;
    FRAME_FORMAT_TYP format;
    PALETTEENTRY palette[256];
  } made = {};
  const bool same_format = made.valid && made.bpp == bpp && made.format.red_shift == format.red_shift &&
                           made.format.green_shift == format.green_shift &&
                           made.format.blue_shift == format.blue_shift && made.format.fixed == format.fixed;
  if (bpp == 8) {
    if (same_format && std::memcmp(made.palette, palette, sizeof made.palette) == 0) return colours;
    sdl_frame_colours8(format, palette, &colours);
    std::memcpy(made.palette, palette, sizeof made.palette);
  } else {
    if (same_format && made.pixel_format == pixel_format) return colours;
    sdl_frame_colours16(format, pixel_format, &colours);
  }
  made.valid = 1;
  made.bpp = bpp;
  made.pixel_format = pixel_format;
  made.format = format;
  return colours;
}

int sdl_show_frame(const uint8_t* pixels, int pitch, int width, int height, int bpp,
                   const PALETTEENTRY* palette, int pixel_format) {
  if (sdl_backend.window_surface) {
    SDL_Surface* surface = SDL_GetWindowSurface(sdl_backend.window);
    FRAME_FORMAT_TYP format;
    if (!surface || !sdl_frame_format_of(surface->format, &format)) return 0;
    const FRAME_COLOURS_TYP& colours = colours_for(format, bpp, palette, pixel_format);
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) {
      sdl_frame_forget_drawn();
      return 0;
    }
    // Only the pixels drawn from frame pixels that changed are drawn and sent. A surface that holds this picture already
    // is on the screen already: nothing goes to the window system (an exposed, resized or
    // re-shown window forgets what was drawn, so its next frame is drawn and sent whole).
    SDL_Rect bands[64];
    const int count = sdl_frame_draw_changed(surface, scale_mode, pixels, pitch, width, height,
                                             bpp, pixel_format, palette, colours, bands, 64);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    if (count == 0) return 1;
    return SDL_UpdateWindowSurfaceRects(sdl_backend.window, bands, count) == 0 ? 1 : 0;
  }
  if (!sdl_backend.renderer) return 0;
  int output_width = 0, output_height = 0;
  if (SDL_GetRendererOutputSize(sdl_backend.renderer, &output_width, &output_height) != 0) return 0;
  int factor = 1;
  if (scale_mode == SCALE_SHARP) {
    factor = sdl_frame_whole_factor(width, height, output_width, output_height);
    if (factor < 1) factor = 1;
  }
  if (!make_texture(factor * width, factor * height, scale_mode == SCALE_SHARP)) return 0;
  const FRAME_COLOURS_TYP& colours = colours_for(sdl_backend.texture_format, bpp, palette, pixel_format);
  void* memory = nullptr;
  int texture_pitch = 0;
  if (SDL_LockTexture(sdl_backend.texture, nullptr, &memory, &texture_pitch) != 0) return 0;
  sdl_frame_draw(pixels, pitch, width, height, colours, static_cast<uint8_t*>(memory),
                 texture_pitch, factor * width, factor * height);
  SDL_UnlockTexture(sdl_backend.texture);
  // The renderer draws the bars: clearing is its own (cheap) work there.
  SDL_SetRenderDrawColor(sdl_backend.renderer, 0, 0, 0, 255);
  SDL_RenderClear(sdl_backend.renderer);
  int copied = 0;
  if (scale_mode == SCALE_NEAREST) {
    SDL_RenderSetLogicalSize(sdl_backend.renderer, width, height);
    copied = SDL_RenderCopy(sdl_backend.renderer, sdl_backend.texture, nullptr, nullptr);
  } else {
    // Our own place for the picture, in output pixels: no logical size scaling it again.
    SDL_RenderSetLogicalSize(sdl_backend.renderer, 0, 0);
    const FRAME_VIEW_TYP view =
        sdl_frame_fit_scaled(scale_mode, width, height, output_width, output_height);
    const SDL_Rect place = {view.x, view.y, view.width, view.height};
    copied = SDL_RenderCopy(sdl_backend.renderer, sdl_backend.texture, nullptr, &place);
  }
  if (copied != 0) return 0;
  SDL_RenderPresent(sdl_backend.renderer);
  return 1;
}
