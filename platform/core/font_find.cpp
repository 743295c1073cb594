// The text face's file through fontconfig, with Debian's fixed path as the fallback.
#include "platform/core/font_find.h"

#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <cstring>

namespace {

// Copies a whole path; 0 (and nothing copied) when it does not fit.
int copy_path(const char* from, char* path, int size) {
  if (!from || !path || size <= 0) return 0;
  const size_t length = std::strlen(from);
  if (length == 0 || length >= static_cast<size_t>(size)) return 0;
  std::memcpy(path, from, length + 1);
  return 1;
}

}  // namespace

int plat_font_find_fontconfig(char* path, int size) {
  // A configuration of our own, released again: nothing of fontconfig stays behind.
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) return 0;
  int found = 0;
  FcPattern* wanted = FcNameParse(reinterpret_cast<const FcChar8*>("DejaVu Sans:bold"));
  if (wanted) {
    FcConfigSubstitute(config, wanted, FcMatchPattern);
    FcDefaultSubstitute(wanted);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, wanted, &result);
    if (match) {
      FcChar8* family = nullptr;
      FcChar8* file = nullptr;
      int weight = 0;
      // fontconfig always offers its best match; only the face itself will do.
      if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch &&
          FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
          FcPatternGetInteger(match, FC_WEIGHT, 0, &weight) == FcResultMatch &&
          std::strcmp(reinterpret_cast<const char*>(family), "DejaVu Sans") == 0 &&
          weight >= FC_WEIGHT_BOLD)
        found = copy_path(reinterpret_cast<const char*>(file), path, size);
      FcPatternDestroy(match);
    }
    FcPatternDestroy(wanted);
  }
  FcConfigDestroy(config);
  return found;
}

int plat_font_choose(PLAT_FONT_SEARCH search, const char* fixed, char* path, int size) {
  if (!path || size <= 0) return 0;
  if (search && search(path, size)) return 1;
  if (fixed && ::access(fixed, R_OK) == 0) return copy_path(fixed, path, size);
  return 0;
}

int plat_font_find(char* path, int size) {
  return plat_font_choose(plat_font_find_fontconfig, PLAT_FONT_FIXED_PATH, path, size);
}
