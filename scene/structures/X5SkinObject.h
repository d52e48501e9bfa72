#pragma once
// An object drawn from X files: frame hierarchies with static and skinned
// meshes and animation keys, loaded from X files in memory (a plug-in's
// inflated X blocks), animated by sampling the keys and drawn with the
// vertex-shader skinning path (bone palette in shader constants).
//
// Sources by concern: X5SkinObject.cpp (life cycle, sources, animation,
// frame lookup), X5SkinObjectLoad.cpp (reading X files into models),
// X5SkinObjectConvert.cpp (drawable copies of skinned and static meshes),
// X5Draw.cpp (drawing).
//
// Use: fill `sources` (AddXBlock inflates a plug-in's compressed block), add
// the textures the materials name (texture 0 for a material with a texture
// file), register with the world. Each frame the owner calls FrameMove with
// the animation time before the world renders the object.
#include <d3dx9.h>

#include <memory>
#include <string>
#include <vector>

#include "X5LoadedModel.h"
#include "world/C4VertexObject.h"

struct X5MeshContainer;

// Tuning values a plug-in sets per bone palette slot.
constexpr int kBoneParameterCount = 18;

class X5SkinObject : public C4VertexObject {
 public:
  X5SkinObject();
  ~X5SkinObject() override;

  // Loads every source in order into `models`; a source that fails to load
  // is logged and left out. With models loaded before (the device made
  // again), reads only their meshes again, into the frames they had.
  HRESULT InitDeviceObjects() override;
  // Drops the drawable copies of skinned meshes (remade at the next draw)
  // and the stage-3 texture.
  HRESULT InvalidateDeviceObjects() override;
  // Releases every mesh and buffer made on the device and the textures. The
  // frame trees stay (freed at the end) when only this object holds them;
  // models shared with other objects are let go of instead.
  HRESULT DeleteDeviceObjects() override;
  HRESULT Move(float current, float previous) override;
  HRESULT Render() override;
  HRESULT FinalCleanUp() override;
  // May change the texture switch (colour[1]) and the first colour value
  // before a material is drawn; nothing here.
  virtual void GetMaterialColour(const X5MeshContainer* container, int material, const char* frameName,
                                 float colour[4], float* extra);

  // Reads one X file (a file name, or a D3DXF_FILELOADMEMORY when
  // fromMemory) into a new model. Errors come back as results.
  HRESULT LoadXFile(const void* source, std::shared_ptr<X5LoadedModel>* model, bool fromMemory);
  // Inflates a compressed X block (a plug-in's X-block mesh: vertexCount is
  // the inflated size) and appends it to `sources`, with the length the
  // inflation gave. A block that does not inflate is logged and left out;
  // returns whether it was added.
  bool AddXBlock(const X2FishMesh* block);
  bool AddXBlock(const void* data, uint32_t size, uint32_t inflatedSize);
  // Samples every animation of every model at time t (seconds).
  void FrameMove(float t);
  // The local matrix of the named frame of the first model (callers may
  // change it); null when there is no such frame.
  D3DXMATRIX* FindFrameMatrix(const char* name);
  // Sets boneParameters[index]; false (nothing set) for an index outside it.
  bool SetBoneParameter(int index, float value);
  // Recomputes every combined matrix from the frames' local matrices, with
  // each model's root reset to identity.
  void UpdateMatrices();

  std::vector<std::shared_ptr<X5LoadedModel>> models;
  std::vector<D3DXF_FILELOADMEMORY> sources;
  int conversionStamp = 3;
  float boneParameters[kBoneParameterCount] = {};
  int dolphinShading = 0;
  D3DXVECTOR4 tint{0.5f, 0.5f, 0.5f, 1.0f};
  D3DXVECTOR3 lightPoint{0.0f, 0.0f, 0.0f};
  IDirect3DCubeTexture9* stageTexture3 = nullptr;
  float worldScale = 0.01f;
  // Faces submitted by the last Render.
  int facesDrawn = 0;

 private:
  // Reading (X5SkinObjectLoad.cpp); depth counts nested data objects.
  HRESULT LoadDataObject(ID3DXFileData* data, X5Frame* frame, X5LoadedModel* model, IDirect3DDevice9* device,
                         int depth);
  HRESULT LoadMeshContainer(ID3DXFileData* data, X5Frame* frame, IDirect3DDevice9* device);
  HRESULT LoadAnimationSet(ID3DXFileData* data, X5Frame* frame, X5LoadedModel* model, IDirect3DDevice9* device,
                           int depth);
  HRESULT LoadAnimation(ID3DXFileData* data, X5Frame* set, X5LoadedModel* model, IDirect3DDevice9* device,
                        int depth);
  void LinkBones(X5LoadedModel* model);
  void ReloadMeshes();
  HRESULT MeasureModel(X5LoadedModel* model);

  // Drawable copies (X5SkinObjectConvert.cpp).
  HRESULT ConvertSkinned(X5MeshContainer* container, IDirect3DDevice9* device);
  HRESULT MakeStaticCopy(X5MeshContainer* container, IDirect3DDevice9* device);
  void MakeMorphStreams(X5MeshContainer* container, const X5MeshContainer* second, const X5MeshContainer* third,
                        IDirect3DDevice9* device);

  // Drawing (X5Draw.cpp).
  void DrawFrame(X5Frame* frame, X5Frame* second, X5Frame* third, IDirect3DDevice9* device);
  void DrawContainer(X5Frame* frame, X5MeshContainer* container, const X5MeshContainer* second,
                     const X5MeshContainer* third, IDirect3DDevice9* device);
  void SetObjectConstants(IDirect3DDevice9* device);
  void SetMaterial(X5Frame* frame, X5MeshContainer* container, int material, IDirect3DDevice9* device);

  // The inflated X blocks `sources` points into.
  std::vector<std::unique_ptr<unsigned char[]>> inflated_;
};
