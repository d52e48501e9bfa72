#include "C6Caustic.h"

#include "LightContent.h"
#include "LightEffects.h"
#include "world/C3World.h"

static_assert(LightContent::kCausticFrameCount == kCausticFrames, "one caustic image per frame");

C6Caustic::C6Caustic() {
  SetClassName("C6Caustic");
  flags |= kObjAlwaysVisible;
}

HRESULT C6Caustic::RestoreDeviceObjects() {
  C3World* scene = C3World::Current();
  if (textureSources.empty() && scene && scene->vsServer) {
    const LightContent::LightImage* frames =
        scene->vsServer->UsePixelShaders() ? LightContent::kCausticTga : LightContent::kCausticJpeg;
    for (int i = 0; i < kCausticFrames; ++i) AddTexture(frames[i].data, frames[i].size);
  }
  HRESULT hr = C4VertexObject::RestoreDeviceObjects();
  current = textures.size() == static_cast<size_t>(kCausticFrames) ? textures[0] : nullptr;
  return hr;
}

HRESULT C6Caustic::DeleteDeviceObjects() {
  current = nullptr;
  return C4VertexObject::DeleteDeviceObjects();
}

HRESULT C6Caustic::Move(float now, float previous) {
  frame = CausticFrame(now);
  if (textures.size() == static_cast<size_t>(kCausticFrames)) current = textures[frame];
  return C4VertexObject::Move(now, previous);
}
