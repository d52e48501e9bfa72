vs_1_1
// Wave: each vertex moves sideways along its normal by
//   s = sin(y / c45.y * 3.14 + c46.x) * c45.z
// x += s * normal.x, y -= 0.2 * s * normal.y; z and texture coordinate pass
// through, w = 1. The sine is a polynomial after reduction to [-pi, pi).
dcl_position v0
dcl_normal v1
dcl_texcoord0 v2
def c93, 0.15915494, 0.5, 6.2831853, -3.1415927
def c94, -0.000000025052108, 0.0000027557319, -0.0001984127, 0.0083333333
def c95, -0.16666667, 1.0, 3.14, 0.2
rcp r0.x, c45.y
mul r0.x, v0.y, r0.x
mul r0.x, r0.x, c95.z
add r0.x, r0.x, c46.x
mad r0.x, r0.x, c93.x, c93.y
expp r1.y, r0.x
mad r1.x, r1.y, c93.z, c93.w
mul r1.z, r1.x, r1.x
mad r2.x, r1.z, c94.x, c94.y
mad r2.x, r2.x, r1.z, c94.z
mad r2.x, r2.x, r1.z, c94.w
mad r2.x, r2.x, r1.z, c95.x
mad r2.x, r2.x, r1.z, c95.y
mul r2.x, r2.x, r1.x
mul r2.x, r2.x, c45.z
mad oPos.x, r2.x, v1.x, v0.x
mul r3.x, r2.x, c95.w
mad oPos.y, -r3.x, v1.y, v0.y
mov oPos.z, v0.z
mov oPos.w, c95.y
mov oT0.xy, v2
mov oFog, c95.y
