// Small single-precision matrices, row-major. A 3 x 2 matrix holds a 2-D linear part in rows 0
// and 1 and a translation in row 2; a 1 x 2 matrix is a point.
#pragma once

struct MATRIX_3X3_TYP {
  float M[3][3];
};

struct MATRIX_1X3_TYP {
  float M[3];
};

struct MATRIX_3X2_TYP {
  float M[3][2];
};

struct MATRIX_1X2_TYP {
  float M[2];
};

// Each returns 1, or 0 when a record is null. The product may be one of the inputs.
int matrix_mul_3x3(const MATRIX_3X3_TYP* a, const MATRIX_3X3_TYP* b, MATRIX_3X3_TYP* product);
int matrix_mul_1x3_3x3(const MATRIX_1X3_TYP* a, const MATRIX_3X3_TYP* b,
                       MATRIX_1X3_TYP* product);
// product[i] = point[0] * m[0][i] + point[1] * m[1][i] + m[2][i].
int matrix_mul_1x2_3x2(const MATRIX_1X2_TYP* point, const MATRIX_3X2_TYP* m,
                       MATRIX_1X2_TYP* product);
int matrix_init_3x2(MATRIX_3X2_TYP* m, float m00, float m01, float m10, float m11, float m20,
                    float m21);
