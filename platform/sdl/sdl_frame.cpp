#include "platform/sdl/sdl_frame.h"

#include <SDL.h>

int sdl_frame_present(SDL_Renderer* renderer, SDL_Texture* texture, const uint8_t* pixels,
                      int pitch, int width, int height, int bpp, int pixel_format,
                      const uint32_t lookup[256]) {
  if (!renderer || !texture || !pixels) return 0;
  void* memory = nullptr;
  int texture_pitch = 0;
  if (SDL_LockTexture(texture, nullptr, &memory, &texture_pitch) != 0) return 0;
  sdl_frame_convert(pixels, pitch, width, height, bpp, pixel_format, lookup,
                    static_cast<uint8_t*>(memory), texture_pitch);
  SDL_UnlockTexture(texture);
  // Clearing first keeps the letterbox bars black whatever was there before.
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  if (SDL_RenderCopy(renderer, texture, nullptr, nullptr) != 0) return 0;
  SDL_RenderPresent(renderer);
  return 1;
}
