#pragma once
// Decisions of the plain sunken structures without a device: which textures
// a model brings, whether it takes the tangent-space path, the drawn copy of
// its mesh with tangents, the segments buried under the floor, and the light
// levels by the Lights setting.
#include <d3dx9math.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "X2PluginAbi.h"
#include "fog/SegmentPlan.h"

// Vertex formats of a structure mesh.
constexpr uint32_t kStructureFvfPlain = 0x112;   // 32 bytes: position, normal, texture
constexpr uint32_t kStructureFvfColour = 0x152;  // 44 bytes: position, normal, colour, texture

// The source vertex of the 0x152 format (44 bytes) and the drawn one with
// its tangent (56 bytes).
struct StructureSourceVertex {
  float position[3];
  float normal[3];
  float colour[3];
  float texture[2];
};
struct StructureDrawVertex {
  float position[3];
  float normal[3];
  float colour[3];
  float texture[2];
  float tangent[3];
};
static_assert(sizeof(StructureSourceVertex) == 44, "source vertex is 44 bytes");
static_assert(sizeof(StructureDrawVertex) == 56, "drawn vertex is 56 bytes");

// The texture entries a model brings, in order: its textureCount entries,
// plus the extra one when it has it; entries without data are left out, and
// none at all when the table is missing or its texture is a file name.
std::vector<const X2FishTexture*> StructureTextures(const X2FishModel& model);

// The tangent-space path needs a mesh of the 44-byte vertex (the one the
// drawn copy is made from) and the extra (relief) texture.
bool StructureUsesTangentPath(const X2FishModel& model);

// The mesh's vertices with tangents from their texture coordinates; empty
// unless the mesh is of the 44-byte vertex with vertices and indices.
std::vector<StructureDrawVertex> BuildStructureDrawVertices(const X2FishMesh& mesh);

// Sets hidden[i] for every segment whose sphere (carried by world, radius
// times scale) lies wholly under the floor: floorHeight(x, z) above centre
// y + r. Segments above it keep their flag.
void HideBuriedSegments(const std::vector<SegmentSphere>& spheres, const D3DXMATRIX& world, float scale,
                        const std::function<float(float, float)>& floorHeight, std::vector<uint32_t>* hidden);

// Pixel c0 (the caustic level) and c3 (the ambient level of the relief
// path) by the Lights setting (0..3; others count as 0).
float StructureCausticLevel(int lights);
float StructureAmbientLevel(int lights);

// The second mesh of a record with two or more models: the reader of old
// took the float at byte 96 of the model table (the second model's scale) as
// a mesh pointer when byte 140 had bit 0x2 set. Such records are only
// reported; true when the record asks for one.
bool StructureAsksForSecondMesh(const X2FishData& record);
