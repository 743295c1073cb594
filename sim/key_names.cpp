#include "sim/key_names.h"

#include <cctype>
#include <cstring>

namespace {

struct KEY_NAME_TYP {
  const char* name;
  int dik;
};

// Scan codes of the keyboard state (PC set 1; extended keys carry 0x80).
constexpr KEY_NAME_TYP named_keys[] = {
    {"escape", 0x01},    {"esc", 0x01},       {"backspace", 0x0E}, {"tab", 0x0F},
    {"return", 0x1C},    {"enter", 0x1C},     {"lcontrol", 0x1D},  {"lctrl", 0x1D},
    {"lshift", 0x2A},    {"rshift", 0x36},    {"lalt", 0x38},      {"lmenu", 0x38},
    {"space", 0x39},     {"rcontrol", 0x9D},  {"rctrl", 0x9D},     {"ralt", 0xB8},
    {"rmenu", 0xB8},     {"home", 0xC7},      {"up", 0xC8},        {"pageup", 0xC9},
    {"left", 0xCB},      {"right", 0xCD},     {"end", 0xCF},       {"down", 0xD0},
    {"pagedown", 0xD1},  {"insert", 0xD2},    {"delete", 0xD3},    {"f11", 0x57},
    {"f12", 0x58},
};

// Letters by their place on the keyboard rows, as the scan codes number them.
constexpr const char* letter_rows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
constexpr int letter_row_starts[] = {0x10, 0x1E, 0x2C};

int equal_ignoring_case(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    if (std::tolower(static_cast<unsigned char>(*a)) != *b) return 0;
  }
  return *a == *b;
}

}  // namespace

int sim_key_by_name(const char* name) {
  if (!name || !name[0]) return 0;
  for (const KEY_NAME_TYP& key : named_keys) {
    if (equal_ignoring_case(name, key.name)) return key.dik;
  }
  if (!name[1]) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(name[0])));
    if (c >= '1' && c <= '9') return 0x02 + (c - '1');
    if (c == '0') return 0x0B;
    for (int row = 0; row < 3; ++row) {
      if (const char* at = std::strchr(letter_rows[row], c)) {
        return letter_row_starts[row] + static_cast<int>(at - letter_rows[row]);
      }
    }
  }
  // "f1" .. "f10" follow one another.
  if ((name[0] == 'f' || name[0] == 'F') && name[1] >= '1' && name[1] <= '9') {
    if (!name[2]) return 0x3B + (name[1] - '1');
    if (name[1] == '1' && name[2] == '0' && !name[3]) return 0x44;
  }
  return 0;
}
