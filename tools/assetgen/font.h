// Text for the screens, rendered with FreeType from the DejaVu faces (anti-aliased coverage).
#pragma once
#include "tools/assetgen/paint.h"

constexpr const char* FONT_SANS_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
constexpr const char* FONT_SANS = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* FONT_SERIF_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf";

// Adds the coverage of text, its baseline starting at (x, y), into the mask. 1, or 0 when the face
// cannot be loaded.
int font_draw(MASK_TYP* mask, const char* face_file, int pixel_height, int x, int y, const char* text);
// Advance width of the text in pixels (0 when the face cannot be loaded).
int font_width(const char* face_file, int pixel_height, const char* text);
