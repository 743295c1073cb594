// Whether the machine has a device a hardware OpenGL driver could drive: a DRM node under
// dri/ or an NVIDIA device node. Without one, an accelerated renderer can only be Mesa's
// software rasteriser, which the presentation would throw away again after paying for its
// start-up (loading the driver and compiling its shaders, about a tenth of a second).
#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

#include "platform/sdl/sdl_frame.h"

int sdl_gpu_device_present(const char* dev_root) {
  if (!dev_root) return 0;
  const std::string root = dev_root;
  struct stat st;
  if (::stat((root + "/nvidia0").c_str(), &st) == 0) return 1;
  DIR* dri = ::opendir((root + "/dri").c_str());
  if (!dri) return 0;
  int found = 0;
  while (const dirent* entry = ::readdir(dri)) {
    if (!std::strncmp(entry->d_name, "card", 4) || !std::strncmp(entry->d_name, "renderD", 7)) {
      found = 1;
      break;
    }
  }
  ::closedir(dri);
  return found;
}
