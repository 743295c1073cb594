// Demos: everything a game read from the platform that can change its course (the keyboard
// state, each "is this key down now", each clock reading) recorded frame by frame into a file,
// and fed back in place of the keyboard and the clock to play the same game again. The game
// itself never knows: the platform's own reads record or replay beneath it. The host program
// marks each frame (plat_demo_frame) and starts and ends the recording or the replay.
#pragma once
#include <cstddef>
#include <cstdint>

// What a demo's header says about the game it holds.
struct DEMO_HEADER_TYP {
  uint32_t seed;      // the random seed the game was started with
  uint32_t data_sum;  // checksum of the data files it read (the host's to compute and compare)
};

// Recording ------------------------------------------------------------------------------

// Creates the file and writes its header; from now on every read is recorded. 1, or 0 with the
// reason in `reason` (nothing is recorded then).
int plat_demo_record_start(const char* path, const DEMO_HEADER_TYP* header, char* reason,
                           int reason_size);
// Writes what is left, the end record, and closes the file. 1, or 0 with the reason when any
// write, the flush or the close failed at any time during the recording (the first failure
// stops the recording; the game goes on).
int plat_demo_record_finish(char* reason, int reason_size);

// Replaying ------------------------------------------------------------------------------

// Reads and checks the whole file; from now on the reads return what it holds. 1, or 0 with the
// reason (the file is not a demo, of another version, truncated or damaged). *unfinished is 1
// when the file has no end record but ends after a whole chunk: a game that stopped without
// closing its demo (a crash), replayable up to the last second it wrote.
int plat_demo_replay_start(const char* path, DEMO_HEADER_TYP* header, int* unfinished,
                           char* reason, int reason_size);
// Waits follow the recording's own time (a window shows the demo at its pace); off by default,
// where a replay runs as fast as it can.
void plat_demo_replay_paced(int paced);
// The frames the loaded demo holds.
long plat_demo_frames();
// Where frame `frame` (0 first) of the loaded demo began on its game's clock: its first clock
// reading, or the last one before it when it read none (0 when none came before). Lets a
// replay time something by the recorded clock without reading the clock itself.
uint32_t plat_demo_frame_clock(long frame);
// Ends the replay: reads go back to the backend. 1 when the game made exactly the reads its
// recording holds (with `whole`, also: it played every frame of it); else 0 with a one-line
// account in `reason` ("at frame N: ..."), the first place where the two parted.
int plat_demo_replay_finish(int whole, char* reason, int reason_size);

// Both ----------------------------------------------------------------------------------

// Called by the host before each game frame. Recording: closes the previous frame's record
// (and writes what was recorded when a second has passed since the last write). Replaying: 1
// when the next frame is in the demo and every reading of the previous frame was used; 0 when
// the demo is over or the game diverged from it (plat_demo_replay_finish says where). 1 when
// neither.
int plat_demo_frame();

// The key with this scan code as the keyboard holds it now, whatever a replay feeds the game
// (a window showing a demo still hears its own Escape).
int plat_demo_live_key(int dik);

// CRC-32 (the zip and PNG one) of size bytes, continuing from crc (0 to begin).
uint32_t plat_demo_crc32(uint32_t crc, const void* data, size_t size);
