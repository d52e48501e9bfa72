#pragma once
// The engine's camera: field of view, the four side planes of the view
// frustum, view and projection matrices, and the half-view projections of
// the dual view. The product's cameras derive from it.
#include "C3Move.h"

constexpr float kCameraNear = 0.1f;
constexpr float kCameraFar = 100.0f;

// Eye modes.
enum { kEyeCentre = 0, kEyeLeft = 1, kEyeRight = 2 };

// Sphere test: d = centre - eye, r = radius; outside when d . n > r for one
// of the first planeCount normals or when it lies beyond the far distance.
bool SphereInFrustum(const D3DXVECTOR3* normals, int planeCount, const D3DXVECTOR3& direction,
                     const D3DXVECTOR3& d, float r);
// Box test: the eight world-space corners are culled only when all of them
// lie outside one of the first planeCount planes through the eye.
bool BoxInFrustum(const D3DXVECTOR3* normals, int planeCount, const D3DXVECTOR3& eye,
                  const D3DXVECTOR3 corners[8]);
// The eight corners of an object's box carried by its world matrix.
void WorldBoxCorners(const C3Object& object, D3DXVECTOR3 corners[8]);
// The main camera's view matrix (for its current eye) and projection;
// identities while there is no main camera.
void GetMainCameraMatrices(D3DXMATRIX* view, D3DXMATRIX* projection);

class C3Camera : public C3Move {
 public:
  C3Camera();

  HRESULT InitDeviceObjects() override;
  HRESULT RestoreDeviceObjects() override;
  HRESULT Move(float current, float previous) override;

  virtual D3DXVECTOR3* GetTarget(D3DXVECTOR3* out);
  virtual D3DXVECTOR3* GetDirection(D3DXVECTOR3* out);
  virtual D3DXVECTOR3* GetUp(D3DXVECTOR3* out);
  // The object the camera rides on (plug-ins choose it); the draw passes
  // skip it while the product hides the camera's own object.
  virtual C3Object* GetRiderObject();
  virtual void SetRiderObject(C3Object* object) { rider_ = object; }
  virtual float GetFov();
  virtual float GetLodScale();
  virtual void SetEye(int mode);

  D3DXMATRIX* GetViewMatrix(D3DXMATRIX* out);
  bool IsSphereVisible(const C3Object& object);
  bool IsBoxVisible(const C3Object& object);
  // Centre projection from the back buffer's aspect ratio.
  void BuildProjection();

  float fov = D3DX_PI / 3.0f;
  D3DXVECTOR3 planeNormals[4];
  D3DXMATRIX view;
  D3DXMATRIX projection;
  int eye = kEyeCentre;

 private:
  float AspectRatio() const;

  C3Object* rider_ = nullptr;
};
