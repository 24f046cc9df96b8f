#pragma once

// Small read-backs of GL state for tests.
namespace glprobe {
int modelviewDepth();
int projectionDepth();
int matrixMode();
void projectionMatrix(float out[16]);
void modelviewMatrix(float out[16]);
void viewport(int out[4]);
} // namespace glprobe
