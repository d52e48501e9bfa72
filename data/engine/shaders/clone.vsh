vs_1_1
// Clone billboard: the clone's position goes to view space (c4..c7, the
// transposed view matrix), the corner moves across the view plane by
// (u - 0.5, 0.5 - v) x extent (c39.x; image rows run downwards), then the
// projection (c45..c48). The picture is a tile of the clone atlas: its
// coordinates are (u, v) x c40.zw + c40.xy. Fog is off where this is drawn.
dcl_position v0
dcl_normal v1
dcl_texcoord0 v2
def c95, 0.5, 1.0, 0.0, 0.0
m4x4 r0, v0, c4
add r1.xy, v2, -c95.x
mul r1.xy, r1, c39.x
add r0.x, r0.x, r1.x
add r0.y, r0.y, -r1.y
m4x4 oPos, r0, c45
mad oT0.xy, v2, c40.zw, c40.xy
mov oFog, c95.y
