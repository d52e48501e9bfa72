#pragma once
// The water simulation behind the shader surface's normals: heights and
// velocities in small render targets, stepped every frame by full-target
// passes (force, velocity, height, smoothing, normals), reseeded from a
// disturbance pattern on its first frame and every 2001st after that.
//
// T0/T1 hold the height and T5/T6 the velocity (each pair swapped every
// frame), T3/T4 the force, T2 the smoothed height and T7 the normal map.
#include "buffers/X1SquareShader.h"
#include "world/C4VertexObject.h"

class C9WaterPhysics : public C4VertexObject {
 public:
  enum { kSize = 64, kTargetCount = 10 };

  C9WaterPhysics();
  ~C9WaterPhysics() override;

  HRESULT RestoreDeviceObjects() override;
  HRESULT InvalidateDeviceObjects() override;
  HRESULT Move(float current, float previous) override;

  // The normal map of the last frame (T7), or null without targets.
  IDirect3DTexture9* GetResultTexture() const { return targets[7]; }

  IDirect3DTexture9* targets[kTargetCount] = {};
  IDirect3DSurface9* surfaces[kTargetCount] = {};
  IDirect3DSurface9* savedTarget = nullptr;
  IDirect3DSurface9* savedDepth = nullptr;
  X1SquareShader square;
  D3DXVECTOR4 offsetCentre, offsetLeft, offsetRight, offsetUp, offsetDown;
  // Frames since the last seeding; 0 seeds on the next Move.
  int frameCounter = 0;

 private:
  void ReleaseTargets();
  void Seed(IDirect3DDevice9* device);
  // One pass into surfaces[target] with the offset vertex shader.
  void Pass(IDirect3DDevice9* device, int target, int pixelShader, const int* sources,
            const D3DXVECTOR4* const* offsets, int count);
};
