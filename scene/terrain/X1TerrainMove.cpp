// The terrain following the camera: a rebuild is asked for when the camera
// has travelled more than 30 units from the centre on x or z and runs at the
// start of the next frame; the scene stands still for three frames while
// "Building Terrain..." shows.
#include <cmath>

#include "FloorHeightField.h"
#include "X1Terrain.h"
#include "common/SceneGlobals.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "panels/C7TexturePanel.h"
#include "seaface/C6unionSeaface.h"
#include "world/C3Camera.h"

void X1Terrain::Recentre(float x, float z) {
  if (!built) {
    position.x = x;
    position.z = z;
    BuildFloor();
    return;
  }
  // On the lattice the new patch's vertices are the old patch's vertices
  // where the two overlap, with the same heights: the floor does not move,
  // only its edge does. The base height stays, so there is nothing to
  // level out under the camera.
  const D3DXVECTOR2 centre = FloorLatticePosition(NearestFloorLatticePoint(x, z, kScale), kScale);
  position.x = centre.x;
  position.z = centre.y;
  ShapeFloor();
  if (vertexBuffer_) UploadBuffers();
  FinishBuild();
  LogPrint("Terrain rebuilt around %.1f %.1f\n", position.x, position.z);
  // The sea surface is kept over the new centre.
  if (TheSeaface) TheSeaface->Recentre(position.x, position.z);
}

HRESULT X1Terrain::Move(float current, float previous) {
  if (buildingFrames > 0) --buildingFrames;
  C3Camera* camera = GetMainCamera();
  D3DXVECTOR3 eye(0.0f, 0.0f, 0.0f);
  if (camera) camera->GetPosition(&eye);
  if (rebuildRequested) {
    rebuildRequested = 0;
    if (camera) Recentre(eye.x, eye.z);
  }
  if (camera && built &&
      (std::fabs(eye.x - position.x) > kRebuildDistance || std::fabs(eye.z - position.z) > kRebuildDistance)) {
    rebuildRequested = 1;
    buildingFrames = kBuildingFrames;
  }
  C4VertexObject::Move(current, previous);
  if (buildingFrames != 0) C7TexturePanel::Printf(ThePanels[kBuildingPanel], "Building Terrain...");
  return 0;
}
