// The fault table: for each kind of call, how many more calls may succeed (-1: no fault).
#include "platform/faults.h"

namespace {
int succeed_left[CALL_COUNT] = {};
bool table_ready = false;

void ready() {
  if (table_ready) return;
  for (int& n : succeed_left) n = -1;
  table_ready = true;
}

bool known(PLAT_CALL call) { return call >= 0 && call < CALL_COUNT; }
}  // namespace

void plat_fault_set(PLAT_CALL call, int succeed_first) {
  ready();
  if (!known(call)) return;
  succeed_left[call] = succeed_first < 0 ? -1 : succeed_first;
}

void plat_fault_clear_all() {
  table_ready = false;
  ready();
}

int plat_fault(PLAT_CALL call) {
  ready();
  if (!known(call)) return 0;
  int& left = succeed_left[call];
  if (left < 0) return 0;
  if (left > 0) {
    --left;
    return 0;
  }
  return 1;
}
