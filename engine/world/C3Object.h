#pragma once
// Base of every scene object: class name, flags, placement, bounding volume
// and the device-object life cycle as virtual operations.
#include <d3d9.h>
#include <d3dx9.h>

#include <cstdint>

class X1Terrain;
class X2AIObject;

// Bits of C3Object::flags.
enum : uint32_t {
  kObjSorted = 0x1,          // drawn in the depth-sorted pass
  kObjLate = 0x2,            // drawn in the late pass
  kObjAlwaysVisible = 0x4,   // no frustum test; drawn even when culled
  kObjAlwaysCulled = 0x8,    // the visibility test always culls
  kObjCulled = 0x10,         // culled this frame
  kObjUnscaledClock = 0x20,  // moved on the unscaled clock (cameras)
  kObjDebugOnly = 0x40,      // drawn only in the debug run
  kObjGlarePass = 0x80,      // being drawn into the glare image
  kObjUser = 0x800,          // plug-in user flag
  kObjInsideNoCull = 0x1000, // no frustum test while the camera is inside
  kObjDrift = 0x20000,       // drifts with the water current
  kObjSphereTest = 0x40000,  // frustum test with the sphere, else the box
};

constexpr int kClassNameSize = 32;

class C3Object {
 public:
  C3Object();
  C3Object(const C3Object&) = delete;
  C3Object& operator=(const C3Object&) = delete;

  virtual D3DXVECTOR3* GetPosition(D3DXVECTOR3* out);
  virtual void SetViewProjection(const D3DXMATRIX* view, const D3DXMATRIX* projection);
  virtual ~C3Object();
  virtual HRESULT InitDeviceObjects();
  virtual HRESULT RestoreDeviceObjects();
  virtual HRESULT InvalidateDeviceObjects();
  virtual HRESULT DeleteDeviceObjects();
  virtual HRESULT Move(float current, float previous);
  virtual HRESULT PreRender();
  virtual HRESULT Render();
  virtual HRESULT FinalCleanUp();
  virtual void OnTerrainRebuilt(X1Terrain* terrain);
  virtual HRESULT Spare(int value);

  // Writes the class name (cut to 31 characters).
  void SetClassName(const char* name);
  bool HasFlag(uint32_t bit) const { return (flags & bit) != 0; }
  // Larger of the lengths of the two box corners.
  void UpdateRadiusFromBox();

  int listIndex = 0;
  char className[kClassNameSize];
  D3DXVECTOR3 boxMin{0.0f, 0.0f, 0.0f};
  D3DXVECTOR3 boxMax{0.0f, 0.0f, 0.0f};
  float radius = 1.0f;
  float cameraDistance = 1.0f;
  float farDistance;
  int farCullOptions = 0;  // bit 0: never far-culled
  int farCulled = 0;
  float sortBias = 0.0f;
  uint32_t flags = kObjCulled;
  D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
  float rotZ = 0.0f;
  float rotX = 0.0f;
  float rotY = 0.0f;
  float scale = 1.0f;
  D3DXVECTOR3 heading{-1.0f, 0.0f, 0.0f};
  float speed = 0.0f;
  D3DXMATRIX world;
  // Plug-in view of the object: the AI object steering it (owned by the
  // class that steps it), the body-size factor (a fish's size is scale
  // times this) and two small blocks plug-ins may use as they like.
  X2AIObject* ai = nullptr;
  float bodySize = 1.0f;
  float hostBlocks[2][4] = {};
};

// Scaling x RotationX x RotationZ x RotationY x Translation of an object.
D3DXMATRIX* ComposePlacement(D3DXMATRIX* out, const C3Object& object);
