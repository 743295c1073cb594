// The desktop icon: the skeleton's skull, drawn by the sprites' own renderer, before the title
// screen's red moon, at each size the icon theme is given.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

constexpr int ICON_SIZES[] = {32, 64, 128, 256};

// Paints the icon at size x size pixels as straight (not premultiplied) RGBA, rows top-down.
// size is a multiple of 4.
void icon_paint(int size, std::vector<uint8_t>* rgba);

// Writes DIR/<N>x<N>/apps/ashfallow.png for every size, the layout of an icon theme's folder.
// 1, or 0 with a message on stderr.
int icon_write_all(const std::string& dir);
