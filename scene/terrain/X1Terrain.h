#pragma once
// The sea floor: a hexagonal patch 80 world units in radius, subdivided five
// times (3169 vertices, 6144 faces) and shaped by the meta terrain, built
// round the camera and rebuilt whenever the camera has moved more than 30
// units from the patch centre on x or z. The shape is a fixed function of
// world position (see FloorHeightField), so a rebuilt patch joins the old
// one without a seam. It answers the scene's height queries, coarse from a
// 51 x 51 grid or exact from the face under the point, raised to structure
// tops, and tells its followers after every rebuild.
//
// Sources by concern: X1Terrain.cpp (construction, building, heights),
// X1TerrainMove.cpp (re-centring), X1TerrainDevice.cpp (buffers and the
// device life cycle), X1TerrainRender.cpp (drawing), X1TerrainTables.cpp
// (shaders, layout, states, textures).
#include <d3d9.h>

#include "CoarseHeightGrid.h"
#include "TerrainGeometry.h"
#include "collision/X1FaceGrid.h"
#include "world/C4Collection.h"
#include "world/C4VertexObject.h"

class X1ArchitectureHeight;
class X1MetaTerrain;

class X1Terrain : public C4VertexObject {
 public:
  // The base height (the centre's y): the floor's heights are added to it,
  // and queries off the floor answer it.
  static constexpr float kStartHeight = -28.0f;
  static constexpr float kScale = 2.0f;
  // Camera travel from the centre (x or z) that asks for a rebuild.
  static constexpr float kRebuildDistance = 30.0f;
  // Frames the scene stands still from the request to the end of a rebuild.
  static constexpr int kBuildingFrames = 3;
  // The text panel that shows "Building Terrain...".
  static constexpr int kBuildingPanel = 32;

  // Makes the meta terrain and the structure tops and registers both with
  // the current world (which then deletes them; without a world the terrain
  // does). Textures by the FloorMaterial setting.
  X1Terrain();
  ~X1Terrain() override;

  // The first restore builds the floor; every restore makes and fills the
  // device buffers.
  HRESULT RestoreDeviceObjects() override;
  // Releases the device buffers. The floor itself (mesh, face grid, height
  // grid) stays, so heights are answered while the device is away.
  HRESULT InvalidateDeviceObjects() override;
  // Releases the textures; the floor and the followers stay.
  HRESULT DeleteDeviceObjects() override;
  HRESULT Move(float current, float previous) override;
  HRESULT Render() override;

  // World height at (x, z). coarse: the grid sample (base height outside
  // the grid), else the face under the point interpolated (base height
  // where there is none). Unless noStructures, a structure top above that
  // is answered instead and *onStructure (when given) becomes 1; it is
  // left alone otherwise. Before the first build: the base height.
  float GetHeight(float x, float z, int* onStructure, bool coarse, bool noStructures) const;
  // The height a point at (x, y, z) takes to stay `clearance` over the
  // ground (the exact answer without structures): y itself where that is
  // high enough. The exact answer is looked up only where the highest face
  // near the point could reach it, so a point well over the floor costs
  // about as much as a coarse query.
  float KeepOverGround(float x, float y, float z, float clearance) const;

  // Builds the floor round the present centre without a device: mesh,
  // shape, face grid, then the structure tops, the coarse grid and the
  // followers. The first restore calls it.
  void BuildFloor();
  // Moves the centre to the lattice point nearest (x, z), shapes the floor
  // there (and uploads it when the device buffers exist), then the
  // structure tops, the coarse grid and the followers.
  void Recentre(float x, float z);

  bool IsBuilt() const { return built != 0; }
  // True while the scene clocks stand still for a rebuild.
  bool IsRebuilding() const { return buildingFrames != 0; }
  const TerrainMesh& Mesh() const { return mesh_; }
  const X1FaceGrid& FaceGrid() const { return faceGrid_; }
  const CoarseHeightGrid& Coarse() const { return coarse_; }
  IDirect3DVertexBuffer9* VertexBuffer() const { return vertexBuffer_; }
  IDirect3DIndexBuffer9* IndexBuffer() const { return indexBuffer_; }

  X1MetaTerrain* meta;
  X1ArchitectureHeight* architecture;
  // Told (OnTerrainRebuilt) after every build and rebuild: the floor
  // collision, the coral colonies, the bubble field. Not owned.
  C4Collection followers{10, 10};
  int built = 0;
  int rebuildRequested = 0;
  int buildingFrames = 0;

 private:
  // Shapes the mesh round the present centre: heights and weights from the
  // floor's height field, normals, texture coordinates.
  void ShapeFloor();
  // Structure tops, coarse grid (and its debug picture), followers.
  void FinishBuild();
  void RefreshCoarseGrid();
  float FineHeight(float x, float z) const;
  HRESULT CreateBuffers();
  HRESULT UploadBuffers();
  void ReleaseBuffers();

  TerrainMesh mesh_;
  X1FaceGrid faceGrid_;
  CoarseHeightGrid coarse_;
  IDirect3DVertexBuffer9* vertexBuffer_ = nullptr;
  IDirect3DIndexBuffer9* indexBuffer_ = nullptr;
  bool ownsParts_ = false;
};
