vs_1_1
// Sunken structure with relief: the way to the sun (c24) in the vertex's
// tangent frame (tangent, binormal = N x T, normal, all carried to world
// space) goes biased to 0.5 into the specular colour; the diffuse colour is
// white. Stages 0 and 2 take the mesh's texture coordinate, stage 1
// (caustic) the world x and z over four. Fog as the plain path has it.
dcl_position0 v0
dcl_normal0 v1
dcl_texcoord0 v3
dcl_tangent0 v4
def c95, 1.0, 0.0, 0.5, 0.25
m4x4 oPos, v0, c0
m3x3 r2.xyz, v1, c12
dp3 r2.w, r2, r2
rsq r2.w, r2.w
mul r2.xyz, r2, r2.w
m3x3 r3.xyz, v4, c12
dp3 r3.w, r3, r3
rsq r3.w, r3.w
mul r3.xyz, r3, r3.w
mul r4.xyz, r2.yzxw, r3.zxyw
mad r4.xyz, -r2.zxyw, r3.yzxw, r4
dp3 r5.x, c24, r3
dp3 r5.y, c24, r4
dp3 r5.z, c24, r2
mad oD1.xyz, r5, c95.z, c95.z
mov oD1.w, c95.x
mov oD0, c95.x
m4x3 r7.xyz, v0, c12
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
mov oT2.xy, v3
