#include "C5MorphAnimation.h"

#include <cmath>

#include "servers/VBServer.h"
#include "world/C3World.h"

MorphBlend ComputeMorphBlend(int baseIndex, int firstFrame, uint32_t frameCount, float amount,
                             float position) {
  MorphBlend b;
  b.streams[0] = b.streams[1] = b.streams[2] = baseIndex;
  if (frameCount == 0 || !std::isfinite(amount) || !std::isfinite(position)) return b;

  const float n = static_cast<float>(frameCount);
  float p = std::fmod(position, n);
  if (p < 0.0f) p += n;
  uint32_t i = static_cast<uint32_t>(p);
  if (i >= frameCount) {  // rounding up to the ring's end is frame 0
    i = 0;
    p = 0.0f;
  }
  uint32_t next = i + 1;
  if (next >= frameCount) next = 0;

  b.streams[1] = firstFrame + static_cast<int>(i);
  b.streams[2] = firstFrame + static_cast<int>(next);
  const float d = p - static_cast<float>(i);
  b.weights[0] = 1.0f - amount;
  b.weights[1] = amount * (1.0f - d);
  b.weights[2] = amount * d;
  return b;
}

void C5MorphAnimation::Init(std::vector<MeshRecord*>* meshes, int baseIndex, int firstFrame,
                            uint32_t frameCount) {
  meshes_ = meshes;
  baseIndex_ = baseIndex;
  firstFrame_ = firstFrame;
  frameCount_ = frameCount;
  blend_ = ComputeMorphBlend(baseIndex, firstFrame, 0, 0.0f, 0.0f);
}

void C5MorphAnimation::GetWeights(float amount, float position) {
  blend_ = ComputeMorphBlend(baseIndex_, firstFrame_, frameCount_, amount, position);
}

void C5MorphAnimation::SetStreams() {
  C3World* world = C3World::Current();
  if (!meshes_ || !world || !world->vbServer) return;
  static const UINT kStrides[3] = {32, 24, 24};
  for (int s = 0; s < 3; ++s) {
    int m = blend_.streams[s];
    if (m < 0 || static_cast<size_t>(m) >= meshes_->size() || !(*meshes_)[m]) return;
    world->vbServer->SetVB(s, (*meshes_)[m]->vertexBuffer, kStrides[s], false);
  }
}
