// Palette files: 256 entries of four decimal numbers (red, green, blue, flags), each stored as
// the low 8 bits of its value. Each entry is read as one "%d %d %d %d": a field that is not a
// number ends that entry, and the next entry is tried from the same place, so junk that is not
// consumed (a letter) stops every later entry while a lone sign is skipped; entries not read keep
// what they held.
#include <cctype>
#include <cstdio>

#include "engine/graphics/palette.h"
#include "platform/file_open.h"
#include "platform/refusal.h"

namespace {

// Reads one decimal number as "%d" would (leading white space, a sign, digits) and gives its low
// 8 bits; values beyond int keep their low bits instead of overflowing. false at end or junk; like
// "%d", a sign already taken stays taken and the character that failed is left for the next read.
bool read_number(FILE* file, uint8_t* out) {
  int c;
  do c = std::fgetc(file);
  while (c != EOF && std::isspace(c));
  bool negative = false;
  if (c == '+' || c == '-') {
    negative = c == '-';
    c = std::fgetc(file);
  }
  if (c == EOF) return false;
  if (!std::isdigit(c)) {
    std::ungetc(c, file);
    return false;
  }
  unsigned value = 0;
  for (; c != EOF && std::isdigit(c); c = std::fgetc(file)) value = (value * 10 + unsigned(c - '0')) & 0xFF;
  if (c != EOF) std::ungetc(c, file);
  *out = uint8_t(negative ? (0u - value) & 0xFF : value);
  return true;
}

}  // namespace

int palette_file_load(const char* file_name, PALETTEENTRY* palette) {
  if (!file_name || !palette) return 0;
  FILE* file = plat_open_regular_file(file_name, "r");
  if (!file) return 0;
  int whole = 0;         // entries read in full
  bool said_why = false;  // only the first entry that falls short is worth telling
  for (int i = 0; i < 256; ++i) {
    uint8_t* fields[4] = {&palette[i].red, &palette[i].green, &palette[i].blue, &palette[i].flags};
    int read = 0;
    for (uint8_t* field : fields) {
      uint8_t value;
      if (!read_number(file, &value)) break;  // the rest of this entry stays as it was
      *field = value;
      ++read;
    }
    if (read == 4) {
      ++whole;
    } else if (!said_why) {
      // The palette is still used as far as it goes; the note tells why its colours are off.
      said_why = true;
      if (std::feof(file))
        plat_refusal_note("cut short (expected 256 colours, found %d)", whole);
      else
        plat_refusal_note("not a palette the game can read (no number at colour %d of 256)", i + 1);
    }
  }
  std::fclose(file);
  return 1;
}

int palette_file_save(const char* file_name, const PALETTEENTRY* palette) {
  if (!file_name || !palette) return 0;
  FILE* file = std::fopen(file_name, "w");
  if (!file) return 0;
  for (int i = 0; i < 256; ++i)
    std::fprintf(file, "\n%d %d %d %d", palette[i].red, palette[i].green, palette[i].blue, palette[i].flags);
  return std::fclose(file) == 0 ? 1 : 0;
}
