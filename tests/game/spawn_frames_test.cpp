// Every skeleton spawned shows the same frames, cut from the sheets on disk as they are now,
// whether or not others already stand in the field; a lock that fails or a sheet that is missing
// leaves exactly those frames blank, as it would for the first skeleton.
#include <filesystem>
#include <string>
#include <vector>

#include "game/actor_art.h"
#include "game/spawn.h"
#include "platform/core/backend.h"
#include "platform/faults.h"
#include "tests/game/game_fixture.h"

namespace {

using Frame = std::vector<uint8_t>;

Frame frame_bytes(const BOB_TYP& actor, int frame) {
  SURFACE_TYP* s = actor.frame_surfaces[frame];
  int pitch = 0;
  const uint8_t* p = plat_surface_pixels(s, &pitch);
  return Frame(p, p + size_t(pitch) * size_t(plat_surface_height(s)));
}

std::vector<Frame> frames_of(const BOB_TYP& actor) {
  std::vector<Frame> out;
  for (int f = 0; f < SKELETON_FRAMES; ++f) out.push_back(frame_bytes(actor, f));
  return out;
}

bool blank(const Frame& f) {
  for (uint8_t b : f)
    if (b != 0) return false;
  return true;
}

class SpawnFrames : public GameRules {
 protected:
  void SetUp() override {
    GameRules::SetUp();
    std::filesystem::current_path(ASHFALLOW_DATA_DIR);
  }
  void TearDown() override {
    plat_fault_clear_all();
    GameRules::TearDown();
    std::filesystem::current_path(old_dir_);
  }
  // The frames of one more skeleton spawned into the field as it stands.
  std::vector<Frame> spawn() {
    EXPECT_EQ(spawn_edge_skeleton(), 1);
    return frames_of(skeleton_list.back());
  }
  const std::filesystem::path old_dir_ = std::filesystem::current_path();
};

TEST_F(SpawnFrames, EverySkeletonShowsTheFramesOfTheFirst) {
  put_skeleton(300, 200);  // the player's record, without a sprite
  const std::vector<Frame> first = spawn();
  for (const Frame& f : first) EXPECT_FALSE(blank(f));
  EXPECT_NE(first[0], first[4]);  // the facings differ
  for (int i = 0; i < 3; ++i) EXPECT_EQ(spawn(), first);
  // With nobody left holding them, the frames come back the same.
  while (skeleton_list.size() > 1) actor_remove(&skeleton_list, 1);
  EXPECT_EQ(spawn(), first);
}

TEST_F(SpawnFrames, AFailedLockLeavesTheFramesAfterItBlankAmongSharers) {
  put_skeleton(300, 200);
  const std::vector<Frame> first = spawn();
  for (int locks : {0, 1, 17, 35}) {
    SCOPED_TRACE(locks);
    plat_fault_set(CALL_SURFACE_LOCK, locks);
    const std::vector<Frame> faulted = spawn();
    plat_fault_set(CALL_SURFACE_LOCK, -1);
    for (int f = 0; f < SKELETON_FRAMES; ++f) {
      if (f < locks)
        EXPECT_EQ(faulted[size_t(f)], first[size_t(f)]) << f;
      else
        EXPECT_TRUE(blank(faulted[size_t(f)])) << f;
    }
  }
  EXPECT_EQ(spawn(), first);  // and the next one is whole again
}

TEST_F(SpawnFrames, AMissingSheetLeavesItsFramesBlankAndAChangedOneIsReadAgain) {
  put_skeleton(300, 200);
  const std::vector<Frame> first = spawn();
  const std::filesystem::path dir =
      std::filesystem::path(::testing::TempDir()) / ("ashfallow-sheets-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  for (int d = 0; d <= 8; ++d) {
    const std::string name = "SKELSP" + std::to_string(d) + ".BMP";
    if (d != 3) std::filesystem::copy_file(name, dir / name, std::filesystem::copy_options::overwrite_existing);
  }
  std::filesystem::current_path(dir);
  const std::vector<Frame> missing = spawn();
  for (int f = 0; f < SKELETON_FRAMES; ++f) {
    if (f / 4 == 3)
      EXPECT_TRUE(blank(missing[size_t(f)])) << f;
    else
      EXPECT_EQ(missing[size_t(f)], first[size_t(f)]) << f;
  }
  // Sheet 3 comes back as a copy of sheet 5: its frames are those of facing 5 from now on.
  std::filesystem::copy_file("SKELSP5.BMP", "SKELSP3.BMP");
  const std::vector<Frame> changed = spawn();
  for (int k = 0; k < 4; ++k) EXPECT_EQ(changed[size_t(12 + k)], first[size_t(20 + k)]) << k;
  // Sheet 4, read before, rewritten in place with sheet 6's bytes (the same size).
  std::filesystem::copy_file("SKELSP6.BMP", "SKELSP4.BMP", std::filesystem::copy_options::overwrite_existing);
  const std::vector<Frame> rewritten = spawn();
  for (int k = 0; k < 4; ++k) EXPECT_EQ(rewritten[size_t(16 + k)], first[size_t(24 + k)]) << k;
  EXPECT_EQ(rewritten[0], first[0]);
  std::filesystem::current_path(old_dir_);
  std::filesystem::remove_all(dir);
}

}  // namespace
