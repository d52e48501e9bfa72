#pragma once
// The coral on the floor round the camera: a 3 x 3 grid of 25-unit cells,
// each filled at construction with colonies drawn from the enabled entries
// of the coral configuration. When the camera leaves the centre cell, the
// row or column left behind comes round to the front and its colonies are
// scattered there, so that a fixed set of colonies covers the floor
// wherever the camera goes.
#include <array>
#include <functional>

#include "CoralLayout.h"
#include "X2CoralColony.h"
#include "X2PluginAbi.h"
#include "world/C4Collection.h"
#include "world/C4VertexObject.h"

class X2ConfigList;

// The coral record of a configuration key; null when none is installed.
using CoralRecordLookup = std::function<const X2FishData*(const char* key)>;

class X1CoralServer : public C4VertexObject {
 public:
  // Fills the nine cells (colonies per cell by the CoralDensity setting);
  // every colony follows the terrain (when there is one) and is seated on
  // the ground again after each rebuild.
  X1CoralServer(X1Terrain* terrain, const X2ConfigList* config, const CoralRecordLookup& lookup,
                X2HostCallbacks* host);
  // Deletes every colony and the cells.
  ~X1CoralServer() override;

  // Centres the grid on the main camera the first time, then scrolls it by
  // at most one cell per frame.
  HRESULT Move(float current, float previous) override;

  // One frame for a camera at `camera`: the first centres the grid there
  // and scatters every cell; later ones scroll. Returns the step taken.
  CoralScroll Follow(const D3DXVECTOR3& camera);
  // Scatters the colonies of cell `cell` in it and seats them.
  void PlaceCell(int cell);

  int ColonyCount() const;
  C4Collection* Cell(int cell) const;

  std::array<C4Collection*, 9> cells{};
  int reset = 1;
  X1Terrain* terrain = nullptr;
  // Where colonies are seated: the terrain's heights (a test may stand in
  // its own ground).
  CoralGround ground;

 private:
  void DeleteColonies();
};

// The scene's server: the installed coral (TheCoralList) as the coral
// configuration (TheCoralConfig) enables it, on the terrain.
X1CoralServer* MakeCoralServer(X1Terrain* terrain, X2HostCallbacks* host);
