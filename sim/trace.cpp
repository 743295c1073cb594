#include "sim/trace.h"

#include "app/game_shell.h"
#include "game/world.h"

void sim_trace_frame(std::FILE* out, int pass) {
  const BOB_TYP* p = skeleton_list.empty() ? nullptr : &skeleton_list[0];
  // %.9g writes every float exactly as it is held, so two runs compare to the bit.
  std::fprintf(out,
               "{\"pass\":%d,\"state\":%d,\"score\":%d,\"health\":%d,\"x\":%.9g,\"y\":%.9g,"
               "\"charge\":%d,\"drain\":%d,\"skeletons\":%zu,\"summons\":%zu,\"dead\":%zu,"
               "\"lasers\":%zu,\"work_us\":%llu}\n",
               pass, game_state, score, p ? p->health : 0, p ? double(p->x) : 0.0,
               p ? double(p->y) : 0.0, p ? p->spawn_charge : 0, drain_amount,
               skeleton_list.size(), summon_list.size(), dead_list.size(), laser_list.size(),
               static_cast<unsigned long long>(frame_work_us));
}
