// The page's keys: KeyboardEvent.code names to the keyboard state's scan codes.
#pragma once

// The scan code (DIK_ numbering) of a KeyboardEvent.code such as "ArrowRight" or "KeyA", or 0
// for a key the game's keyboard has no code for (and for null).
int web_code_to_dik(const char* code);

// 1 for the keys whose default action in a page (scrolling it, going back) must not happen
// while the game plays: the arrows, Space, the page keys and Backspace. Other keys keep theirs
// (reload, developer tools, leaving full screen).
int web_code_is_page_key(const char* code);
