#include "sim/demo_clock.h"

#include <cstdio>

#include "platform/core/demo_format.h"
#include "platform/file_open.h"

int sim_demo_frame_clocks(const std::string& path, std::vector<uint32_t>* starts,
                          std::string* error) {
  FILE* file = plat_open_regular_file(path.c_str(), "rb");
  if (!file) {
    *error = path + ": cannot be read";
    return 0;
  }
  std::vector<uint8_t> bytes;
  uint8_t block[65536];
  for (size_t got; bytes.size() <= DEMO_MAX_FILE && (got = std::fread(block, 1, sizeof block, file)) > 0;)
    bytes.insert(bytes.end(), block, block + got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  DEMO_TYP demo;
  std::string why;
  if (failed || !demo_parse(bytes.data(), bytes.size(), &demo, &why)) {
    *error = path + ": " + (failed ? "cannot be read" : why);
    return 0;
  }
  starts->clear();
  uint32_t last = 0;
  // Record 0 holds the start-up's reads; frame N is record N + 1.
  for (size_t r = 1; r < demo.records.size(); ++r) {
    const DEMO_RECORD_TYP& record = demo.records[r];
    if (record.run_count > 0) last = demo.runs[record.run_first].value;
    starts->push_back(last);
  }
  return 1;
}
