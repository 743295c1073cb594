// An accelerated renderer is tried only where a GPU device node exists.
#include <gtest/gtest.h>


#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/sdl/sdl_frame.h"
#include "tests/support/temp_path.h"

namespace {

struct PROBE_CASE {
  const char* name;
  std::vector<std::string> nodes;  // made under the root; a trailing '/' makes a folder
  int present;
};

const PROBE_CASE CASES[] = {
    {"NoDevices", {}, 0},
    {"EmptyDri", {"dri/"}, 0},
    {"DriWithoutNodes", {"dri/by-path/"}, 0},
    {"Card", {"dri/card0"}, 1},
    {"RenderNode", {"dri/by-path/", "dri/renderD128"}, 1},
    {"Nvidia", {"nvidia0"}, 1},
    {"NvidiaControlOnly", {"nvidiactl"}, 0},
};

class GpuProbe : public ::testing::TestWithParam<PROBE_CASE> {};

TEST_P(GpuProbe, SaysWhetherAGpuNodeExists) {
  const std::filesystem::path root = test_temp_path("dev");
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root);
  for (const std::string& node : GetParam().nodes) {
    const std::filesystem::path path = root / node;
    if (node.back() == '/') {
      std::filesystem::create_directories(path);
    } else {
      std::filesystem::create_directories(path.parent_path());
      std::FILE* f = std::fopen(path.c_str(), "w");
      ASSERT_NE(f, nullptr);
      std::fclose(f);
    }
  }
  EXPECT_EQ(sdl_gpu_device_present(root.c_str()), GetParam().present);
  std::filesystem::remove_all(root);
}

INSTANTIATE_TEST_SUITE_P(Nodes, GpuProbe, ::testing::ValuesIn(CASES),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GpuProbeEdge, AMissingRootOrNoneIsNoGpu) {
  EXPECT_EQ(sdl_gpu_device_present(test_temp_path("absent").c_str()), 0);
  EXPECT_EQ(sdl_gpu_device_present(nullptr), 0);
}

}  // namespace
