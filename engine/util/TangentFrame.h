#pragma once
// Per-vertex tangents of a textured mesh, computed by the program itself on
// every platform (the runtime's tangent computation is missing in some).
//
// Each triangle contributes the direction in which its first texture
// coordinate grows, weighted by the triangle's size in texture space; a
// vertex's sum is made perpendicular to its normal and normalised. A vertex
// whose triangles give no usable direction (no area in texture space, or a
// sum along the normal) gets a unit vector perpendicular to its normal.
#include <d3dx9.h>

#include <cstddef>
#include <cstdint>

// Byte offsets of the members a tangent needs inside one vertex.
struct TangentLayout {
  size_t stride;
  size_t position;  // FLOAT3
  size_t normal;    // FLOAT3
  size_t texture;   // FLOAT2
  size_t tangent;   // FLOAT3, written
};

// Writes the tangent of every vertex. Triangles are three indices each
// (16-bit or 32-bit, see the overloads); a triangle with an index past the
// last vertex is left out.
void ComputeTangents(void* vertices, uint32_t vertexCount, const TangentLayout& layout,
                     const uint16_t* indices, uint32_t triangleCount);
void ComputeTangents(void* vertices, uint32_t vertexCount, const TangentLayout& layout,
                     const uint32_t* indices, uint32_t triangleCount);

// Finds the layout in a vertex declaration: POSITION 0 and NORMAL 0 as
// FLOAT3, TEXCOORD 0 as FLOAT2, TANGENT 0 as FLOAT3, all in stream 0.
// False when one of them is missing or of another type.
bool FindTangentLayout(const D3DVERTEXELEMENT9* declaration, size_t stride, TangentLayout* layout);

// The mesh's tangents (the TANGENT 0 member of its declaration), from its
// positions, normals and first texture coordinates. D3DERR_INVALIDCALL when
// the declaration lacks a member; lock failures are returned as they come.
HRESULT ComputeMeshTangents(ID3DXMesh* mesh);
