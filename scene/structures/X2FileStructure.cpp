#include "X2FileStructure.h"

#include <cstring>

#include "StructureData.h"
#include "StructureParts.h"
#include "common/SceneGlobals.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "light/C6Caustic.h"
#include "servers/SBServer.h"
#include "servers/ShaderConstantCopy.h"
#include "servers/StateRecordList.h"
#include "servers/StaticTables.h"
#include "terrain/X1Terrain.h"
#include "util/ComRelease.h"
#include "world/C3World.h"

#define STRUCTURE_CHECK(code) FatalCheck("X2FileStructure", __LINE__, __TIME__, (code))

namespace {

// Shader list entries, in list order.
enum { kPlainVs = 0, kPlainPs = 1, kTangentVs = 2, kTangentPs = 3 };

constexpr float kStartFarDistance = 150.0f;
constexpr float kFarMargin = 50.0f;

const D3DVERTEXELEMENT9 kSourceDecl[] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},
    {0, 24, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_COLOR, 0},
    {0, 36, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    D3DDECL_END()};
const D3DVERTEXELEMENT9 kDrawDecl[] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},
    {0, 24, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_COLOR, 0},
    {0, 36, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    {0, 44, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TANGENT, 0},
    D3DDECL_END()};

#define QV_SHADER_BLOB(name) \
  StructureData::kShaderData + StructureData::k##name, StructureData::kShaderData + StructureData::k##name##Record
#define QV_VERTEX_SHADER(name, decl) {ShaderDescriptor::kVertexText, decl, QV_SHADER_BLOB(name)}
#define QV_PIXEL_SHADER(name) {ShaderDescriptor::kPixelText, nullptr, QV_SHADER_BLOB(name)}

// Meshes of the 44-byte vertex: the plain pair, then the tangent pair.
const ShaderDescriptor kColourMeshShaders[4] = {
    QV_VERTEX_SHADER(StructureVs, kSourceDecl),
    QV_PIXEL_SHADER(StructurePs),
    QV_VERTEX_SHADER(StructureTangentVs, kDrawDecl),
    QV_PIXEL_SHADER(StructureTangentPs),
};
// Meshes of the 32-byte vertex: the plain pair.
const ShaderDescriptor kPlainMeshShaders[2] = {
    QV_VERTEX_SHADER(StructureVs, kDeclPosNormalTex),
    QV_PIXEL_SHADER(StructurePs),
};

#undef QV_SHADER_BLOB
#undef QV_VERTEX_SHADER
#undef QV_PIXEL_SHADER

using namespace staterecords;

// Depth writes, no blending, fog, both faces (a wreck shows its inside);
// for the fixed stages the texture times the vertex light plus the caustic.
const uint32_t kStructureStates[] = {
    D3DRS_ZWRITEENABLE, 1, D3DRS_ALPHABLENDENABLE, 0, D3DRS_FOGENABLE, 1, D3DRS_CULLMODE, D3DCULL_NONE,
    kPixelShaderEnd,
    COLOUR, 3, 0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE,
    ALPHA, 2, 0, D3DTOP_SELECTARG1, D3DTA_DIFFUSE,
    COLOUR, 3, 1, D3DTOP_ADD, D3DTA_TEXTURE, D3DTA_CURRENT,
    ALPHA, 2, 1, D3DTOP_SELECTARG1, D3DTA_CURRENT,
    COLOUR, 1, 2, D3DTOP_DISABLE,
    ALPHA, 1, 2, D3DTOP_DISABLE,
    kEnd};

IDirect3DTexture9* CurrentCaustic() { return TheCaustic ? TheCaustic->GetTexture() : nullptr; }

}  // namespace

X2FileStructure::X2FileStructure(const X2FishData* rec) : record(rec) {
  SetClassName("X2FileStructure");
  flags |= kObjAlwaysVisible;
  farDistance = kStartFarDistance;
  stateRecords = kStructureStates;
  const X2FishModel* model = record && record->modelCount > 0 ? record->model : nullptr;
  if (!model || !model->baseMesh || model->baseMesh->xBlock) {
    LogPrint("KWEX File Structure NULL Data\n");
    return;
  }
  AddMesh(model->baseMesh);
  for (const X2FishTexture* t : StructureTextures(*model)) AddTexture(t->data, t->size);
  tangentPath = StructureUsesTangentPath(*model) ? 1 : 0;
  if (model->baseMesh->fvf == kStructureFvfColour) {
    shaderDescriptors = kColourMeshShaders;
    shaderCount = 4;
  } else {
    shaderDescriptors = kPlainMeshShaders;
    shaderCount = 2;
  }
  if (StructureAsksForSecondMesh(*record))
    LogPrint("KWEX File Structure %s: second mesh of the model table not read\n", record->header.name);
}

X2FileStructure::~X2FileStructure() { ReleaseDrawCopy(); }

void X2FileStructure::ReleaseDrawCopy() {
  SafeRelease(drawVertexBuffer);
  SafeRelease(drawIndexBuffer);
}

