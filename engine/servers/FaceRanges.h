#pragma once
// Faces of a triangle list grouped by material, so each material's faces are
// drawn in one call of their own.
#include <d3dx9.h>

#include <cstdint>
#include <vector>

// Reorders the faces (three indices each) so that they run by ascending
// attribute, keeping their order within one attribute, and returns one
// range per attribute present: its faces and the span of vertices they use.
std::vector<D3DXATTRIBUTERANGE> SortFacesByAttribute(std::vector<uint32_t>* indices,
                                                     const std::vector<uint32_t>& attributes);
