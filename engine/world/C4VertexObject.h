#pragma once
// A moving object that owns meshes, textures, shaders and a state block
// through the resource servers, tests its own visibility against the main
// camera each frame and binds and draws its meshes.
//
// Sources by concern: C4VertexObject.cpp (life cycle, textures, visibility,
// matrices), C4VertexObjectMesh.cpp (mesh records, bounds, drawing, area query).
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "C3Move.h"
#include "servers/VBServer.h"
#include "servers/VSServer.h"

// Bits of C4VertexObject::drawFlags.
enum : uint32_t {
  kDrawStrips = 0x1,           // meshes drawn as triangle strips
  kDrawIndicesAreStrips = 0x2, // the indices already are strips
};

struct DrawContext;

// The matrices and object-space vectors the draw passes compute for an
// object's shaders, and the copies SaveMatrices keeps. Only drawing reads
// them, so they live outside the object and are made at the first use: the
// frame move of thousands of fish then walks much less memory.
struct C4ShaderMatrices {
  C4ShaderMatrices();

  D3DXMATRIX worldViewProjection;
  D3DXMATRIX worldViewProjectionT;
  D3DXMATRIX worldViewT;
  D3DXMATRIX worldT;
  D3DXMATRIX viewT;
  D3DXMATRIX viewProjectionT;
  D3DXVECTOR4 objectLight{0.0f, 1.0f, 0.0f, 1.0f};
  D3DXVECTOR4 objectEye{0.0f, 0.0f, 0.0f, 1.0f};
  D3DXMATRIX saved[5];
};

// Triangles one area query can return.
constexpr int kMaxAreaTriangles = 2000;

class C4VertexObject : public C3Move {
 public:
  C4VertexObject();
  ~C4VertexObject() override;

  void SetViewProjection(const D3DXMATRIX* view, const D3DXMATRIX* projection) override;
  HRESULT InitDeviceObjects() override;
  HRESULT RestoreDeviceObjects() override;
  HRESULT InvalidateDeviceObjects() override;
  HRESULT DeleteDeviceObjects() override;
  HRESULT Move(float current, float previous) override;
  HRESULT FinalCleanUp() override;

  // Index of the source's texture (an existing entry for the same source).
  virtual int AddTexture(const void* source, UINT size);
  virtual void SaveMatrices();
  virtual void RestoreMatrices();
  virtual void Animate(float current, float previous);
  virtual void ComputeBounds();
  virtual void SetShaderMatrices();
  // Upward-facing triangles of the first mesh within r of (x, z) that face
  // the point; *count: the maximum asked in (at most 2000), the number out.
  virtual HRESULT GetAreaPolygons(float x, float y, float z, float r, IDirect3DVertexBuffer9** vertexBuffer,
                                  int* vertexCount, uint16_t** triangles, int* count);
  virtual int HasLod();

  MeshRecord* AddMesh(X2FishMesh* descriptor);
  MeshRecord* AddVertexArray(X2FishTexture* xBlock, uint32_t fvf, uint32_t stride, uint32_t externalVertices);
  void BindStreams(int mesh);
  void DrawMesh(int mesh);
  // Whether a mesh record has buffers to draw (a mesh that failed to load has none).
  bool IsMeshDrawable(int mesh) const;
  // The device, the current world's servers (null without a world) and this
  // object's state block, for the device passes of the engine's classes.
  void FillDrawContext(DrawContext* context) const;
  // The shader matrices, made (all identity) at the first call.
  C4ShaderMatrices& Shading();

  const ShaderDescriptor* shaderDescriptors = nullptr;
  int shaderCount = 0;
  IDirect3DStateBlock9* stateBlock;
  const uint32_t* stateRecords = nullptr;
  std::vector<MeshRecord*> meshes;
  std::vector<std::pair<const void*, UINT>> textureSources;
  std::vector<IDirect3DTexture9*> textures;
  int singleLevelTextures = 0;
  std::vector<IUnknown*> vertexShaders;
  std::vector<IDirect3DVertexDeclaration9*> declarations;
  D3DXMATRIX view;
  D3DXMATRIX projection;
  uint32_t drawFlags = 0;
  int renderTextureSize = 128;
  float renderTextureScale = 0.7f;
  float lodFactor = 2.0f;
  uint32_t lodState = 0;

 private:
  void ReleaseTextures();

  std::unique_ptr<C4ShaderMatrices> shading_;
  // Descriptors made by AddVertexArray; freed with the object.
  std::vector<X2FishMesh*> ownDescriptors_;
};

// Visibility of one frame: far-cull, frustum and LOD decisions on the
// object's flags (the world draws what this leaves unculled). Returns true
// when Animate should run. frustumVisible is asked only when needed.
template <typename FrustumTest>
bool DecideVisibility(C4VertexObject& o, bool hasCamera, int hasLod, float lodScale, FrustumTest frustumVisible) {
  o.farCulled = (o.farCullOptions & 1) == 0 && o.cameraDistance > o.farDistance;
  o.flags &= ~kObjCulled;
  if (o.HasFlag(kObjAlwaysCulled)) {
    o.flags |= kObjCulled;
    return false;
  }
  bool inside = o.HasFlag(kObjInsideNoCull) && o.cameraDistance <= o.scale * o.radius;
  if (hasCamera && !o.HasFlag(kObjAlwaysVisible) && !inside && !frustumVisible()) {
    o.flags |= kObjCulled;
    return false;
  }
  if (o.farCulled) return false;
  if (hasLod && hasCamera) {
    if (o.cameraDistance > lodScale * o.lodFactor) {
      o.lodState |= 1;
      return false;
    }
    o.lodState &= ~1u;
  }
  return true;
}
