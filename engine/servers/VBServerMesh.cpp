// VBServer: meshes read from X blocks.
#include <algorithm>
#include <cstring>
#include <vector>

#include "CD3DFile_Mesh.h"
#include "VBServer.h"
#include "diagnostics/Diagnostics.h"
#include "util/ComRelease.h"
#include "util/D3DXCompat.h"
#include "util/Inflate.h"

namespace {

// Process-wide; grows for a block whose inflated size says it needs more.
std::vector<unsigned char>& XInflateBuffer() {
  static std::vector<unsigned char> buffer;
  return buffer;
}

// Inflated X files larger than this are refused.
const size_t kXSizeLimit = 64u << 20;

unsigned LogAddress(const void* p) { return static_cast<unsigned>(reinterpret_cast<uintptr_t>(p)); }

}  // namespace

HRESULT VBServer::ReadXBlock(MeshRecord* record, bool strips, bool indicesAreStrips) {
  X2FishMesh* source = record->descriptor;
  const X2FishTexture* block = source->xBlock;
  if (block->data == nullptr || block->size == 0) return E_INVALIDARG;

  const void* xData = block->data;
  size_t xSize = block->size;
  if (IsZlibStream(block->data, block->size)) {
    std::vector<unsigned char>& buffer = XInflateBuffer();
    const size_t wanted =
        std::min(std::max<size_t>(kXInflateBufferSize, size_t(source->vertexCount) + 4096), kXSizeLimit);
    if (buffer.size() < wanted) buffer.resize(wanted);
    if (!InflateBlock(block->data, block->size, buffer.data(), buffer.size(), &xSize)) {
      LogPrint("KWEX X block expansion.\n");
      return E_FAIL;
    }
    xData = buffer.data();
  }

  ID3DXFile* rawFile = nullptr;
  if (FAILED(CreateXFileWithTemplates(&rawFile))) return E_FAIL;
  ComPtr<ID3DXFile> file(rawFile);
  D3DXF_FILELOADMEMORY memory;
  memory.lpMemory = xData;
  memory.dSize = xSize;
  ID3DXFileEnumObject* rawEnum = nullptr;
  HRESULT hr = file->CreateEnumObject(&memory, D3DXF_FILELOAD_FROMMEMORY, &rawEnum);
  if (FAILED(hr)) return hr;
  ComPtr<ID3DXFileEnumObject> enumObject(rawEnum);
  ID3DXFileData* rawData = nullptr;
  if (FAILED(FindXDataObjectByName(enumObject.get(), "mesh1", &rawData))) return kNoMesh;
  ComPtr<ID3DXFileData> data(rawData);

  CD3DFile_Mesh mesh("CD3DFile_Mesh");
  if (FAILED(mesh.Create(device_, data.get()))) return kNoMesh;
  data.reset();
  enumObject.reset();
  file.reset();
  if (FAILED(mesh.SetFVF(device_, source->fvf))) return E_FAIL;

  ID3DXMesh* m = mesh.SysMemMesh();
  if (m->GetOptions() & D3DXMESH_32BIT) {
    LogPrint("KWEX X mesh has 32-bit indices\n");
    return kNoMesh;
  }
  LogPrint("create Vertex %d %X\n", static_cast<int>(loaded_.size()), LogAddress(block));

  const DWORD vertexCount = m->GetNumVertices();
  const DWORD faceCount = m->GetNumFaces();
  const DWORD stride = m->GetNumBytesPerVertex();
  auto* d = new X2FishMesh{};
  d->fvf = source->fvf;
  d->stride = stride;
  d->xBlock = source->xBlock;
  d->vertexCount = vertexCount;
  d->primitiveCount = faceCount;

  DWORD rangeCount = 0;
  m->GetAttributeTable(nullptr, &rangeCount);
  d->attributeRanges = new X2AttributeRange[std::max<DWORD>(rangeCount, 1)]();
  if (rangeCount) {
    std::vector<D3DXATTRIBUTERANGE> ranges(rangeCount);
    m->GetAttributeTable(ranges.data(), &rangeCount);
    for (DWORD i = 0; i < rangeCount; ++i) {
      d->attributeRanges[i] = X2AttributeRange{ranges[i].AttribId, ranges[i].FaceStart,
                                               ranges[i].FaceCount, ranges[i].VertexStart,
                                               ranges[i].VertexCount};
    }
  }
  d->attributeRangeCount = rangeCount;

  auto* vertices = new unsigned char[std::max<size_t>(size_t(vertexCount) * stride, 1)];
  d->vertices = vertices;
  void* p = nullptr;
  if (SUCCEEDED(m->LockVertexBuffer(D3DLOCK_READONLY, &p))) {
    memcpy(vertices, p, size_t(vertexCount) * stride);
    m->UnlockVertexBuffer();
  }
  auto* list = new uint16_t[std::max<size_t>(size_t(faceCount) * 3, 1)];
  if (SUCCEEDED(m->LockIndexBuffer(D3DLOCK_READONLY, &p))) {
    memcpy(list, p, size_t(faceCount) * 6);
    m->UnlockIndexBuffer();
  }
  d->indices = list;
  loaded_.push_back(d);

  if (strips && !indicesAreStrips) {
    // Stripped here once; CreateMeshBuffers sees the mark and leaves it.
    uint32_t count = 0;
    uint16_t* strip = BuildStrip(list, faceCount * 3, &count);
    delete[] list;
    d->indices = strip;
    d->primitiveCount = count;
    stripChanges_.push_back(StripChange{d, nullptr, faceCount, nullptr});
  }
  record->descriptor = d;
  return 0;
}
