#pragma once
// Bounds of a loaded X-file model from its vertex positions (each already
// placed by its frames).
#include <d3dx9.h>

#include <vector>

struct X5ModelBounds {
  // Sphere: the mean of the points other than exactly (0, 0, 0) and the
  // distance to the farthest of them. Without such points the sphere is
  // (0, 0, 0) with radius 1.
  D3DXVECTOR3 centre{0.0f, 0.0f, 0.0f};
  float radius = 1.0f;
  // Box over every point, y and z exchanged (the files stand z up). Only
  // meaningful when hasBox (there was at least one point).
  D3DXVECTOR3 boxMin{0.0f, 0.0f, 0.0f};
  D3DXVECTOR3 boxMax{0.0f, 0.0f, 0.0f};
  bool hasBox = false;
};

X5ModelBounds MeasurePoints(const std::vector<D3DXVECTOR3>& points);
