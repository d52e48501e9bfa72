vs_1_1
// Bubble sprite: a vent point of one layer goes to view space through the
// layer's world x view matrix (c4..c7), its corner moves across the view
// plane by (u - 0.5, 0.5 - v) x the sprite's edge (1.2 units) x c39.x, then
// the projection (c45..c48). The sprites are added over the scene, so they
// do not take the fog's colour: their light (c39.y) fades over the fog's
// range instead, from c23 = (0, end, 1 / (end - start), 0); with no fog set
// (c23.z = 0) nothing fades.
dcl_position v0
dcl_normal v1
dcl_texcoord0 v2
def c95, 0.5, 1.0, 0.0, 1.2
m4x4 r0, v0, c4
add r1.xy, v2, -c95.x
mul r1.xy, r1, c95.w
mul r1.xy, r1, c39.x
add r0.x, r0.x, r1.x
add r0.y, r0.y, -r1.y
m4x4 oPos, r0, c45
// Distance from the eye in view space.
dp3 r2.x, r0, r0
rsq r2.y, r2.x
rcp r2.z, r2.y
mov r8, c23
add r3.x, r8.y, -r2.z
mul r3.x, r3.x, r8.z
mul r3.y, r8.z, r8.z
sge r3.y, -r3.y, c95.z
add r3.x, r3.x, r3.y
max r3.x, r3.x, c95.z
min r3.x, r3.x, c95.y
mul oD0, r3.x, c39.y
mov oT0.xy, v2
mov oFog, c95.y
