// libFuzzer target: any bytes as a demo file. A file the reader takes must write anew into one
// it reads back the same (so nothing it holds was half understood).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/core/demo_format.h"

namespace {

bool same(const DEMO_TYP& a, const DEMO_TYP& b) {
  if (a.records.size() != b.records.size() || a.header.seed != b.header.seed ||
      a.header.data_sum != b.header.data_sum)
    return false;
  for (size_t i = 0; i < a.records.size(); ++i) {
    const DEMO_FRAME_TYP x = demo_frame_of(a, i), y = demo_frame_of(b, i);
    if (x.state_reads != y.state_reads || x.downs != y.downs || x.clock.size() != y.clock.size() ||
        x.changes.size() != y.changes.size())
      return false;
    for (size_t k = 0; k < x.clock.size(); ++k)
      if (x.clock[k].value != y.clock[k].value || x.clock[k].count != y.clock[k].count) return false;
    for (size_t k = 0; k < x.changes.size(); ++k)
      if (x.changes[k].read != y.changes[k].read || x.changes[k].dik != y.changes[k].dik ||
          x.changes[k].value != y.changes[k].value)
        return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DEMO_TYP demo;
  std::string reason;
  if (!demo_parse(data, size, &demo, &reason)) {
    if (reason.empty()) std::abort();  // a refusal always says why
    return 0;
  }
  std::vector<uint8_t> again, payload;
  demo_put_header(again, demo.header);
  uint32_t prev = 0;
  for (size_t i = 0; i < demo.records.size(); ++i) demo_put_record(payload, demo_frame_of(demo, i), &prev);
  demo_put_chunk(again, static_cast<uint32_t>(demo.records.size()), payload);
  demo_put_end(again, demo.records.size());
  DEMO_TYP back;
  if (!demo_parse(again.data(), again.size(), &back, &reason) || !same(demo, back)) std::abort();
  return 0;
}
