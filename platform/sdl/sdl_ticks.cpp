// The tick count: milliseconds of a steady clock since the backend first read it, wrapping at
// 32 bits as the old system count did.
#include <chrono>

#include "platform/core/backend.h"

uint32_t plat_backend_ticks() {
  static const auto start = std::chrono::steady_clock::now();
  const auto elapsed = std::chrono::steady_clock::now() - start;
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}
