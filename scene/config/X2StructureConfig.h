#pragma once
// StructureConfig.ini: which structures of the structure list are shown, and
// where the shown ones stand in the scene.
#include <d3dx9math.h>

#include <functional>
#include <vector>

#include "X2EnableConfig.h"
#include "X2PluginAbi.h"

// One structure as placed: its record and entry, and the pose its plug-in's
// PlaceInstance and the layout gave it.
struct X2StructurePlacement {
  const X2FishData* record = nullptr;
  int entry = -1;
  D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
  float scale = 1.0f;
  float yaw = 0.0f;
  float roll = 0.0f;
  float pitch = 0.0f;
};

class X2StructureConfig : public X2EnableConfig {
 public:
  // The poses of the enabled structures: in the small world one of them,
  // drawn at random, at the origin; otherwise up to four laid out as
  // touching circles around the origin (layoutCentres receives their
  // centres). random gives values in [0, 1]. Records that are missing or
  // carry no model are skipped (logged). beforePlacing, when given, is
  // told the layout centres (none in the small world) before the first
  // PlaceInstance call, so that the floor can be shaped round them and
  // answer the plug-ins' height questions.
  std::vector<X2StructurePlacement> PlanPlacements(
      bool smallWorld, float (*random)(), X2HostCallbacks* host, std::vector<D3DXVECTOR3>* layoutCentres,
      const std::function<void(const std::vector<D3DXVECTOR3>&)>& beforePlacing = {}) const;

 protected:
  const X2PluginList* Records() const override;
};

// World matrix of a placed structure: scale, then roll, pitch and yaw, then
// the position.
D3DXMATRIX StructureWorldMatrix(const X2StructurePlacement& placement);

extern X2StructureConfig* TheStructureConfig;
