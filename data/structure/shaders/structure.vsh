vs_1_1
// Sunken structure, lit per vertex: ambient c25 plus diffuse c26 times the
// facing towards the sun (c24). Stage 0 takes the mesh's texture
// coordinate, stage 1 (caustic) the world x and z over four. Fog as the
// floor has it, from c22 (eye) and c23 = (0, end, 1 / (end - start), 0).
dcl_position0 v0
dcl_normal0 v1
dcl_texcoord0 v3
def c95, 1.0, 0.0, 0.5, 0.25
m4x4 oPos, v0, c0
m3x3 r2.xyz, v1, c12
dp3 r2.w, r2, r2
rsq r2.w, r2.w
mul r2.xyz, r2, r2.w
m4x3 r7.xyz, v0, c12
dp3 r3.x, r2, c24
max r3.x, r3.x, c95.y
mov r4, c25
mad r4.xyz, c26, r3.x, r4
mov oD0.xyz, r4
mov oD0.w, c95.x
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
mul oT1.xy, r7.xz, c95.w
