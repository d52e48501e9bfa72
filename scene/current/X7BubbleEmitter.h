#pragma once
// One layer of the bubble field: a sheet of bubbles over every vent that
// starts at the floor, rises, drifts outwards from the field's centre and
// with the water current, and ends at the top of the water. Its x and z are
// relative to the field's centre, its y is a world height.
#include <d3dx9math.h>

#include "BubbleField.h"

class C3Object;

class X7BubbleEmitter {
 public:
  // Starts the layer when it may: tied to a field, at the field's centre
  // and height (+-0.5) while the frame's window allows another start; with
  // no field, anywhere within +-20 units at height -2.
  void Spawn(BubbleSpawnWindow& window, const RandomSource& random);
  // A frame from `previous` to `t`: a dead layer tries to start; a live one
  // rises, drifts outwards from the field's centre and with the current at
  // its world position. Above the top it is dead.
  void Update(float t, float previous, BubbleSpawnWindow& window, const CurrentQuery& current,
              const RandomSource& random);

  // The world position: the field's centre plus x and z, y as it is.
  D3DXVECTOR3 WorldPosition() const;

  int index = 0;
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  int alive = 0;
  const C3Object* field = nullptr;  // the owning field, not owned
};
