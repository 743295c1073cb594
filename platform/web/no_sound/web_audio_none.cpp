// The page built without sound (ASHFALLOW_WEB_SOUND=OFF, to weigh what the sound adds): the
// buffers and the music keep their time in the silent mix and nothing is heard, so no line
// asks for a key.
#include <emscripten.h>

#include <cstdint>

#include "platform/web/silent/voices.h"
#include "platform/web/web_state.h"

void web_audio_show_hint(int) {}
void web_audio_start_on_key() {}
void web_audio_stop() {}

extern "C" EMSCRIPTEN_KEEPALIVE void web_music_rendered(double microseconds) {
  silent_music_set_rendered_length_us(static_cast<int64_t>(microseconds));
}
