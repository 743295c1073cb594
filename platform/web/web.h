// What the page's main loop needs of the web backend, beyond the platform's own services.
#pragma once
#include <cstdint>

// Whole ms until the next pass may start (0: now): the frame clock's last wait ends then.
uint32_t web_ms_until_next_pass();

// 1 while the page is hidden (another tab in front, the window minimised). The loop rests
// then: a player who cannot see the game is not made to play it.
int web_page_hidden();
// Called when the page is shown again, to start the loop again.
void web_on_page_shown(void (*shown)());

// The page's own line under the picture (the end of the game, a failure), or "" to clear it.
void web_show_line(const char* text);
