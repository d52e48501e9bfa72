#include "StructureParts.h"

#include <cstring>

#include "util/TangentFrame.h"

std::vector<const X2FishTexture*> StructureTextures(const X2FishModel& model) {
  std::vector<const X2FishTexture*> out;
  if ((model.flags & X2_MODEL_TEXTURE_FILE) || !model.textures) return out;
  const uint32_t count = model.textureCount + (model.hasExtraTexture ? 1u : 0u);
  for (uint32_t i = 0; i < count; ++i)
    if (model.textures[i].data && model.textures[i].size > 0) out.push_back(&model.textures[i]);
  return out;
}

bool StructureUsesTangentPath(const X2FishModel& model) {
  const X2FishMesh* mesh = model.baseMesh;
  if (!mesh || mesh->fvf != kStructureFvfColour || mesh->stride != sizeof(StructureSourceVertex)) return false;
  if (!model.hasExtraTexture || (model.flags & X2_MODEL_TEXTURE_FILE) || !model.textures) return false;
  // Texture 1 is what stage 2 draws: both it and the extra one must be there.
  return StructureTextures(model).size() >= 2 && model.textures[model.textureCount].data != nullptr;
}

std::vector<StructureDrawVertex> BuildStructureDrawVertices(const X2FishMesh& mesh) {
  std::vector<StructureDrawVertex> out;
  if (mesh.fvf != kStructureFvfColour || mesh.stride != sizeof(StructureSourceVertex) || !mesh.vertices ||
      mesh.vertexCount == 0 || !mesh.indices || mesh.primitiveCount == 0)
    return out;
  out.resize(mesh.vertexCount);
  const auto* source = static_cast<const unsigned char*>(mesh.vertices);
  for (uint32_t v = 0; v < mesh.vertexCount; ++v) {
    std::memcpy(&out[v], source + size_t(v) * sizeof(StructureSourceVertex), sizeof(StructureSourceVertex));
    out[v].tangent[0] = out[v].tangent[1] = out[v].tangent[2] = 0.0f;
  }
  const TangentLayout layout{sizeof(StructureDrawVertex), offsetof(StructureDrawVertex, position),
                             offsetof(StructureDrawVertex, normal), offsetof(StructureDrawVertex, texture),
                             offsetof(StructureDrawVertex, tangent)};
  ComputeTangents(out.data(), mesh.vertexCount, layout, mesh.indices, mesh.primitiveCount);
  return out;
}

void HideBuriedSegments(const std::vector<SegmentSphere>& spheres, const D3DXMATRIX& world, float scale,
                        const std::function<float(float, float)>& floorHeight, std::vector<uint32_t>* hidden) {
  hidden->resize(spheres.size(), 0u);
  for (size_t i = 0; i < spheres.size(); ++i) {
    D3DXVECTOR3 c;
    D3DXVec3TransformCoord(&c, &spheres[i].centre, &world);
    const float r = spheres[i].radius * scale;
    if (floorHeight(c.x, c.z) > c.y + r) (*hidden)[i] = 1u;
  }
}

float StructureCausticLevel(int lights) {
  static const float kLevels[4] = {0.4f, 0.2f, 0.1f, 0.5f};
  return kLevels[lights >= 0 && lights < 4 ? lights : 0];
}

float StructureAmbientLevel(int lights) {
  static const float kLevels[4] = {0.5f, 0.4f, 0.3f, 0.2f};
  return kLevels[lights >= 0 && lights < 4 ? lights : 0];
}

bool StructureAsksForSecondMesh(const X2FishData& record) {
  if (record.modelCount < 2 || !record.model) return false;
  // Byte 140 of the 32-bit model table is the low byte of the second
  // model's parts pointer.
  const auto parts = reinterpret_cast<uintptr_t>(record.model[1].parts);
  return (parts & 0x2u) != 0;
}
