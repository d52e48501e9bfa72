#include "VBServer.h"

#include <algorithm>
#include <cstring>

#include "diagnostics/Diagnostics.h"
#include "strips/StripBuilder.h"

#define VB_CHECK(code) FatalCheck("VBServer", __LINE__, __TIME__, (code))

IDirect3DVertexBuffer9* const VBServer::kNoVB =
    reinterpret_cast<IDirect3DVertexBuffer9*>(static_cast<intptr_t>(-1));
IDirect3DIndexBuffer9* const VBServer::kNoIB =
    reinterpret_cast<IDirect3DIndexBuffer9*>(static_cast<intptr_t>(-1));

namespace {

unsigned LogAddress(const void* p) { return static_cast<unsigned>(reinterpret_cast<uintptr_t>(p)); }

// The registration test of SetVB and SetIB only reports, and its report goes
// nowhere while the log is off: the per-draw search is skipped then.
bool RegistrationReported() { return GetDebugLogLevel() > 0; }

void FreeLoadedDescriptor(X2FishMesh* d) {
  delete[] static_cast<unsigned char*>(d->vertices);
  delete[] d->indices;
  delete[] d->attributeRanges;
  delete d;
}

}  // namespace

VBServer::VBServer() { ResetStreams(); }

VBServer::~VBServer() {
  ReleaseRegistered();
  if (quadIndexBuffer_) quadIndexBuffer_->Release();
  quadIndexBuffer_ = nullptr;
  // Plain descriptors belong to static tables or plug-ins: give them back
  // the index data they came with.
  for (auto& change : stripChanges_) {
    if (!IsLoadedDescriptor(change.descriptor)) {
      change.descriptor->indices = change.originalIndices;
      change.descriptor->primitiveCount = change.originalCount;
      delete[] change.strip;
    }
  }
  stripChanges_.clear();
  for (auto* d : loaded_) FreeLoadedDescriptor(d);
  loaded_.clear();
}

uint16_t* VBServer::BuildStrip(const uint16_t* indices, uint32_t indexCount, uint32_t* count) {
  std::vector<uint16_t> list(indices, indices + (indices ? indexCount : 0));
  auto built = builtStrips_.find(list);
  if (built == builtStrips_.end()) {
    const int previous = GetStripCacheSize();
    SetStripCacheSize(VBServer::kStripCacheSize);
    C8PrimitiveGroup* groups = nullptr;
    unsigned short groupCount = 0;
    GenerateStrips(list.data(), static_cast<unsigned>(list.size()), &groups, &groupCount);
    SetStripCacheSize(previous);
    std::vector<uint16_t> strip;
    if (groups != nullptr && groupCount > 0 && groups[0].indices)
      strip.assign(groups[0].indices, groups[0].indices + groups[0].indexCount);
    delete[] groups;
    built = builtStrips_.emplace(std::move(list), std::move(strip)).first;
  }
  const std::vector<uint16_t>& strip = built->second;
  *count = static_cast<uint32_t>(strip.size());
  uint16_t* copy = new uint16_t[std::max<size_t>(strip.size(), 1)];
  if (!strip.empty()) memcpy(copy, strip.data(), strip.size() * sizeof(uint16_t));
  return copy;
}

bool VBServer::IsLoadedDescriptor(const X2FishMesh* descriptor) const {
  return std::find(loaded_.begin(), loaded_.end(), descriptor) != loaded_.end();
}

bool VBServer::IsStripped(const X2FishMesh* descriptor) const {
  return std::any_of(stripChanges_.begin(), stripChanges_.end(),
                     [descriptor](const StripChange& c) { return c.descriptor == descriptor; });
}

IDirect3DVertexBuffer9* VBServer::CurrentVB(UINT stream) const {
  return stream < kStreamCount ? currentVB_[stream] : kNoVB;
}

void VBServer::FillQuadIndices(uint16_t* out, int quadCount) {
  for (int k = 0; k < quadCount; ++k) {
    const uint16_t b = static_cast<uint16_t>(4 * k);
    uint16_t* q = out + 6 * k;
    q[0] = b;
    q[1] = static_cast<uint16_t>(b + 1);
    q[2] = static_cast<uint16_t>(b + 2);
    q[3] = static_cast<uint16_t>(b + 1);
    q[4] = static_cast<uint16_t>(b + 3);
    q[5] = static_cast<uint16_t>(b + 2);
  }
}

HRESULT VBServer::LoadMeshFromX(MeshRecord* record, bool strips, bool indicesAreStrips) {
  X2FishMesh* source = record->descriptor;
  if (source == nullptr || source->xBlock == nullptr) return E_INVALIDARG;
  for (auto* d : loaded_) {
    if (d->xBlock == source->xBlock) {
      record->descriptor = d;
      return 0;
    }
  }
  HRESULT hr = ReadXBlock(record, strips, indicesAreStrips);
  if (FAILED(hr)) LogPrint("KWEX X block %X not loaded: %X\n", LogAddress(source->xBlock), hr);
  return hr;
}

