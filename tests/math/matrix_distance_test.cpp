// Small matrix products and the distance approximations.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "engine/math/fast_distance.h"
#include "engine/math/matrix.h"

namespace {

TEST(Matrices, ThreeByThreeProduct) {
  const MATRIX_3X3_TYP a = {{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}};
  const MATRIX_3X3_TYP b = {{{9, 8, 7}, {6, 5, 4}, {3, 2, 1}}};
  MATRIX_3X3_TYP p;
  EXPECT_EQ(matrix_mul_3x3(&a, &b, &p), 1);
  const float expected[3][3] = {{30, 24, 18}, {84, 69, 54}, {138, 114, 90}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(p.M[r][c], expected[r][c]) << r << c;
  // Written over its own input.
  MATRIX_3X3_TYP self = a;
  EXPECT_EQ(matrix_mul_3x3(&self, &b, &self), 1);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(self.M[r][c], expected[r][c]);
  EXPECT_EQ(matrix_mul_3x3(nullptr, &b, &p), 0);
}

TEST(Matrices, RowTimesMatrix) {
  const MATRIX_1X3_TYP a = {{1, 2, 3}};
  const MATRIX_3X3_TYP b = {{{9, 8, 7}, {6, 5, 4}, {3, 2, 1}}};
  MATRIX_1X3_TYP p;
  EXPECT_EQ(matrix_mul_1x3_3x3(&a, &b, &p), 1);
  EXPECT_EQ(p.M[0], 30);
  EXPECT_EQ(p.M[1], 24);
  EXPECT_EQ(p.M[2], 18);
  EXPECT_EQ(matrix_mul_1x3_3x3(&a, nullptr, &p), 0);
}

TEST(Matrices, PointTimesThreeByTwoAddsTheTranslationRow) {
  MATRIX_3X2_TYP m;
  EXPECT_EQ(matrix_init_3x2(&m, 1, 2, 3, 4, 5, 6), 1);
  EXPECT_EQ(m.M[0][0], 1);
  EXPECT_EQ(m.M[0][1], 2);
  EXPECT_EQ(m.M[1][0], 3);
  EXPECT_EQ(m.M[1][1], 4);
  EXPECT_EQ(m.M[2][0], 5);
  EXPECT_EQ(m.M[2][1], 6);
  const MATRIX_1X2_TYP point = {{10, 100}};
  MATRIX_1X2_TYP p = {{0, 0}};
  EXPECT_EQ(matrix_mul_1x2_3x2(&point, &m, &p), 1);
  EXPECT_EQ(p.M[0], 10 * 1 + 100 * 3 + 5);
  EXPECT_EQ(p.M[1], 10 * 2 + 100 * 4 + 6);
  EXPECT_EQ(matrix_init_3x2(nullptr, 1, 2, 3, 4, 5, 6), 0);
}

TEST(FastDistance, TwoDimensions) {
  EXPECT_EQ(fast_distance_2d(3, 4), 6);
  EXPECT_EQ(fast_distance_2d(10, 0), 10);
  EXPECT_EQ(fast_distance_2d(-3, 4), 6);
  EXPECT_EQ(fast_distance_2d(4, -3), 6);
  EXPECT_EQ(fast_distance_2d(0, 0), 0);
  // 100, 100: 200 - 50 - 25 + 6 = 131 (the true length is 141).
  EXPECT_EQ(fast_distance_2d(100, 100), 131);
  // The ends of the int range neither overflow nor turn negative.
  EXPECT_EQ(fast_distance_2d(INT_MIN, 0), INT_MAX);
  EXPECT_EQ(fast_distance_2d(INT_MAX, INT_MAX), INT_MAX);
  EXPECT_EQ(fast_distance_2d(INT_MIN, 1), INT_MAX);
}

TEST(FastDistance, ThreeDimensions) {
  EXPECT_EQ(fast_distance_3d(1, 1, 1), 1.0f);
  EXPECT_EQ(fast_distance_3d(-1, 1, -1), 1.0f);
  // 3, 4, 12: c = 12288, 11 * (4096 >> 5) = 1408, 3072 >> 2 = 768: 14464 >> 10 = 14.
  EXPECT_EQ(fast_distance_3d(3, 4, 12), 14.0f);
  EXPECT_EQ(fast_distance_3d(12, 3, 4), 14.0f);
  EXPECT_EQ(fast_distance_3d(0, 0, 0), 0.0f);
  EXPECT_EQ(fast_distance_3d(100.9f, 0, 0), 100.0f);  // a whole number
  // Far beyond an int: defined and still large.
  EXPECT_GT(fast_distance_3d(1e30f, 0, 0), 1e14f);
  EXPECT_EQ(fast_distance_3d(NAN, 3, 4), fast_distance_3d(0, 3, 4));
}

}  // namespace
