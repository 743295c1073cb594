#include "engine/math/trig.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

namespace {

// Exact float comparison by bit pattern: the tables must hold these values to the last bit.
uint32_t bits(float f) { return std::bit_cast<uint32_t>(f); }

class TrigTables : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { build_trig_tables(); }
};

TEST_F(TrigTables, ReferenceEntriesHoldExactly) {
  EXPECT_EQ(bits(cos_table[0]), bits(1.0f));
  EXPECT_EQ(bits(sin_table[0]), bits(0.0f));
  EXPECT_EQ(bits(cos_table[90]), bits(-4.37113883e-08f));
  EXPECT_EQ(bits(sin_table[90]), bits(1.0f));
  EXPECT_EQ(bits(cos_table[180]), bits(-1.0f));
  EXPECT_EQ(bits(sin_table[180]), bits(-8.74227766e-08f));
  EXPECT_EQ(bits(cos_table[270]), bits(1.19248806e-08f));
  EXPECT_EQ(bits(sin_table[270]), bits(-1.0f));
  EXPECT_EQ(bits(cos_table[1]), bits(0.999847710f));
  EXPECT_EQ(bits(sin_table[1]), bits(0.0174524058f));
}

TEST_F(TrigTables, Entry360IsARealEntryNotZero) {
  EXPECT_EQ(bits(cos_table[360]), bits(1.0f));
  EXPECT_EQ(bits(sin_table[360]), bits(1.74845553e-07f));
  // Heading 360 moves an actor to the right, as heading 0 does.
  EXPECT_GT(cos_table[360] * 2.0f, 1.99f);
  EXPECT_LT(sin_table[360] * 2.0f, 1e-6f);
}

TEST_F(TrigTables, NinetyDegreesPointsDownTheScreen) {
  EXPECT_FLOAT_EQ(sin_table[90] * 2.0f, 2.0f);
  EXPECT_LT(cos_table[90], 0.0f);  // a tiny negative, not exactly zero
  EXPECT_NE(cos_table[90], 0.0f);
}

TEST_F(TrigTables, EveryEntryComesFromTheSinglePrecisionAngle) {
  // Independent recomputation: widen the float pi, round the angle to float, then take the
  // double cosine and sine of it.
  const double pi = 3.1415927410125732;
  for (int i = 0; i <= 360; ++i) {
    float angle = static_cast<float>(i * pi / 180.0);
    EXPECT_EQ(bits(cos_table[i]), bits(static_cast<float>(__builtin_cos(static_cast<double>(angle))))) << i;
    EXPECT_EQ(bits(sin_table[i]), bits(static_cast<float>(__builtin_sin(static_cast<double>(angle))))) << i;
  }
}

}  // namespace
