#include "X1Halation.h"

#include "EngineData.h"
#include "FogImages.h"
#include "diagnostics/C3DrawCounter.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "servers/SBServer.h"
#include "servers/ShaderConstantCopy.h"
#include "servers/StaticTables.h"
#include "servers/VBServer.h"
#include "servers/VSServer.h"
#include "util/EngineUtil.h"
#include "world/C3World.h"

#define HALATION_CHECK(code) FatalCheck("X1Halation", __LINE__, __TIME__, (code))

namespace {

const ShaderDescriptor kHalationShaders[1] = {
    {ShaderDescriptor::kVertexText, kDeclPosNormalTex, EngineData::kShaderData + EngineData::kHalationVs,
     EngineData::kShaderData + EngineData::kHalationVsRecord},
};

// Added over the scene, unfogged, no depth writes; the glint texture lit by
// the vertex colour (the point's brightness).
const uint32_t kHalationStates[] = {
    D3DRS_ZWRITEENABLE, 0,
    D3DRS_ALPHABLENDENABLE, 1,
    D3DRS_SRCBLEND, D3DBLEND_ONE,
    D3DRS_DESTBLEND, D3DBLEND_ONE,
    D3DRS_FOGENABLE, 0,
    D3DRS_CULLMODE, D3DCULL_NONE,
    1, 3, 0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE,
    2, 3, 0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE,
    1, 1, 1, D3DTOP_DISABLE,
    2, 1, 1, D3DTOP_DISABLE,
    0xFFFFFFFFu};

// The quad's edge in view space is the point's size over this.
const float kHalationScale[4] = {0.2f, 1.0f, 1.0f, 1.0f};

bool MatrixHasNaN(const D3DXMATRIX& m) {
  const float* f = m;
  return HasNaN4(f) || HasNaN4(f + 4) || HasNaN4(f + 8) || HasNaN4(f + 12);
}

}  // namespace

X1Halation::X1Halation() {
  SetClassName("X1Halation");
  flags |= kObjLate | kObjAlwaysVisible;
  shaderDescriptors = kHalationShaders;
  shaderCount = 1;
  stateRecords = kHalationStates;
  for (D3DXVECTOR3& p : points) p = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  AddTexture(FogImages::kHalationGlow, FogImages::kHalationGlowSize);
}

X1Halation::~X1Halation() = default;

void X1Halation::AddPoint(float x, float y, float z, float intensity) {
  if (pointCount >= kMaxHalationPoints) {
    LogPrint("KWEX X1HALATION Add\n");
    return;
  }
  points[pointCount] = D3DXVECTOR3(x, y, z);
  intensities[pointCount] = intensity;
  ++pointCount;
}

HRESULT X1Halation::RestoreDeviceObjects() {
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!device) return 0;
  HRESULT hr = quads_.Restore(device, kHalationBufferBytes,
                               static_cast<size_t>(kHalationArrayVertices) * kHalationVertexFloats);
  if (hr != 0) return hr;
  quadCount = 0;
  return C4VertexObject::RestoreDeviceObjects();
}

HRESULT X1Halation::InvalidateDeviceObjects() {
  quads_.Release();
  quadCount = 0;
  return C4VertexObject::InvalidateDeviceObjects();
}

HRESULT X1Halation::FinalCleanUp() {
  quads_.Release();
  return C4VertexObject::FinalCleanUp();
}

HRESULT X1Halation::Move(float, float) {
  quadCount = 0;
  SidePlanes planes;
  if (quads_.Floats() == 0 || !MainCameraSidePlanes(&planes)) return 0;
  const int room = static_cast<int>(quads_.Floats() / kHalationQuadFloats);
  quadCount = BuildHalationQuads(points, intensities, pointCount, planes, quads_.Vertices(), room);
  return 0;
}

HRESULT X1Halation::Render() {
  C3World* world = C3World::Current();
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (pointCount == 0 || quadCount == 0 || !world || !world->settled) return 0;
  if (!device || !quads_.Buffer() || vertexShaders.empty() || textures.empty()) return 0;
  DebugPrint(3, "%d", quadCount);
  world->sbServer->SetSB(stateBlock);
  D3DXMATRIX viewT, projectionT;
  D3DXMatrixTranspose(&viewT, &view);
  D3DXMatrixTranspose(&projectionT, &projection);
  if (MatrixHasNaN(viewT) || MatrixHasNaN(projectionT)) return 0;
  HALATION_CHECK(SetVertexConstants(device, 4, viewT, 4));
  HALATION_CHECK(SetVertexConstants(device, 45, projectionT, 4));
  HALATION_CHECK(SetVertexConstants(device, 39, kHalationScale, 1));
  HALATION_CHECK(device->SetTexture(0, textures[0]));
  quads_.Upload(static_cast<size_t>(quadCount) * kHalationQuadBytes);
  world->vbServer->SetVB(0, quads_.Buffer(), kHalationVertexBytes, true);  // the object's own buffer
  world->vsServer->SetShaders(vertexShaders[0], nullptr, declarations[0]);
  HALATION_CHECK(device->SetRenderState(D3DRS_ZENABLE, FALSE));
  DWORD passes = 0;
  HALATION_CHECK(device->ValidateDevice(&passes));
  HALATION_CHECK(C3DrawCounter::Draw(device, D3DPT_TRIANGLESTRIP, 0, kHalationQuadVertices * quadCount - 2));
  HALATION_CHECK(device->SetRenderState(D3DRS_ZENABLE, TRUE));
  return 0;
}
