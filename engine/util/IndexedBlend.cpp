#include "IndexedBlend.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

namespace {

struct Influence {
  int32_t bone;
  float weight;
};

// Up to four influences per vertex, strongest first, summing to 1.
std::vector<std::vector<Influence>> VertexInfluences(uint32_t vertexCount, const std::vector<BoneWeights>& bones) {
  std::vector<std::vector<Influence>> perVertex(vertexCount);
  for (size_t b = 0; b < bones.size(); ++b) {
    const BoneWeights& bone = bones[b];
    const size_t n = std::min(bone.vertices.size(), bone.weights.size());
    for (size_t i = 0; i < n; ++i) {
      const uint32_t v = bone.vertices[i];
      const float w = bone.weights[i];
      if (v >= vertexCount || !(w > 0.0f) || !std::isfinite(w)) continue;
      perVertex[v].push_back(Influence{static_cast<int32_t>(b), w});
    }
  }
  for (auto& list : perVertex) {
    // Strongest first; equal weights by bone so the result does not depend
    // on the order the bones came in.
    std::sort(list.begin(), list.end(), [](const Influence& a, const Influence& b) {
      return a.weight != b.weight ? a.weight > b.weight : a.bone < b.bone;
    });
    if (list.size() > static_cast<size_t>(kMaxBlendInfluences)) list.resize(kMaxBlendInfluences);
    if (list.empty()) {
      list.push_back(Influence{0, 1.0f});
      continue;
    }
    float sum = 0.0f;
    for (const Influence& i : list) sum += i.weight;
    for (Influence& i : list) i.weight /= sum;
  }
  return perVertex;
}

// Adds bone to a sorted set; true when it was new.
bool Insert(std::vector<int32_t>* set, int32_t bone) {
  auto at = std::lower_bound(set->begin(), set->end(), bone);
  if (at != set->end() && *at == bone) return false;
  set->insert(at, bone);
  return true;
}

}  // namespace

bool BuildIndexedBlend(uint32_t vertexCount, const std::vector<BoneWeights>& bones, const uint32_t* indices,
                       const uint32_t* attributes, uint32_t faceCount, uint32_t paletteSize,
                       IndexedBlendMesh* out) {
  *out = IndexedBlendMesh{};
  if (bones.empty() || paletteSize == 0 || (faceCount > 0 && !indices)) return false;
  const auto influences = VertexInfluences(vertexCount, bones);

  // Usable faces, grouped by material in ascending order (stable).
  std::vector<uint32_t> faces;
  faces.reserve(faceCount);
  for (uint32_t f = 0; f < faceCount; ++f) {
    const uint32_t* tri = indices + size_t(f) * 3;
    if (tri[0] < vertexCount && tri[1] < vertexCount && tri[2] < vertexCount) faces.push_back(f);
  }
  auto attributeOf = [attributes](uint32_t f) { return attributes ? attributes[f] : 0u; };
  std::stable_sort(faces.begin(), faces.end(),
                   [&](uint32_t a, uint32_t b) { return attributeOf(a) < attributeOf(b); });

  // Greedy split: a face joins the open combination while the bones fit.
  struct Open {
    uint32_t attribute;
    std::vector<int32_t> bones;  // sorted
    std::vector<uint32_t> faces;
  };
  std::vector<Open> groups;
  for (uint32_t f : faces) {
    std::vector<int32_t> needed;
    for (int k = 0; k < 3; ++k)
      for (const Influence& i : influences[indices[size_t(f) * 3 + k]]) Insert(&needed, i.bone);
    if (needed.size() > paletteSize) {
      *out = IndexedBlendMesh{};
      return false;
    }
    bool fits = !groups.empty() && groups.back().attribute == attributeOf(f);
    if (fits) {
      std::vector<int32_t> merged = groups.back().bones;
      for (int32_t b : needed) Insert(&merged, b);
      fits = merged.size() <= paletteSize;
      if (fits) groups.back().bones.swap(merged);
    }
    if (!fits) groups.push_back(Open{attributeOf(f), needed, {}});
    groups.back().faces.push_back(f);
  }

  int most = 1;
  for (const Open& g : groups) {
    BlendCombination c;
    c.attribute = g.attribute;
    c.faceStart = static_cast<uint32_t>(out->indices.size() / 3);
    c.faceCount = static_cast<uint32_t>(g.faces.size());
    c.vertexStart = static_cast<uint32_t>(out->vertices.size());
    c.bones.assign(paletteSize, kNoBone);
    std::copy(g.bones.begin(), g.bones.end(), c.bones.begin());
    std::map<uint32_t, uint32_t> local;  // source vertex -> vertex of this combination
    for (uint32_t f : g.faces) {
      for (int k = 0; k < 3; ++k) {
        const uint32_t source = indices[size_t(f) * 3 + k];
        auto found = local.find(source);
        if (found == local.end()) {
          BlendVertex v{};
          v.source = source;
          const auto& list = influences[source];
          for (int s = 0; s < kMaxBlendInfluences; ++s) {
            const Influence& i = list[std::min<size_t>(s, list.size() - 1)];
            v.weights[s] = s < static_cast<int>(list.size()) ? i.weight : 0.0f;
            v.slots[s] = static_cast<uint8_t>(std::lower_bound(g.bones.begin(), g.bones.end(), i.bone) - g.bones.begin());
          }
          most = std::max(most, static_cast<int>(list.size()));
          found = local.emplace(source, static_cast<uint32_t>(out->vertices.size())).first;
          out->vertices.push_back(v);
        }
        out->indices.push_back(found->second);
      }
    }
    c.vertexCount = static_cast<uint32_t>(out->vertices.size()) - c.vertexStart;
    out->combinations.push_back(std::move(c));
  }
  out->influences = most;
  return true;
}

HRESULT ReadBoneWeights(ID3DXSkinInfo* skin, std::vector<BoneWeights>* bones) {
  bones->clear();
  if (!skin) return D3DERR_INVALIDCALL;
  const DWORD count = skin->GetNumBones();
  bones->resize(count);
  for (DWORD b = 0; b < count; ++b) {
    const DWORD n = skin->GetNumBoneInfluences(b);
    BoneWeights& bone = (*bones)[b];
    bone.vertices.resize(n);
    bone.weights.resize(n);
    if (n == 0) continue;
    HRESULT hr = skin->GetBoneInfluence(b, reinterpret_cast<DWORD*>(bone.vertices.data()), bone.weights.data());
    if (FAILED(hr)) return hr;
  }
  return 0;
}

HRESULT ReadMeshFaces(ID3DXMesh* mesh, std::vector<uint32_t>* indices, std::vector<uint32_t>* attributes) {
  const DWORD faces = mesh->GetNumFaces();
  indices->resize(size_t(faces) * 3);
  attributes->resize(faces);
  void* data = nullptr;
  HRESULT hr = mesh->LockIndexBuffer(D3DLOCK_READONLY, &data);
  if (FAILED(hr)) return hr;
  if (mesh->GetOptions() & D3DXMESH_32BIT) {
    std::memcpy(indices->data(), data, indices->size() * sizeof(uint32_t));
  } else {
    const auto* small = static_cast<const uint16_t*>(data);
    for (size_t i = 0; i < indices->size(); ++i) (*indices)[i] = small[i];
  }
  mesh->UnlockIndexBuffer();
  DWORD* ids = nullptr;
  hr = mesh->LockAttributeBuffer(D3DLOCK_READONLY, &ids);
  if (FAILED(hr)) return hr;
  std::memcpy(attributes->data(), ids, size_t(faces) * sizeof(DWORD));
  mesh->UnlockAttributeBuffer();
  return 0;
}
