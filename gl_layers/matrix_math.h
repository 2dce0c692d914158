// gl_layers/matrix_math.h — matrix operations as the desktop driver's matrix stack does them.
//
// The same single-precision operations in the same order as Mesa's matrix module, so that a
// matrix built by the program's glRotatef, glTranslatef, glOrtho and GLU calls comes out to the
// same bits as on the desktop path, and the frames agree.
#pragma once

#include "gl_layers/fixed_state.h"

namespace gl_layers {

// m ← m · b.
void MultiplyMatrix(Matrix& m, const float b[16]);
// out ← a · b.
void MatrixProduct(const float a[16], const float b[16], float out[16]);

void TranslateMatrix(Matrix& m, float x, float y, float z);
void ScaleMatrix(Matrix& m, float x, float y, float z);
void RotateMatrix(Matrix& m, float degrees, float x, float y, float z);
void OrthoMatrix(Matrix& m, float left, float right, float bottom, float top, float nearValue, float farValue);

// r = m × v.
void TransformPoint(const float m[16], const float v[4], float r[4]);

// The inverse transpose of the upper 3 × 3 block, column-major; false for a singular block.
bool NormalMatrix(const float m[16], float out[9]);

// General inverse in double precision; false when singular.
bool InvertMatrix(const double m[16], double out[16]);

}  // namespace gl_layers
