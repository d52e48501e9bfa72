#pragma once
// Buffer server: vertex and index buffers of mesh descriptors, shared by the
// descriptor's address; meshes read from X blocks; the current stream and
// index bindings; one shared index buffer for up to 6000 quads.
//
// Ownership: descriptors read from X blocks belong to the server from
// LoadMeshFromX until the server is deleted (deleting device objects
// releases device buffers only, so a re-initialisation finds them again).
// Where the server turns a descriptor's triangle list into a strip it does
// so once per descriptor; a plain descriptor gets its own indices back when
// the server is deleted.
#include <d3d9.h>

#include <cstdint>
#include <map>
#include <vector>

#include "C3ResourceServer.h"
#include "X2PluginAbi.h"

// A drawable object's mesh: {descriptor, vertex buffer, index buffer,
// external-vertices word}. With the last word non-zero no vertex buffer is
// made for it.
struct MeshRecord {
  X2FishMesh* descriptor = nullptr;
  IDirect3DVertexBuffer9* vertexBuffer = nullptr;
  IDirect3DIndexBuffer9* indexBuffer = nullptr;
  uint32_t externalVertices = 0;
};
static_assert(sizeof(void*) != 4 || sizeof(MeshRecord) == 16, "mesh record is four words");

class VBServer : public C3ResourceServer {
 public:
  enum {
    kQuadCount = 6000,
    kStreamCount = 10,
    kXInflateBufferSize = 528896,
    kStripCacheSize = 24,
  };
  // Result of LoadMeshFromX when the block has no usable mesh "mesh1".
  static constexpr HRESULT kNoMesh = static_cast<HRESULT>(0x8200000B);

  VBServer();
  ~VBServer() override;

  // Reads the mesh "mesh1" of the record's X block into a descriptor of the
  // server's and points the record at it. A block read before is not read
  // again. The descriptor the record held before stays its caller's.
  HRESULT LoadMeshFromX(MeshRecord* record, bool strips, bool indicesAreStrips);
  // Makes (or finds) the device buffers of the record's descriptor and fills
  // the record. With strips (unless the indices already are strips) the
  // descriptor's triangle list becomes one strip and its primitive count the
  // strip's index count.
  HRESULT CreateMeshBuffers(MeshRecord* record, bool strips, bool indicesAreStrips);

  void SetVB(UINT stream, IDirect3DVertexBuffer9* buffer, UINT stride, bool skipTest);
  void SetIB(IDirect3DIndexBuffer9* buffer, bool skipTest);
  void SetQuadIB();
  void ResetStreams();

  HRESULT RestoreDeviceObjects() override;
  HRESULT InvalidateDeviceObjects() override;
  HRESULT DeleteDeviceObjects() override;

  // The six indices of each quad k: 4k, 4k+1, 4k+2, 4k+1, 4k+3, 4k+2.
  static void FillQuadIndices(uint16_t* out, int quadCount);

  IDirect3DIndexBuffer9* QuadIndexBuffer() const { return quadIndexBuffer_; }
  size_t LoadedCount() const { return loaded_.size(); }
  size_t RegisteredCount() const { return registered_.size(); }
  bool IsLoadedDescriptor(const X2FishMesh* descriptor) const;
  IDirect3DVertexBuffer9* CurrentVB(UINT stream) const;
  IDirect3DIndexBuffer9* CurrentIB() const { return currentIB_; }

 private:
  // A descriptor whose index data the server replaced by a strip.
  struct StripChange {
    X2FishMesh* descriptor;
    uint16_t* originalIndices;
    uint32_t originalCount;
    uint16_t* strip;  // new[]; freed by the server
  };

  bool IsStripped(const X2FishMesh* descriptor) const;
  // One strip from a triangle list (new[]; *count gets its index count).
  // The builder is slow and its result depends on the list alone, so a list
  // met before (the key frames of a morphing fish share one) gets a copy of
  // the strip built for it then.
  uint16_t* BuildStrip(const uint16_t* indices, uint32_t indexCount, uint32_t* count);
  HRESULT ReadXBlock(MeshRecord* record, bool strips, bool indicesAreStrips);
  void ReleaseRegistered();

  std::vector<X2FishMesh*> loaded_;
  std::vector<MeshRecord*> registered_;
  std::vector<StripChange> stripChanges_;
  std::map<std::vector<uint16_t>, std::vector<uint16_t>> builtStrips_;  // list -> its strip
  IDirect3DIndexBuffer9* quadIndexBuffer_ = nullptr;
  IDirect3DVertexBuffer9* currentVB_[kStreamCount];
  IDirect3DIndexBuffer9* currentIB_ = nullptr;

 public:
  // Marks "nothing recorded" in the current bindings.
  static IDirect3DVertexBuffer9* const kNoVB;
  static IDirect3DIndexBuffer9* const kNoIB;
};
