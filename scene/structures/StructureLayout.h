#pragma once
// Where the enabled structures stand: in the small world one of them, drawn
// at random, at the origin; otherwise up to four of them as touching circles
// around the origin, each circle's radius taken from its footprint.
#include <d3dx9math.h>

#include <vector>

// Centre of a circle of radius c that touches the circles of radii a and b
// centred at (a, 0, 0) and (-b, 0, 0), on the +z side.
D3DXVECTOR3 HeronPoint(float a, float b, float c);

// Centres for circles of the given radii (one to four of them; more are not
// laid out and get no centre), the group centred on the origin.
std::vector<D3DXVECTOR3> LayoutStructureCentres(const std::vector<float>& radii);

// Layout radius of a structure: footprint x (1 + 0.5 u) + 10 v for two
// random draws u and v in [0, 1].
float StructureRadius(float footprint, float u, float v);

// Index among count enabled entries drawn from a random value r in [0, 1]:
// (int)(r x 100) mod count; -1 when count is 0.
int PickStructure(int count, float r);

constexpr int kMaxLaidOutStructures = 4;
