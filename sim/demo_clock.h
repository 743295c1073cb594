// Where each frame of a demo began on its game's clock, for a replay that must time something
// by it (the mix) without reading the clock itself: a read of its own would part the replay
// from the recording.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The first clock reading of every frame the demo at `path` holds (a frame that read no clock
// keeps the one before it). 1, or 0 with the reason in *error.
int sim_demo_frame_clocks(const std::string& path, std::vector<uint32_t>* starts,
                          std::string* error);
