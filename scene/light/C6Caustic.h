#pragma once
// The animated caustic light: a loop of 32 textures at 32 frames per second
// of scene time. It draws nothing itself; the fish, the floor and the other
// lit objects take its current frame through TheCaustic.
#include "world/C4VertexObject.h"

class C6Caustic : public C4VertexObject {
 public:
  C6Caustic();

  // Registers and loads the loop (TGA frames with pixel shaders, JPEG
  // frames without); the current frame starts as the first.
  HRESULT RestoreDeviceObjects() override;
  // Releases the loop; there is no current frame until the next restore.
  HRESULT DeleteDeviceObjects() override;
  // Picks the frame of the scene time.
  HRESULT Move(float current, float previous) override;

  // The current frame; null before the first restore.
  IDirect3DTexture9* GetTexture() const { return current; }

  IDirect3DTexture9* current = nullptr;
  int frame = 0;
};
