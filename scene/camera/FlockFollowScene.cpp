#include "FlockFollowScene.h"

#include <algorithm>
#include <cmath>

#include "collision/X1Collision.h"
#include "collision/X1HeightCollision.h"
#include "common/SceneGlobals.h"
#include "config/X2FlockSet.h"
#include "terrain/X1Terrain.h"

namespace {

// Radius and soft band the camera asks the structures' fields with.
constexpr float kCameraRadius = 1.0f;
constexpr float kCameraBand = 3.0f;

}  // namespace

void FlockFollowScene::AddObstacle(X1Collision* field) {
  if (field) obstacles_.push_back(field);
}

int FlockFollowScene::FlockCount() const { return TheFlocks.FlockCount(); }
int FlockFollowScene::FlockSize(int flock) const { return TheFlocks.Size(flock); }
const C3Object* FlockFollowScene::Member(int flock, int member) const { return TheFlocks.Member(flock, member); }

float FlockFollowScene::FloorAt(float x, float z) const {
  if (!TheTerrain || !TheTerrain->IsBuilt()) return NAN;
  return TheTerrain->GetHeight(x, z, nullptr, false, false);
}

float FlockFollowScene::CeilingAt(float x, float z) const {
  return TheWaveCeiling ? std::min(TheWaveCeiling->CeilingAt(x, z), 0.0f) : 0.0f;
}

D3DXVECTOR3 FlockFollowScene::PushAt(const D3DXVECTOR3& p) const {
  D3DXVECTOR3 sum(0.0f, 0.0f, 0.0f), force;
  for (X1Collision* field : obstacles_) sum += *field->GetForce(&force, p, nullptr, kCameraRadius, kCameraBand);
  return sum;
}
