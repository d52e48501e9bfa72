#pragma once
// The concrete fish, built from a species record of a species plug-in or of
// the built-in species: meshes, morph frames, far mesh, textures, parts.
#include <vector>

#include "C6Fish.h"
#include "X2PluginAbi.h"

class X2FishCollision;

class X2FileFish : public C6Fish {
 public:
  // Not registered with the world; a null record gives an empty fish.
  explicit X2FileFish(const X2FishData* record);
  ~X2FileFish() override;

  HRESULT FinalCleanUp() override;
  int HasLod() override;
  void AnimateParts(float current, float previous) override;

  int partCount = 0;
  // The fish's own copy of its parts (partCount of them). Kept out of the
  // object: most species have none, and a flock steps thousands of fish.
  std::vector<X2FishPart> parts;
  int hasFarMesh = 0;
  // The body field that keeps other fish off this one (record flag 1, with
  // a collision server and a world); null otherwise.
  X2FishCollision* bodyCollision = nullptr;
};
