#pragma once
// The circular wander path, used by the ring wander when no structure
// brought rally points: radius 50 once round in about 19 minutes in the
// small world, else radius 100 through the origin once round in an hour.
#include <d3dx9math.h>

D3DXVECTOR3 RingOffset(float t, bool smallWorld);
// With the SmallWorld scene setting of the scene host.
D3DXVECTOR3 RingOffset(float t);
