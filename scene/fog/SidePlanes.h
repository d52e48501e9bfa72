#pragma once
// The four outward side planes through the eye that the halation and the
// soft fog build from the main camera each frame, and the test of a point
// against them.
//
// The planes are the view direction D turned about the side axis by -v and
// +v, v = fov / 2 + pi / 2, and about the up axis by -h and +h,
// h = aspect x v. Both angles are kept to at most a half turn: a wider
// screen would otherwise turn a plane past -D, round to the front, and cull
// everything ahead of the camera.
#include <d3dx9math.h>

struct SidePlanes {
  D3DXVECTOR3 eye{0.0f, 0.0f, 0.0f};
  D3DXVECTOR3 normals[4];
};

// The half-angles of the planes (v about the side axis, h about the up
// axis) for a field of view and aspect ratio; each at most pi. An aspect
// that is not a positive number counts as 1.
void SidePlaneAngles(float fov, float aspect, float* v, float* h);

// Planes for a camera at eye looking along direction (unit length). A
// vertical direction has no side axis of its own; the x axis stands in.
void BuildSidePlanes(const D3DXVECTOR3& eye, const D3DXVECTOR3& direction, float fov, float aspect,
                     SidePlanes* out);

// True when (point - eye) . n <= margin for all four normals.
bool PassesSidePlanes(const SidePlanes& planes, const D3DXVECTOR3& point, float margin);

// The planes of the main camera with the back buffer's aspect ratio; false
// (planes untouched) while there is no main camera.
bool MainCameraSidePlanes(SidePlanes* out);
