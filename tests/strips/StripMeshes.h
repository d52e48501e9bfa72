#pragma once
// Index lists of test meshes for the strip builder.
#include <cstdint>
#include <vector>

namespace striptest {

using IndexList = std::vector<unsigned short>;

// A grid of columns x rows quads, two triangles each, all wound alike.
IndexList Grid(int columns, int rows);
// A closed tube of `rings` rings of `segments` vertices with a fan at each
// end, listed fan, then ring band after ring band: a list already in a good
// order for a vertex cache.
IndexList Tube(int rings, int segments);
// A closed cube: 8 corners, 12 outward triangles.
IndexList Cube();
// An icosahedron subdivided `levels` times (20 * 4^levels faces), closed and
// consistently wound, with shared vertices.
IndexList Sphere(int levels);
// `count` triangles of three distinct random vertices below vertexCount:
// mixed windings, edges on many faces, some duplicates.
IndexList RandomTriangles(uint32_t seed, int count, int vertexCount);
// A grid whose triangles are flipped (reversed winding) at random.
IndexList MixedWindingGrid(uint32_t seed, int columns, int rows);
// `pages` triangles that all share the edge (0, 1), alternately wound.
IndexList Book(int pages);
// The list's triangles shuffled, about dropPercent of them left out and
// flipPercent of them reversed.
IndexList Perturb(const IndexList& list, uint32_t seed, int dropPercent, int flipPercent);
// The list with every vertex index mapped to base + index * step.
IndexList Remap(const IndexList& list, int base, int step);

}  // namespace striptest
