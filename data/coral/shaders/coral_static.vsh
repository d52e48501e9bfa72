vs_1_1
// Coral piece without key frames: lit by the sun (twice the diffuse level
// times the facing towards c24, plus the ambient level), the caustic laid
// over it from above along the world position.
dcl_position0 v0
dcl_normal0 v1
dcl_texcoord0 v2
def c95, 1.0, 0.0, 0.2, 2.0
m4x4 oPos, v0, c0
m4x3 r5.xyz, v0, c12
m3x3 r2.xyz, v1, c12
dp3 r2.w, r2, r2
rsq r2.w, r2.w
mul r2.xyz, r2, r2.w
// Sun: 2 x saturate(normal . light) x diffuse + ambient.
dp3 r3.x, r2, c24
max r3.x, r3.x, c95.y
min r3.x, r3.x, c95.x
mul r3.x, r3.x, c95.w
mov r4, c25
mad r4.xyz, c26, r3.x, r4
mov oD0.xyz, r4
mov oD0.w, c95.x
// Fog: (end - distance) / (end - start) from c23 = (0, end, 1 / (end - start), 0);
// with no fog set (c23.z = 0) the piece stays clear.
add r6.xyz, r5, -c22
dp3 r6.w, r6, r6
rsq r6.x, r6.w
rcp r6.w, r6.x
mov r8, c23
add r7.x, r8.y, -r6.w
mul r7.x, r7.x, r8.z
mul r7.y, r8.z, r8.z
sge r7.y, -r7.y, c95.y
add r7.x, r7.x, r7.y
max r7.x, r7.x, c95.y
min r7.x, r7.x, c95.x
mov oFog, r7.x
// Skin as given; caustic at 0.2 (x + y), 0.2 (z + y).
mov oT0.xy, v2
add r9.x, r5.x, r5.y
add r9.y, r5.z, r5.y
mul oT1.xy, r9.xy, c95.z
