#include "X7Bubbles.h"

#include <cmath>
#include <cstring>

#include "BubbleData.h"
#include "BubbleImages.h"
#include "common/SceneGlobals.h"
#include "diagnostics/C3DrawCounter.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "servers/SBServer.h"
#include "servers/ShaderConstantCopy.h"
#include "servers/StateRecordList.h"
#include "servers/StaticTables.h"
#include "servers/VBServer.h"
#include "servers/VSServer.h"
#include "terrain/X1Terrain.h"
#include "util/ComRelease.h"
#include "util/EngineUtil.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

#define BUBBLES_CHECK(code) FatalCheck("X7Bubbles", __LINE__, __TIME__, (code))

namespace {

const ShaderDescriptor kBubbleShaders[1] = {
    {ShaderDescriptor::kVertexText, kDeclPosNormalTex, BubbleData::kShaderData + BubbleData::kBubbleVs,
     BubbleData::kShaderData + BubbleData::kBubbleVsRecord},
};

// Added over the scene behind what is nearer, no depth writes; the shader
// fades them with the distance, so no fog either.
const uint32_t kBubbleStates[] = {
    D3DRS_ZWRITEENABLE, 0,
    D3DRS_ALPHABLENDENABLE, 1,
    D3DRS_SRCBLEND, D3DBLEND_ONE,
    D3DRS_DESTBLEND, D3DBLEND_ONE,
    D3DRS_FOGENABLE, 0,
    D3DRS_CULLMODE, D3DCULL_NONE,
    StateRecordList::kColourStage, 3, 0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE,
    StateRecordList::kAlphaStage, 3, 0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE,
    StateRecordList::kColourStage, 1, 1, D3DTOP_DISABLE,
    StateRecordList::kAlphaStage, 1, 1, D3DTOP_DISABLE,
    StateRecordList::kEnd};

const float kBubbleLight[4] = {1.0f, 1.0f, 1.0f, 1.0f};

const unsigned char* const kBubbleImages[2 * X7Bubbles::kFrames] = {
    BubbleImages::kBubble0,      BubbleImages::kBubble1,      BubbleImages::kBubble2,
    BubbleImages::kBubble3,      BubbleImages::kBubbleGlare0, BubbleImages::kBubbleGlare1,
    BubbleImages::kBubbleGlare2, BubbleImages::kBubbleGlare3};
const unsigned kBubbleImageSizes[2 * X7Bubbles::kFrames] = {
    BubbleImages::kBubble0Size,      BubbleImages::kBubble1Size,      BubbleImages::kBubble2Size,
    BubbleImages::kBubble3Size,      BubbleImages::kBubbleGlare0Size, BubbleImages::kBubbleGlare1Size,
    BubbleImages::kBubbleGlare2Size, BubbleImages::kBubbleGlare3Size};

bool FirstRowHasNaN(const D3DXMATRIX& m) { return HasNaN4(static_cast<const float*>(m)) != 0; }

HeightQuery FloorOf(X1Terrain* terrain) {
  if (!terrain) return nullptr;
  return [terrain](float x, float z) { return terrain->GetHeight(x, z, nullptr, false, false); };
}

}  // namespace

X7Bubbles::X7Bubbles() {
  SetClassName("X7Bubbles");
  flags |= kObjLate | kObjAlwaysVisible;
  shaderDescriptors = kBubbleShaders;
  shaderCount = 1;
  stateRecords = kBubbleStates;
  for (int t = 0; t < 2 * kFrames; ++t) AddTexture(kBubbleImages[t], kBubbleImageSizes[t]);
  layers.resize(kBubbleLayers);
  for (int i = 0; i < kBubbleLayers; ++i) {
    layers[i].index = i;
    layers[i].field = this;
  }
}

X7Bubbles::~X7Bubbles() { ReleaseBuffer(); }

void X7Bubbles::ReleaseBuffer() { SafeRelease(vertexBuffer_); }

int X7Bubbles::AliveCount() const {
  int n = 0;
  for (const X7BubbleEmitter& layer : layers) n += layer.alive ? 1 : 0;
  return n;
}

HRESULT X7Bubbles::RestoreDeviceObjects() {
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (device && !vertexBuffer_) {
    HRESULT hr = BUBBLES_CHECK(device->CreateVertexBuffer(kBubbleBufferBytes, D3DUSAGE_WRITEONLY, 0,
                                                          D3DPOOL_MANAGED, &vertexBuffer_, nullptr));
    if (hr != 0) return hr;
  }
  BuildVents(TheTerrain);
  return C4VertexObject::RestoreDeviceObjects();
}

HRESULT X7Bubbles::InvalidateDeviceObjects() {
  ReleaseBuffer();
  return C4VertexObject::InvalidateDeviceObjects();
}

