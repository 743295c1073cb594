// Key names a person types in a key script ("space", "escape", "left", "lshift", "a", "7").
#pragma once

// The DIK_ scan code of a key name (case does not matter), or 0 for an unknown name.
int sim_key_by_name(const char* name);
