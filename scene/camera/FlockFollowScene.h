#pragma once
// The scene as the camera's own course reads it: the flocks of the flock
// set, the floor of the terrain (structure tops included), the waves'
// ceiling (never above the sea's rest height) and the collision fields of
// the structures it was given.
#include <vector>

#include "FlockFollow.h"

class X1Collision;

class FlockFollowScene : public FlockFollow::Scene {
 public:
  // A structure's field; it stays the world's.
  void AddObstacle(X1Collision* field);

  int FlockCount() const override;
  int FlockSize(int flock) const override;
  const C3Object* Member(int flock, int member) const override;
  float FloorAt(float x, float z) const override;
  float CeilingAt(float x, float z) const override;
  D3DXVECTOR3 PushAt(const D3DXVECTOR3& p) const override;

 private:
  std::vector<X1Collision*> obstacles_;
};