HRESULT X7Bubbles::DeleteDeviceObjects() {
  vertices_.clear();
  vertices_.shrink_to_fit();
  ventCount = 0;
  return C4VertexObject::DeleteDeviceObjects();
}

HRESULT X7Bubbles::FinalCleanUp() {
  ReleaseBuffer();
  return C4VertexObject::FinalCleanUp();
}

void X7Bubbles::Reseat(X1Terrain* terrain) {
  D3DXVECTOR3 eye = position;
  if (C3Camera* camera = GetMainCamera()) camera->GetPosition(&eye);
  const HeightQuery floor = FloorOf(terrain);
  position = floor ? BubbleFieldPlace(eye, floor) : D3DXVECTOR3(eye.x, position.y, eye.z);
  BuildVents(terrain);
}

void X7Bubbles::BuildVents(X1Terrain* terrain) {
  // One array for the life of the device objects, however often restored.
  if (vertices_.empty()) vertices_.assign(static_cast<size_t>(kBubbleArrayVertices) * kBubbleVertexFloats, 0.0f);
  ventCount = BuildBubbleVents(position, FloorOf(terrain), SceneRandom, vertices_.data(),
                               kBubbleArrayVertices / 4);
  if (vertexBuffer_) UploadVents();
}

HRESULT X7Bubbles::UploadVents() {
  void* out = nullptr;
  HRESULT hr = BUBBLES_CHECK(vertexBuffer_->Lock(0, 0, &out, 0));
  if (hr != 0) return hr;
  std::memcpy(out, vertices_.data(), static_cast<size_t>(ventCount) * kBubbleQuadBytes);
  return BUBBLES_CHECK(vertexBuffer_->Unlock());
}

HRESULT X7Bubbles::Move(float current, float previous) {
  currentTime = current;
  frameIndex = (frameIndex + 1) & 3;
  OpenSpawnWindow(window, current);
  C3SceneHost* host = GetSceneHost();
  const CurrentQuery water = [host, current](const D3DXVECTOR3& at) { return host->GetWaterCurrent(current, at); };
  for (X7BubbleEmitter& layer : layers) layer.Update(current, previous, window, water, SceneRandom);
  return C4VertexObject::Move(current, previous);
}

HRESULT X7Bubbles::Render() {
  C3World* world = C3World::Current();
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (ventCount == 0 || !world || !device || !vertexBuffer_ || vertexShaders.empty()) return 0;
  DebugPrint(3, "%d", ventCount);
  world->sbServer->SetSB(stateBlock);
  int texture = frameIndex;
  if (HasFlag(kObjGlarePass)) {
    BUBBLES_CHECK(device->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFFFFFFFFu));
    texture += kFrames;
  }
  if (static_cast<size_t>(texture) < textures.size()) BUBBLES_CHECK(device->SetTexture(0, textures[texture]));
  world->vbServer->SetVB(0, vertexBuffer_, kBubbleVertexBytes, true);  // the object's own buffer
  world->vbServer->SetQuadIB();
  world->vsServer->SetShaders(vertexShaders[0], nullptr, declarations[0]);

  D3DXMATRIX viewT, projectionT;
  D3DXMatrixTranspose(&viewT, &view);
  D3DXMatrixTranspose(&projectionT, &projection);
  if (FirstRowHasNaN(viewT) || FirstRowHasNaN(projectionT)) return 0;
  for (const X7BubbleEmitter& layer : layers) {
    if (!layer.alive) continue;
    D3DXMATRIX layerWorld, layerWorldT, worldView, worldViewT;
    BubbleLayerMatrix(&layerWorld, position, rotX, rotZ, layer.index, D3DXVECTOR3(layer.x, layer.y, layer.z));
    D3DXMatrixTranspose(&layerWorldT, &layerWorld);
    worldView = layerWorld * view;
    D3DXMatrixTranspose(&worldViewT, &worldView);
    if (FirstRowHasNaN(layerWorldT) || FirstRowHasNaN(worldViewT)) return 0;
    BUBBLES_CHECK(SetVertexConstants(device, 12, layerWorldT, 4));
    BUBBLES_CHECK(SetVertexConstants(device, 49, viewT, 4));
    BUBBLES_CHECK(SetVertexConstants(device, 4, worldViewT, 4));
    BUBBLES_CHECK(SetVertexConstants(device, 45, projectionT, 4));
    BUBBLES_CHECK(SetVertexConstants(device, 39, kBubbleLight, 1));
    DWORD passes = 0;
    BUBBLES_CHECK(device->ValidateDevice(&passes));
    BUBBLES_CHECK(C3DrawCounter::DrawIndexed(device, D3DPT_TRIANGLELIST, 0, 0, 4 * ventCount, 0, 2 * ventCount));
  }
  return 0;
}
