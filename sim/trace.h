// One JSON object per frame: the state a replay is compared by.
#pragma once
#include <cstdio>

// Writes the line of the frame just run in `pass`.
void sim_trace_frame(std::FILE* out, int pass);
