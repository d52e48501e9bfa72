vs_1_1
// Sea floor for the fixed stages: each vertex lit by the sun (ambient c25
// plus diffuse c26 times the facing towards c24) and by the four fish
// lights (position in c29, c31, c33, c35, colour in the register after
// each), each weighted by its facing over the squared distance (at least 1).
// Stage 0 takes the floor coordinate, stage 1 (caustic) four times it.
dcl_position0 v0
dcl_normal0 v1
dcl_texcoord0 v3
def c95, 1.0, 0.0, 0.5, 4.0
m4x4 oPos, v0, c0
m3x3 r2.xyz, v1, c12
dp3 r2.w, r2, r2
rsq r2.w, r2.w
mul r2.xyz, r2, r2.w
m4x3 r7.xyz, v0, c12
// Sun.
dp3 r3.x, r2, c24
max r3.x, r3.x, c95.y
mov r4, c25
mad r4.xyz, c26, r3.x, r4
// Fish lights.
add r5.xyz, c29, -r7
dp3 r5.w, r5, r5
max r5.w, r5.w, c95.x
rsq r6.x, r5.w
mul r5.xyz, r5, r6.x
dp3 r6.y, r5, r2
max r6.y, r6.y, c95.y
rcp r6.z, r5.w
mul r6.y, r6.y, r6.z
mad r4.xyz, c30, r6.y, r4
add r5.xyz, c31, -r7
dp3 r5.w, r5, r5
max r5.w, r5.w, c95.x
rsq r6.x, r5.w
mul r5.xyz, r5, r6.x
dp3 r6.y, r5, r2
max r6.y, r6.y, c95.y
rcp r6.z, r5.w
mul r6.y, r6.y, r6.z
mad r4.xyz, c32, r6.y, r4
add r5.xyz, c33, -r7
dp3 r5.w, r5, r5
max r5.w, r5.w, c95.x
rsq r6.x, r5.w
mul r5.xyz, r5, r6.x
dp3 r6.y, r5, r2
max r6.y, r6.y, c95.y
rcp r6.z, r5.w
mul r6.y, r6.y, r6.z
mad r4.xyz, c34, r6.y, r4
add r5.xyz, c35, -r7
dp3 r5.w, r5, r5
max r5.w, r5.w, c95.x
rsq r6.x, r5.w
mul r5.xyz, r5, r6.x
dp3 r6.y, r5, r2
max r6.y, r6.y, c95.y
rcp r6.z, r5.w
mul r6.y, r6.y, r6.z
mad r4.xyz, c36, r6.y, r4
mov oD0.xyz, r4
mov oD0.w, c95.x
// Fog: (end - distance) / (end - start) from c23 = (0, end, 1 / (end - start), 0);
// with no fog set (c23.z = 0) the floor stays clear.
add r8.xyz, r7, -c22
dp3 r8.w, r8, r8
rsq r8.x, r8.w
rcp r8.w, r8.x
mov r9, c23
add r10.x, r9.y, -r8.w
mul r10.x, r10.x, r9.z
mul r10.y, r9.z, r9.z
sge r10.y, -r10.y, c95.y
add r10.x, r10.x, r10.y
max r10.x, r10.x, c95.y
min r10.x, r10.x, c95.x
mov oFog, r10.x
mov oT0.xy, v3
mul oT1.xy, v3, c95.w
