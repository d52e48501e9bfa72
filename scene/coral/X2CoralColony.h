#pragma once
// A coral colony: the pieces one coral record makes, arranged around the
// colony's origin by the record's placement callback and seated on the
// ground, with an optional field that keeps fish away. The pieces and the
// field are world children; the colony itself is kept by the coral server.
#include <functional>

#include "X2PluginAbi.h"
#include "world/C4Collection.h"
#include "world/C4VertexObject.h"

class X2FileCoral;
class X7CoralCollision;

// The ground the pieces stand on: the height at (x, z); *onStructure
// becomes 1 when that height is a structure's top (left alone otherwise).
using CoralGround = std::function<float(float x, float z, int* onStructure)>;

// The terrain's exact height there, structures included.
CoralGround TerrainGround(X1Terrain* terrain);

class X2CoralColony : public C4VertexObject {
 public:
  // Makes the record's pieces and registers them with the current world
  // (none without a world or a record); calls the placement callback for
  // each with the host table. With the record's colony-collision flag and a
  // collision server, adds one field for the colony.
  X2CoralColony(const X2FishData* record, X2HostCallbacks* host);
  ~X2CoralColony() override;

  // Seats the pieces on the terrain (nothing without one, or before the
  // colony is placed).
  void OnTerrainRebuilt(X1Terrain* terrain) override;
  // Each piece at the colony position plus its offset, 0.2 above the
  // ground; hidden while it stands on a structure and neverOnArch is set.
  void Seat(const CoralGround& ground, bool neverOnArch);

  X2FileCoral* Member(int i) const;

  // Set once the server has put the colony in a cell; the terrain's build
  // seats only placed colonies.
  bool placed = false;

  C4Collection members{10, 10};
  X7CoralCollision* collision = nullptr;
};
