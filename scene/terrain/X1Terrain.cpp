#include "X1Terrain.h"

#include <cmath>
#include <string>

#include "FloorHeightField.h"
#include "X1MetaTerrain.h"
#include "X1TerrainTables.h"
#include "collision/X1ArchitectureHeight.h"
#include "common/SceneGlobals.h"
#include "common/SettingIds.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "world/C3World.h"

X1Terrain::X1Terrain() {
  SetClassName("X1Terrain");
  position = D3DXVECTOR3(0.0f, kStartHeight, 0.0f);
  scale = kScale;
  // The floor lies round the camera: never culled, never too far.
  flags |= kObjAlwaysVisible;
  farCullOptions |= 1;
  shaderDescriptors = g_TerrainShaders;
  shaderCount = kTerrainShaderCount;
  stateRecords = g_TerrainStates;

  const int material = GetSceneHost()->GetSceneSetting(kSceneFloorMaterial);
  for (TerrainImage image : {TerrainFloorImage(material), TerrainFeatureImage(), TerrainReliefImage(material)})
    AddTexture(image.data, image.size);

  meta = new X1MetaTerrain;
  architecture = new X1ArchitectureHeight(this);
  if (C3World* world = C3World::Current()) {
    world->AddChild(meta);
    world->AddChild(architecture);
  } else {
    ownsParts_ = true;
  }
}

X1Terrain::~X1Terrain() {
  ReleaseBuffers();
  if (ownsParts_) {
    delete architecture;
    delete meta;
  }
  if (TheTerrain == this) TheTerrain = nullptr;
}

void X1Terrain::BuildFloor() {
  if (mesh_.vertices.empty()) {
    BuildTerrainTopology(kTerrainDepth, &mesh_);
    LogPrint("FRAG: new vNum:%d fNum:%d\n", mesh_.VertexCount(), mesh_.FaceCount());
    // The grid indexes x and z, which shaping never changes; it reads the
    // heights at every query, so it stays right through every rebuild.
    faceGrid_.Build(mesh_.vertices.data(), mesh_.indices.data(), mesh_.FaceCount(), kTerrainVertexCode);
  }
  // The centre sits on the floor's lattice, as after every re-centring.
  const D3DXVECTOR2 centre = FloorLatticePosition(NearestFloorLatticePoint(position.x, position.z, kScale), kScale);
  position.x = centre.x;
  position.z = centre.y;
  ShapeFloor();
  // Built before the followers are told, so that their questions are
  // answered from the new floor.
  built = 1;
  FinishBuild();
}

void X1Terrain::ShapeFloor() {
  static const std::vector<TerrainFeature> kNoFeatures;
  const std::vector<TerrainFeature>& features = meta ? meta->features : kNoFeatures;
  const D3DXVECTOR3 offset = meta ? meta->offset : D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  FloorHeightField field(features, offset, TerrainRoughness(GetSceneHost()->GetSceneSetting(kSceneUpsDowns)),
                         kScale);
  const LatticePoint centre = field.Nearest(position.x, position.z);
  for (int k = 0; k < mesh_.VertexCount(); ++k) {
    const LatticePoint p{centre.i + mesh_.lattice[k].i, centre.j + mesh_.lattice[k].j};
    TerrainVertex& v = mesh_.vertices[k];
    v.position.y = field.HeightAt(p) / kScale;
    v.weights = field.WeightsAt(p);
  }
  ComputeTerrainNormals(&mesh_);
  ComputeTerrainTexCoords(&mesh_, kScale, position.x, position.z);
  faceGrid_.RefreshTops();
}

void X1Terrain::FinishBuild() {
  if (architecture) architecture->Rebuild();
  // The grid first: followers that ask coarse heights get the new floor.
  RefreshCoarseGrid();
  for (int i = 0; i < followers.count; ++i)
    if (followers.items[i]) followers.items[i]->OnTerrainRebuilt(this);
}

void X1Terrain::RefreshCoarseGrid() {
  // The grid holds the ground alone; structure tops are added per query,
  // so that a coarse answer marks them and noStructures leaves them out.
  coarse_.Refresh(position.x, position.z, [this](float x, float z) { return FineHeight(x, z); });
  if (GetSceneHost()->GetDebugDisplayFlag() & 4) {
    const std::string map = coarse_.DebugMap();
    size_t start = 0;
    while (start < map.size()) {
      const size_t end = map.find('\n', start);
      LogPrint("%s", map.substr(start, end - start + 1).c_str());
      start = end + 1;
    }
  }
}

float X1Terrain::KeepOverGround(float x, float y, float z, float clearance) const {
  // Where no face is found the ground is the base height, as for queries.
  float top = position.y;
  if (built) {
    const float face = faceGrid_.TopAt((x - position.x) / kScale, (z - position.z) / kScale);
    top = std::fmax(top, face * kScale + position.y);
  }
  // A point well over the floor, or one that is not a number, stays.
  if (!(y < top + clearance)) return y;
  const float ground = GetHeight(x, z, nullptr, false, true);
  return y < ground + clearance ? ground + clearance : y;
}

float X1Terrain::FineHeight(float x, float z) const {
  const float lx = (x - position.x) / kScale, lz = (z - position.z) / kScale;
  float y = 0.0f;
  if (std::fabs(lx) < 1e6f && std::fabs(lz) < 1e6f && faceGrid_.HeightAt(lx, lz, &y)) return y * kScale + position.y;
  return position.y;
}

float X1Terrain::GetHeight(float x, float z, int* onStructure, bool coarse, bool noStructures) const {
  float height = position.y;
  if (built) {
    if (coarse) {
      float sample = 0.0f;
      if (coarse_.Lookup(x - position.x, z - position.z, &sample)) height = sample;
    } else {
      height = FineHeight(x, z);
    }
  }
  if (!noStructures && architecture) {
    const float top = architecture->GetHeight(x, z);
    if (top > height) {
      if (onStructure) *onStructure = 1;
      height = top;
    }
  }
  return height;
}
