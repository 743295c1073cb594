// Brings the sdl backend up for a test on SDL's dummy video driver: a fresh window system, the
// game's kind of window, the display in a mode, and the keyboard device acquired. Everything is
// torn down again after the test, so each test starts from a fresh backend.
#pragma once
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/core/backend.h"
#include "platform/display.h"
#include "platform/keys.h"
#include "platform/sdl/sdl_state.h"
#include "platform/window.h"

// Sets or unsets an environment variable for one scope and puts the old value back after.
class EnvGuard {
 public:
  EnvGuard(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~EnvGuard() {
    if (had_) {
      setenv(name_.c_str(), old_.c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
  }
  EnvGuard(const EnvGuard&) = delete;
  EnvGuard& operator=(const EnvGuard&) = delete;

 private:
  std::string name_;
  std::string old_;
  bool had_ = false;
};

// The window system, keys and display of a fresh process (the sdl backend leaves these to
// the shared code, which keeps them across start-ups).
inline void fresh_platform() {
  plat_windows_reset();
  plat_keys_reset();
  plat_display_reset();
}

// Validates paints (as the game's procedure does) and swallows everything else.
inline LRESULT quiet_window_proc(WINDOW_TYP* window, unsigned message, WPARAM wparam,
                                 LPARAM lparam) {
  if (message == WM_PAINT) return plat_def_window_proc(window, message, wparam, lparam);
  return 0;
}

class SdlWindow : public ::testing::Test {
 protected:
  // No real display, ever: the dummy drivers for the whole test.
  EnvGuard video_driver_{"SDL_VIDEODRIVER", "dummy"};
  EnvGuard audio_driver_{"SDL_AUDIODRIVER", "dummy"};

  // The mode each test starts in; full-screen as the game opens it.
  virtual int start_bpp() const { return 8; }
  virtual int start_fullscreen() const { return 1; }

  void SetUp() override {
    fresh_platform();
    char reason[256];
    ASSERT_EQ(plat_startup(reason, sizeof reason), 1) << reason;
    started_ = true;
    WNDCLASS_TYP window_class = {CS_OWNDC, quiet_window_proc, "SDLTESTCLASS", 1};
    ASSERT_NE(plat_register_class(&window_class), 0);
    window_ = plat_create_window("SDLTESTCLASS", "sdl test", WS_POPUP | WS_VISIBLE, 0, 0, 640,
                                 480);
    ASSERT_NE(window_, nullptr);
    ASSERT_NE(sdl_backend.window, nullptr);
    ASSERT_EQ(plat_display_set_mode(window_, 640, 480, start_bpp(), start_fullscreen()), 1);
    ASSERT_EQ(plat_input_create(), 1);
    ASSERT_EQ(plat_keyboard_create(), 1);
    ASSERT_EQ(plat_keyboard_set_cooperative_level(window_, 0), 1);
    ASSERT_EQ(plat_keyboard_set_data_format(), 1);
    ASSERT_EQ(plat_keyboard_acquire(), 1);
    // Whatever SDL said while the window appeared (shown, exposed) is handled before the test.
    drain();
  }

  void TearDown() override {
    plat_display_restore_mode();
    if (window_) plat_destroy_window(window_);
    if (started_) plat_shutdown();
    fresh_platform();
  }

  // Lets the backend turn pending SDL events into messages and key changes.
  static void pump() {
    MSG_TYP msg;
    plat_peek_message(&msg, PM_NOREMOVE);
  }

  // Removes every queued message and returns them in order; paints are validated on the way
  // (they would otherwise come back forever), nothing else is dispatched.
  std::vector<unsigned> drain() {
    std::vector<unsigned> seen;
    MSG_TYP msg;
    for (int i = 0; i < 64 && plat_peek_message(&msg, PM_REMOVE); ++i) {
      seen.push_back(msg.message);
      if (msg.message == WM_PAINT) plat_dispatch_message(&msg);
    }
    return seen;
  }

  static std::vector<uint8_t> key_state() {
    std::vector<uint8_t> state(256, 0xEE);
    EXPECT_EQ(plat_keyboard_get_state(256, state.data()), 1);
    return state;
  }

  Uint32 window_id() const { return SDL_GetWindowID(sdl_backend.window); }

  void push_key(SDL_Scancode code, bool down, Uint16 mod = KMOD_NONE, Uint8 repeat = 0) {
    SDL_Event event{};
    event.key.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.timestamp = SDL_GetTicks();
    event.key.windowID = window_id();
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat;
    event.key.keysym.scancode = code;
    event.key.keysym.sym = SDL_GetKeyFromScancode(code);
    event.key.keysym.mod = mod;
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
  }

  void push_window_event(SDL_WindowEventID what) {
    SDL_Event event{};
    event.window.type = SDL_WINDOWEVENT;
    event.window.timestamp = SDL_GetTicks();
    event.window.windowID = window_id();
    event.window.event = static_cast<Uint8>(what);
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
  }

  static void push_quit() {
    SDL_Event event{};
    event.quit.type = SDL_QUIT;
    event.quit.timestamp = SDL_GetTicks();
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
  }

  static bool window_fullscreen() {
    return (SDL_GetWindowFlags(sdl_backend.window) & SDL_WINDOW_FULLSCREEN_DESKTOP) ==
           SDL_WINDOW_FULLSCREEN_DESKTOP;
  }

  // The picture the window shows as 0xAARRGGBB rows, from the renderer when there is one, else
  // from the window's surface. Empty when it cannot be read.
  static std::vector<uint32_t> shown_picture(int* width, int* height) {
    int w = 0, h = 0;
    std::vector<uint32_t> pixels;
    if (sdl_backend.renderer) {
      if (SDL_GetRendererOutputSize(sdl_backend.renderer, &w, &h) != 0 || w <= 0 || h <= 0) return {};
      pixels.resize(static_cast<size_t>(w) * h);
      // The whole output, bars included: with a logical size SDL reads only the picture's part.
      int logical_w = 0, logical_h = 0;
      SDL_RenderGetLogicalSize(sdl_backend.renderer, &logical_w, &logical_h);
      SDL_RenderSetLogicalSize(sdl_backend.renderer, 0, 0);
      SDL_RenderSetViewport(sdl_backend.renderer, nullptr);
      const int read = SDL_RenderReadPixels(sdl_backend.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888,
                                            pixels.data(), w * 4);
      SDL_RenderSetLogicalSize(sdl_backend.renderer, logical_w, logical_h);
      if (read != 0) return {};
    } else {
      SDL_Surface* surface = SDL_GetWindowSurface(sdl_backend.window);
      if (!surface) return {};
      w = surface->w;
      h = surface->h;
      pixels.resize(static_cast<size_t>(w) * h);
      if (SDL_ConvertPixels(w, h, surface->format->format, surface->pixels, surface->pitch,
                            SDL_PIXELFORMAT_ARGB8888, pixels.data(), w * 4) != 0)
        return {};
    }
    if (width) *width = w;
    if (height) *height = h;
    return pixels;
  }

  WINDOW_TYP* window_ = nullptr;
  bool started_ = false;
};
