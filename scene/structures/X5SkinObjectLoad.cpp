// X5SkinObject: reading X files into frame trees with meshes and animations.
#include <cstring>
#include <string>

#include "X5Animation.h"
#include "X5MeshContainer.h"
#include "X5ModelBounds.h"
#include "X5SkinObject.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "util/ComRelease.h"
#include "util/D3DXCompat.h"

namespace {

// Nesting deeper than this is taken for a broken file.
constexpr int kMaxDepth = 64;

std::string NameOf(ID3DXFileData* data) {
  SIZE_T size = 0;
  if (FAILED(data->GetName(nullptr, &size)) || size == 0) return std::string();
  std::string text(size, '\0');
  if (FAILED(data->GetName(&text[0], &size))) return std::string();
  text.resize(strlen(text.c_str()));
  return text;
}

bool IsType(ID3DXFileData* data, const GUID& wanted) {
  GUID type;
  return SUCCEEDED(data->GetType(&type)) && IsEqualGUID(type, wanted);
}

// Calls f(child) for each child that can be fetched; stops at the first
// failing result and returns it.
template <typename F>
HRESULT ForEachChild(ID3DXFileData* data, F f) {
  SIZE_T count = 0;
  if (FAILED(data->GetChildren(&count))) return 0;
  for (SIZE_T i = 0; i < count; ++i) {
    ID3DXFileData* raw = nullptr;
    if (FAILED(data->GetChild(i, &raw)) || !raw) continue;
    ComPtr<ID3DXFileData> child(raw);
    HRESULT hr = f(child.get());
    if (FAILED(hr)) return hr;
  }
  return 0;
}

// Locked bytes of a data object, unlocked at the end of the scope.
class LockedData {
 public:
  explicit LockedData(ID3DXFileData* data) : data_(data) {
    if (FAILED(data_->Lock(&size_, &bytes_))) {
      bytes_ = nullptr;
      size_ = 0;
    }
  }
  ~LockedData() {
    if (bytes_) data_->Unlock();
  }
  const void* Bytes() const { return bytes_; }
  size_t Size() const { return size_; }

 private:
  ID3DXFileData* data_;
  const void* bytes_ = nullptr;
  SIZE_T size_ = 0;
};

}  // namespace

HRESULT X5SkinObject::LoadXFile(const void* source, std::shared_ptr<X5LoadedModel>* out, bool fromMemory) {
  out->reset();
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!source || !device) return E_INVALIDARG;
  auto model = std::make_shared<X5LoadedModel>();
  if (!fromMemory) model->sourceName = static_cast<const char*>(source);

  ID3DXFile* rawFile = nullptr;
  HRESULT hr = CreateXFileWithTemplates(&rawFile);
  if (FAILED(hr)) return hr;
  ComPtr<ID3DXFile> file(rawFile);
  ID3DXFileEnumObject* rawEnum = nullptr;
  hr = file->CreateEnumObject(source, fromMemory ? D3DXF_FILELOAD_FROMMEMORY : D3DXF_FILELOAD_FROMFILE, &rawEnum);
  if (FAILED(hr)) return hr;
  ComPtr<ID3DXFileEnumObject> enumObject(rawEnum);

  SIZE_T count = 0;
  hr = enumObject->GetChildren(&count);
  if (FAILED(hr)) return hr;
  for (SIZE_T i = 0; i < count; ++i) {
    ID3DXFileData* raw = nullptr;
    if (FAILED(enumObject->GetChild(i, &raw)) || !raw) continue;
    ComPtr<ID3DXFileData> data(raw);
    hr = LoadDataObject(data.get(), model->root.get(), model.get(), device, 0);
    if (FAILED(hr)) return hr;  // the model and all under it go with it
  }
  LinkBones(model.get());
  hr = MeasureModel(model.get());
  if (FAILED(hr)) return hr;
  *out = std::move(model);
  return 0;
}

