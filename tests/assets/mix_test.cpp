// The game's mix as a player hears it, rendered headlessly: the laser, played at the quietest
// level the game sets, still lifts the 1-4 kHz band well over the music, and the strike stands
// clear of the music as it lands. Four shots at moments of different density in the piece.
#include <gtest/gtest.h>

#include "tools/assetgen/mix_meter/mix_measure.h"

namespace {

TEST(Mix, TheLaserAndTheStrikeAreHeardOverTheMusic) {
  const std::vector<double> shots = {6.0, 15.7, 25.4, 35.1};
  const MIX_SHOTS_TYP measured = mix_measure_shots(ASHFALLOW_DATA_DIR, shots, 36.0);
  ASSERT_EQ(measured.laser.size(), shots.size());
  ASSERT_EQ(measured.strike.size(), shots.size());
  for (size_t i = 0; i < shots.size(); ++i) {
    SCOPED_TRACE("shot at " + std::to_string(shots[i]) + " s");
    const MIX_SHOT_TYP& laser = measured.laser[i];
    // The music really plays there, so the lift is against something.
    EXPECT_GT(laser.music_db, -60.0);
    EXPECT_GE(laser.both_db - laser.music_db, 6.0) << "the laser lifts the 1-4 kHz band";
    const MIX_SHOT_TYP& strike = measured.strike[i];
    EXPECT_GT(strike.music_db, -60.0);
    EXPECT_GE(strike.effect_db - strike.music_db, 10.0) << "the strike in its first 25 ms";
  }
}

}  // namespace