HRESULT VBServer::CreateMeshBuffers(MeshRecord* record, bool strips, bool indicesAreStrips) {
  X2FishMesh* d = record->descriptor;
  if (d == nullptr) return E_INVALIDARG;
  for (const auto* r : registered_) {
    if (r->descriptor == d) {
      *record = *r;
      return 0;
    }
  }
  if (d->xBlock != nullptr && !IsLoadedDescriptor(d)) {
    // Its data is still the X block: nothing to make buffers from.
    LogPrint("KWEX mesh %X has no data (X block not loaded)\n", LogAddress(d));
    return E_FAIL;
  }

  const bool noVertices = d->vertices == nullptr || d->vertexCount == 0 || d->stride == 0;
  if (d->indices == nullptr || d->primitiveCount == 0 || (record->externalVertices == 0 && noVertices)) {
    LogPrint("KWEX mesh %X has no vertices or indices\n", LogAddress(d));
    return E_FAIL;
  }

  IDirect3DVertexBuffer9* vb = nullptr;
  IDirect3DIndexBuffer9* ib = nullptr;
  HRESULT hr = 0;
  if (record->externalVertices == 0) {
    const UINT bytes = d->vertexCount * d->stride;
    hr = VB_CHECK(device_->CreateVertexBuffer(bytes, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED, &vb,
                                              nullptr));
    if (hr) return hr;
    LogPrint("create mesh %d %X\n", static_cast<int>(registered_.size()), LogAddress(vb));
    void* p = nullptr;
    VB_CHECK(vb->Lock(0, 0, &p, 0));
    memcpy(p, d->vertices, bytes);
    vb->Unlock();
  }

  if (strips && !indicesAreStrips && !IsStripped(d)) {
    uint32_t count = 0;
    uint16_t* strip = BuildStrip(d->indices, d->primitiveCount * 3, &count);
    stripChanges_.push_back(StripChange{d, d->indices, d->primitiveCount, strip});
    d->indices = strip;
    d->primitiveCount = count;
  }
  const bool stripIndices = strips;
  const UINT indexBytes = stripIndices ? d->primitiveCount * 2 : d->primitiveCount * 6;
  hr = VB_CHECK(device_->CreateIndexBuffer(indexBytes, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16,
                                           D3DPOOL_MANAGED, &ib, nullptr));
  if (hr) {
    if (vb) vb->Release();
    return hr;
  }
  void* p = nullptr;
  VB_CHECK(ib->Lock(0, 0, &p, 0));
  memcpy(p, d->indices, indexBytes);
  ib->Unlock();

  record->vertexBuffer = vb;
  record->indexBuffer = ib;
  registered_.push_back(new MeshRecord(*record));
  return 0;
}

void VBServer::SetVB(UINT stream, IDirect3DVertexBuffer9* buffer, UINT stride, bool skipTest) {
  if (buffer == nullptr || buffer == kNoVB) {
    VB_CHECK(1);
    return;
  }
  VB_CHECK(device_->SetStreamSource(stream, buffer, 0, stride));
  if (stream < kStreamCount) currentVB_[stream] = buffer;
  if (skipTest || !RegistrationReported()) return;
  const bool known = std::any_of(registered_.begin(), registered_.end(),
                                 [buffer](const MeshRecord* r) { return r->vertexBuffer == buffer; });
  if (!known) {
    DebugPrint(1, "Illegal VB:%x\n", LogAddress(buffer));
    LogPrint("KWEX ILLEGAL VB:%X\n", LogAddress(buffer));
  }
}

void VBServer::SetIB(IDirect3DIndexBuffer9* buffer, bool skipTest) {
  if (buffer == kNoIB) buffer = nullptr;
  VB_CHECK(device_->SetIndices(buffer));
  currentIB_ = buffer;
  if (skipTest || !RegistrationReported()) return;
  const bool known = std::any_of(registered_.begin(), registered_.end(),
                                 [buffer](const MeshRecord* r) { return r->indexBuffer == buffer; });
  if (!known) {
    DebugPrint(1, "Illegal IB:%x\n", LogAddress(buffer));
    LogPrint("KWEX ILLEGAL IB:%X\n", LogAddress(buffer));
  }
}

void VBServer::SetQuadIB() {
  VB_CHECK(device_->SetIndices(quadIndexBuffer_));
  currentIB_ = quadIndexBuffer_;
}

void VBServer::ResetStreams() {
  currentIB_ = kNoIB;
  for (auto& vb : currentVB_) vb = kNoVB;
}

HRESULT VBServer::RestoreDeviceObjects() {
  if (quadIndexBuffer_) return 0;
  const UINT bytes = kQuadCount * 6 * sizeof(uint16_t);
  VB_CHECK(device_->CreateIndexBuffer(bytes, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED,
                                      &quadIndexBuffer_, nullptr));
  void* p = nullptr;
  VB_CHECK(quadIndexBuffer_->Lock(0, 0, &p, 0));
  FillQuadIndices(static_cast<uint16_t*>(p), kQuadCount);
  quadIndexBuffer_->Unlock();
  return 0;
}

HRESULT VBServer::InvalidateDeviceObjects() {
  if (quadIndexBuffer_) quadIndexBuffer_->Release();
  quadIndexBuffer_ = nullptr;
  ResetStreams();
  return 0;
}

void VBServer::ReleaseRegistered() {
  for (auto* r : registered_) {
    if (r->vertexBuffer) r->vertexBuffer->Release();
    if (r->indexBuffer) r->indexBuffer->Release();
    delete r;
  }
  registered_.clear();
}

HRESULT VBServer::DeleteDeviceObjects() {
  ReleaseRegistered();
  ResetStreams();
  return 0;
}