HRESULT X5SkinObject::LoadDataObject(ID3DXFileData* data, X5Frame* frame, X5LoadedModel* model,
                                     IDirect3DDevice9* device, int depth) {
  if (depth > kMaxDepth) return E_INVALIDARG;
  if (IsType(data, kXTemplateMesh)) return LoadMeshContainer(data, frame, device);
  if (IsType(data, kXTemplateFrameTransformMatrix)) {
    LockedData locked(data);
    if (locked.Size() < sizeof(D3DXMATRIX)) return E_INVALIDARG;
    std::memcpy(&frame->localMatrix, locked.Bytes(), sizeof(D3DXMATRIX));
    frame->restMatrix = frame->localMatrix;
    return 0;
  }
  if (IsType(data, kXTemplateAnimationSet)) return LoadAnimationSet(data, frame, model, device, depth);
  if (IsType(data, kXTemplateAnimation)) return LoadAnimation(data, frame, model, device, depth);
  if (IsType(data, kXTemplateFrame)) {
    auto* child = new X5Frame;
    child->name = NameOf(data);
    LogPrint("= Load Frame : %s\n", child->name.c_str());
    frame->AddChild(child);
    return ForEachChild(data, [&](ID3DXFileData* inner) {
      return LoadDataObject(inner, child, model, device, depth + 1);
    });
  }
  return 0;
}

HRESULT X5SkinObject::LoadAnimationSet(ID3DXFileData* data, X5Frame* frame, X5LoadedModel* model,
                                       IDirect3DDevice9* device, int depth) {
  auto* set = new X5Frame;
  set->isAnimationNode = true;
  set->name = NameOf(data);
  LogPrint("= LoadAnimationSet : %s\n", set->name.c_str());
  frame->AddChild(set);
  return ForEachChild(data, [&](ID3DXFileData* child) -> HRESULT {
    if (!IsType(child, kXTemplateAnimation)) return 0;
    return LoadAnimation(child, set, model, device, depth + 1);
  });
}

HRESULT X5SkinObject::LoadAnimation(ID3DXFileData* data, X5Frame* set, X5LoadedModel* model,
                                    IDirect3DDevice9* device, int depth) {
  auto* node = new X5Frame;
  node->isAnimationNode = true;
  node->name = NameOf(data);
  set->AddChild(node);
  node->nextAnimation = model->animations;
  model->animations = node;
  return ForEachChild(data, [&](ID3DXFileData* child) -> HRESULT {
    if (child->IsReference()) {
      if (!IsType(child, kXTemplateFrame)) return 0;
      const std::string target = NameOf(child);
      LogPrint("= LoadAnimation : %s\n", target.c_str());
      if (node->targetFrame || target.empty()) return E_INVALIDARG;
      node->targetFrame = model->root->Find(target.c_str());
      return node->targetFrame ? 0 : E_INVALIDARG;
    }
    if (IsType(child, kXTemplateFrame)) return LoadDataObject(child, node, model, device, depth + 1);
    if (IsType(child, kXTemplateAnimationKey)) {
      LockedData locked(child);
      return ReadAnimationKey(locked.Bytes(), locked.Size(), node);
    }
    return 0;  // AnimationOptions and anything else
  });
}

