// Small matrix products. Each is formed in a local and copied out, so a caller may write the
// product over one of its inputs.
#include "engine/math/matrix.h"

int matrix_mul_3x3(const MATRIX_3X3_TYP* a, const MATRIX_3X3_TYP* b, MATRIX_3X3_TYP* product) {
  if (!a || !b || !product) return 0;
  MATRIX_3X3_TYP result;
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      float sum = 0.0f;
      for (int k = 0; k < 3; ++k) sum += a->M[row][k] * b->M[k][col];
      result.M[row][col] = sum;
    }
  }
  *product = result;
  return 1;
}

int matrix_mul_1x3_3x3(const MATRIX_1X3_TYP* a, const MATRIX_3X3_TYP* b,
                       MATRIX_1X3_TYP* product) {
  if (!a || !b || !product) return 0;
  MATRIX_1X3_TYP result;
  for (int col = 0; col < 3; ++col) {
    float sum = 0.0f;
    for (int k = 0; k < 3; ++k) sum += a->M[k] * b->M[k][col];
    result.M[col] = sum;
  }
  *product = result;
  return 1;
}

int matrix_mul_1x2_3x2(const MATRIX_1X2_TYP* point, const MATRIX_3X2_TYP* m,
                       MATRIX_1X2_TYP* product) {
  if (!point || !m || !product) return 0;
  MATRIX_1X2_TYP result;
  for (int col = 0; col < 2; ++col)
    result.M[col] = point->M[0] * m->M[0][col] + point->M[1] * m->M[1][col] + m->M[2][col];
  *product = result;
  return 1;
}

int matrix_init_3x2(MATRIX_3X2_TYP* m, float m00, float m01, float m10, float m11, float m20,
                    float m21) {
  if (!m) return 0;
  m->M[0][0] = m00;
  m->M[0][1] = m01;
  m->M[1][0] = m10;
  m->M[1][1] = m11;
  m->M[2][0] = m20;
  m->M[2][1] = m21;
  return 1;
}