HRESULT X2FileStructure::MakeDrawCopy(IDirect3DDevice9* device) {
  const X2FishMesh* mesh = meshes[0]->descriptor;
  const std::vector<StructureDrawVertex> vertices = BuildStructureDrawVertices(*mesh);
  if (vertices.empty()) {
    tangentPath = 0;
    return 0;
  }
  const UINT vertexBytes = static_cast<UINT>(vertices.size() * sizeof(StructureDrawVertex));
  const UINT indexBytes = mesh->primitiveCount * 3 * sizeof(uint16_t);
  HRESULT hr = STRUCTURE_CHECK(
      device->CreateVertexBuffer(vertexBytes, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED, &drawVertexBuffer, nullptr));
  if (hr != 0) return hr;
  hr = STRUCTURE_CHECK(device->CreateIndexBuffer(indexBytes, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED,
                                                 &drawIndexBuffer, nullptr));
  if (hr != 0) return hr;
  void* data = nullptr;
  if ((hr = STRUCTURE_CHECK(drawVertexBuffer->Lock(0, 0, &data, 0))) != 0) return hr;
  std::memcpy(data, vertices.data(), vertexBytes);
  drawVertexBuffer->Unlock();
  if ((hr = STRUCTURE_CHECK(drawIndexBuffer->Lock(0, 0, &data, 0))) != 0) return hr;
  std::memcpy(data, mesh->indices, indexBytes);
  drawIndexBuffer->Unlock();
  return 0;
}

HRESULT X2FileStructure::RestoreDeviceObjects() {
  HRESULT hr = STRUCTURE_CHECK(C4VertexObject::RestoreDeviceObjects());
  if (hr != 0) return hr;
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (device && !meshes.empty() && IsMeshDrawable(0) && tangentPath && !drawVertexBuffer) {
    if ((hr = MakeDrawCopy(device)) != 0) return hr;
  }
  farDistance = scale * radius + kFarMargin;
  BuildSegments();
  return 0;
}

HRESULT X2FileStructure::DeleteDeviceObjects() {
  ReleaseDrawCopy();
  return C4VertexObject::DeleteDeviceObjects();
}

HRESULT X2FileStructure::Move(float current, float previous) {
  X7SegmentObject::Move(current, previous);
  // The floor alone decides what is buried: the structure tops the floor's
  // answers are raised to include this structure's own.
  if (TheTerrain && !spheres.empty()) {
    const X1Terrain* terrain = TheTerrain;
    HideBuriedSegments(
        spheres, world, scale, [terrain](float x, float z) { return terrain->GetHeight(x, z, nullptr, false, true); },
        &hidden);
  }
  return 0;
}

HRESULT X2FileStructure::Render() {
  C3World* w = C3World::Current();
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!w || !device || !w->vsServer || !w->vbServer || !w->sbServer) return 0;
  if (meshes.empty() || !IsMeshDrawable(0) || vertexShaders.size() < static_cast<size_t>(shaderCount)) return 0;
  const bool pixelShaders = w->vsServer->UsePixelShaders();
  const int lights = GetSceneHost()->GetLightsSetting();
  const float a = StructureCausticLevel(lights);
  const float caustic[4] = {a, a, a, 1.0f};
  auto texture = [this](size_t k) { return k < textures.size() ? textures[k] : nullptr; };

  w->sbServer->SetSB(stateBlock);
  SetShaderMatrices();
  if (tangentPath && pixelShaders && drawVertexBuffer && drawIndexBuffer) {
    w->vsServer->SetShaders(vertexShaders[kTangentVs], vertexShaders[kTangentPs], declarations[kTangentVs]);
    w->vbServer->SetVB(0, drawVertexBuffer, sizeof(StructureDrawVertex), true);
    w->vbServer->SetIB(drawIndexBuffer, true);
    STRUCTURE_CHECK(device->SetTexture(0, texture(0)));
    STRUCTURE_CHECK(device->SetTexture(1, CurrentCaustic()));
    STRUCTURE_CHECK(device->SetTexture(2, texture(1)));
    const float b = StructureAmbientLevel(lights);
    const float ambient[4] = {b, b, b, 1.0f};
    SetPixelConstants(device, 0, caustic, 1);
    SetPixelConstants(device, 3, ambient, 1);
  } else {
    // With pixel shaders in use the state block leaves the texture stages
    // alone, so every mesh takes the pixel shader then.
    w->vsServer->SetShaders(vertexShaders[kPlainVs], pixelShaders ? vertexShaders[kPlainPs] : nullptr,
                            declarations[kPlainVs]);
    BindStreams(0);
    STRUCTURE_CHECK(device->SetTexture(0, texture(0)));
    STRUCTURE_CHECK(device->SetTexture(1, CurrentCaustic()));
    if (pixelShaders) SetPixelConstants(device, 0, caustic, 1);
  }
  DoRender();
  STRUCTURE_CHECK(device->SetTexture(2, nullptr));
  return 0;
}