HRESULT X5SkinObject::LoadMeshContainer(ID3DXFileData* data, X5Frame* frame, IDirect3DDevice9* device) {
  LogPrint("Load Mesh\n");
  const std::string name = NameOf(data);
  LogPrint("= LoadMesh : %s\n", name.c_str());
  ID3DXBuffer *adjacency = nullptr, *materials = nullptr, *effects = nullptr;
  DWORD materialCount = 0;
  ID3DXSkinInfo* skin = nullptr;
  ID3DXMesh* mesh = nullptr;
  HRESULT hr = D3DXLoadSkinMeshFromXof(data, D3DXMESH_MANAGED, device, &adjacency, &materials, &effects,
                                       &materialCount, &skin, &mesh);
  ComPtr<ID3DXBuffer> adjacencyHeld(adjacency), materialsHeld(materials), effectsHeld(effects);
  if (hr == D3DXERR_LOADEDMESHASNODATA) {
    SafeRelease(skin);
    SafeRelease(mesh);
    return 0;
  }
  if (FAILED(hr) || !mesh) {
    SafeRelease(skin);
    SafeRelease(mesh);
    return FAILED(hr) ? hr : E_FAIL;
  }

  std::unique_ptr<X5MeshContainer> c(new X5MeshContainer);
  c->name = name;
  const DWORD faces = mesh->GetNumFaces();
  c->adjacency.assign(size_t(faces) * 3, 0xFFFFFFFFu);
  if (adjacency && adjacency->GetBufferSize() >= c->adjacency.size() * sizeof(DWORD))
    std::memcpy(c->adjacency.data(), adjacency->GetBufferPointer(), c->adjacency.size() * sizeof(DWORD));

  if (materials && materialCount > 0) {
    const auto* list = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer());
    for (DWORD m = 0; m < materialCount; ++m) {
      c->materials.push_back(list[m].MatD3D);
      const bool textured = list[m].pTextureFilename && list[m].pTextureFilename[0];
      c->textureIndex.push_back(textured ? 0 : kNoMaterialTexture);
    }
  } else {
    D3DMATERIAL9 grey{};
    grey.Diffuse = D3DCOLORVALUE{0.5f, 0.5f, 0.5f, 0.0f};
    grey.Specular = grey.Diffuse;
    c->materials.push_back(grey);
    c->textureIndex.push_back(0);
  }

  if (skin && skin->GetNumBones() > 0) {
    c->sourceMesh = mesh;
    c->skinInfo = skin;
    const DWORD bones = skin->GetNumBones();
    c->boneMatrixPointers.assign(bones, nullptr);
    c->boneOffsets.resize(bones);
    for (DWORD b = 0; b < bones; ++b) {
      const D3DXMATRIX* offset = skin->GetBoneOffsetMatrix(b);
      if (offset)
        c->boneOffsets[b] = *offset;
      else
        D3DXMatrixIdentity(&c->boneOffsets[b]);
    }
    hr = ConvertSkinned(c.get(), device);
    if (FAILED(hr)) return hr;
  } else {
    SafeRelease(skin);
    c->mesh = mesh;
    c->attributeCount = static_cast<int>(c->materials.size());
  }
  frame->AddMeshContainer(c.release());
  return 0;
}

void X5SkinObject::LinkBones(X5LoadedModel* model) {
  X5Frame* root = model->root.get();
  ForEachFrame(root, [root](X5Frame* frame) {
    for (auto& c : frame->meshContainers) {
      if (!c->IsSkinned()) continue;
      for (size_t b = 0; b < c->boneMatrixPointers.size(); ++b) {
        const char* boneName = c->skinInfo->GetBoneName(static_cast<DWORD>(b));
        X5Frame* bone = root->Find(boneName);
        c->boneMatrixPointers[b] = bone ? &bone->combinedMatrix : nullptr;
        if (!bone) LogPrint("KWEX bone without frame:%s\n", boneName ? boneName : "");
      }
    }
  });
}

HRESULT X5SkinObject::MeasureModel(X5LoadedModel* model) {
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  model->root->UpdateCombined(identity);
  std::vector<D3DXVECTOR3> points;
  HRESULT failure = 0;
  ForEachFrame(model->root.get(), [&](X5Frame* frame) {
    for (auto& c : frame->meshContainers) {
      ID3DXMesh* mesh = c->IsSkinned() ? c->sourceMesh : c->mesh;
      if (!mesh || failure) continue;
      const DWORD stride = mesh->GetNumBytesPerVertex();
      const DWORD count = mesh->GetNumVertices();
      void* vertices = nullptr;
      HRESULT hr = mesh->LockVertexBuffer(D3DLOCK_READONLY, &vertices);
      if (FAILED(hr)) {
        failure = hr;
        continue;
      }
      for (DWORD v = 0; v < count; ++v) {
        D3DXVECTOR3 p, placed;
        std::memcpy(&p, static_cast<const unsigned char*>(vertices) + size_t(v) * stride, sizeof p);
        points.push_back(*D3DXVec3TransformCoord(&placed, &p, &frame->combinedMatrix));
      }
      mesh->UnlockVertexBuffer();
    }
  });
  if (failure) return failure;
  const X5ModelBounds bounds = MeasurePoints(points);
  model->centre = bounds.centre;
  model->radius = bounds.radius;
  if (bounds.hasBox) {
    boxMin = bounds.boxMin;
    boxMax = bounds.boxMax;
    UpdateRadiusFromBox();
  }
  D3DXMatrixTranslation(&model->root->localMatrix, -bounds.centre.x, -bounds.centre.y, -bounds.centre.z);
  model->root->restMatrix = model->root->localMatrix;
  return 0;
}
