// Finding the file of the text face, DejaVu Sans Bold: through fontconfig (the desktop's own
// font lookup), else at the path Debian installs it to.
#pragma once

// A way to find the face: writes a path of fewer than size bytes into path and returns 1, or
// returns 0 when it has none.
using PLAT_FONT_SEARCH = int (*)(char* path, int size);

// Where Debian's fonts-dejavu-core puts the face.
constexpr const char* PLAT_FONT_FIXED_PATH = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// Asks fontconfig for DejaVu Sans Bold. 0 when fontconfig offers only some other face: that
// would set the text at another size than the 16-pixel line the screens are laid out for.
int plat_font_find_fontconfig(char* path, int size);

// What `search` finds, else `fixed` when that file can be read, else 0.
int plat_font_choose(PLAT_FONT_SEARCH search, const char* fixed, char* path, int size);

// The search text uses by default: fontconfig, then the fixed path.
int plat_font_find(char* path, int size);
